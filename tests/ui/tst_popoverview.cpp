#include "TrackerHarness.h"
#include "model/CollectionJson.h"
#include "ui/PopoverView.h"
#include "ui/kit/CrossFade.h"
#include "ui/kit/Motion.h"
#include "ui/kit/Palette.h"
#include "ui/kit/TabButton.h"
#include "ui/settab/SetCircle.h"
#include "ui/settab/SetTab.h"

#include <QAbstractButton>
#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QVariantAnimation>
#include <memory>

// The panel's root on a real model in a temporary home: header, tab bar and tab switching.
class PopoverViewTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TrackerHarness> m_harness;
    std::unique_ptr<TrackerState> m_state;
    std::unique_ptr<PopoverView> m_view;

    TabButton* tabButton(const QString& name) const { return m_view->findChild<TabButton*>(name); }
    QWidget* shownPage() const {
        return m_view->findChild<QStackedWidget*>(QStringLiteral("tabContent"))->currentWidget();
    }
    // The tab buttons drawn cyan; any caught between grey and cyan show as "?".
    QStringList cyanButtons() const {
        QStringList cyan;
        for (const TabButton* each : m_view->findChildren<TabButton*>()) {
            if (each->shownColour() != Palette::mutedGrey) {
                cyan.append(each->shownColour() == Palette::accentCyan ? each->objectName()
                                                                       : QStringLiteral("?"));
            }
        }
        return cyan;
    }

private Q_SLOTS:
    void init() {
        Motion::setEnabled(false);
        m_harness = std::make_unique<TrackerHarness>();
        // A full history, so that the activity tab has to scroll.
        const QList<CompletedSet> history = TrackerHarness::sampleHistory(50, m_harness->clock);
        m_harness->seedStore("totalRequests=50\npendingSets=2\ncompletedHistory=" +
                             TrackerHarness::iniBytes(CollectionJson::encodeHistory(history)));
        m_state = m_harness->makeModel();
        m_view =
            std::make_unique<PopoverView>(*m_state, LaunchAtLoginBinding{[] { return false; }, [](bool) {}});
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }

    void cleanup() {
        m_view.reset();
        m_state.reset();
        m_harness.reset();
    }

    void tabButtonsSelectTheirTab_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("page");
        QTest::newRow("activity") << "activityTabButton" << 1 << "activityScroll";
        QTest::newRow("set") << "setTabButton" << 0 << "setTab";
    }

    // The panel opens on the set tab; the selection outlives hiding the panel.
    void tabButtonsSelectTheirTab() {
        QFETCH(QString, button);
        QFETCH(int, tab);
        QCOMPARE(m_view->selectedTab(), 0);
        QCOMPARE(cyanButtons(), QStringList{QStringLiteral("setTabButton")});
        if (tab == 0) {
            m_view->selectTab(2); // so that the set tab button has something to change
        }
        QSignalSpy changed(m_view.get(), &PopoverView::selectedTabChanged);
        QTest::mouseClick(tabButton(button), Qt::LeftButton);
        m_view->hide();
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
        QCOMPARE(m_view->selectedTab(), tab);
        QCOMPARE(changed.size(), 1);
        QTEST(shownPage()->objectName(), "page");
        QCOMPARE(cyanButtons(), QStringList{button});
        QVERIFY(!tabButton(button)->accessibleName().isEmpty());
    }

    void outOfRangeIndexShowsTheSetTab() {
        m_view->selectTab(1);
        m_view->selectTab(3);
        QCOMPARE(m_view->selectedTab(), 3);
        QVERIFY(m_view->findChild<SetTab*>()->isVisible());
        QCOMPARE(cyanButtons(), QStringList());
    }

    // The new content is in place at once, the old one fading out above it, the icons on their way.
    void tabChangeFadesContentAndIconsTogether() {
        Motion::setEnabled(true);
        auto* crossFade = m_view->findChild<CrossFade*>();
        m_view->selectTab(2);
        QCOMPARE(shownPage()->objectName(), QStringLiteral("settingsScroll"));
        QVERIFY(crossFade->isRunning());
        QVERIFY(crossFade->isVisible());
        QCOMPARE(tabButton(QStringLiteral("settingsTabButton"))->findChild<QVariantAnimation*>()->state(),
                 QAbstractAnimation::Running);
        QTRY_VERIFY(!crossFade->isRunning());
        QVERIFY(!crossFade->isVisible());
        QCOMPARE(cyanButtons(), QStringList{QStringLiteral("settingsTabButton")});
    }

    // Nothing may stick out sideways either: the scroll areas only scroll vertically, so a tab
    // wider than its viewport would lose its right padding and clip its content.
    void headerStaysWhileNarrowContentScrolls() {
        auto* header = m_view->findChild<QWidget*>(QStringLiteral("header"));
        const QRect headerBefore = header->geometry();
        for (const int tab : {1, 2}) {
            m_view->selectTab(tab);
            auto* area = qobject_cast<QScrollArea*>(shownPage());
            QVERIFY(area);
            QTRY_VERIFY(area->verticalScrollBar()->maximum() > 0);
            QVERIFY(area->widget()->width() <= area->viewport()->width());
            area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
            QVERIFY(area->widget()->y() < 0);           // the content moved up beneath the header...
            QCOMPARE(header->geometry(), headerBefore); // ...which stayed where it was
            QVERIFY(area->mapTo(m_view.get(), QPoint(0, 0)).y() > headerBefore.bottom());
        }
    }

    void tabButtonsWorkFromTheKeyboard() {
        m_view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
        tabButton(QStringLiteral("setTabButton"))->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), tabButton(QStringLiteral("activityTabButton")));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(m_view->selectedTab(), 1);
    }

    void circleStateLivesInTheView() {
        QSignalSpy changed(m_view.get(), &PopoverView::lastCompletedIndexChanged);
        QTest::mouseClick(m_view->findChild<SetCircle*>(QStringLiteral("setCircle1")), Qt::LeftButton);
        m_view->hide();
        QCOMPARE(m_view->lastCompletedIndex(), std::optional<int>(1));
        QTRY_COMPARE(changed.size(), 2);
        QCOMPARE(m_view->lastCompletedIndex(), std::nullopt);
        QCOMPARE(m_state->pendingSets(), qint64(1));
    }

    void checkForUpdatesIsForwarded() {
        QSignalSpy requested(m_view.get(), &PopoverView::checkForUpdatesRequested);
        m_view->selectTab(2);
        QTest::mouseClick(m_view->findChild<QAbstractButton*>(QStringLiteral("checkForUpdatesButton")),
                          Qt::LeftButton);
        QCOMPARE(requested.size(), 1);
    }
};

QTEST_MAIN(PopoverViewTest)
#include "tst_popoverview.moc"
