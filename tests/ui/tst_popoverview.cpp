#include "CollectionJson.h"
#include "PopoverView.h"
#include "TrackerHarness.h"
#include "activity/ActivityTab.h"
#include "kit/CrossFade.h"
#include "kit/Motion.h"
#include "kit/Palette.h"
#include "kit/TabButton.h"
#include "settab/SetCircle.h"
#include "settab/SetTab.h"
#include "settings/SettingsTab.h"

#include <QAbstractButton>
#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QVariantAnimation>
#include <initializer_list>
#include <memory>

// The panel's root on a real model in a temporary home: header, tab bar and tab switching.
class PopoverViewTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void launchShowsTheSetTab();
    void tabButtonsSelectTheirTab_data();
    void tabButtonsSelectTheirTab();
    void selectionSurvivesHideAndShow();
    void outOfRangeIndexShowsTheSetTab_data();
    void outOfRangeIndexShowsTheSetTab();
    void tabChangeAnimatesIconsAndContentTogether();
    void headerStaysWhileContentScrolls();
    void scrollingTabsFitThePanelWidth();
    void tabButtonsWorkFromTheKeyboard();
    void circleStateLivesInTheView();
    void checkForUpdatesIsForwarded();

private:
    TabButton* button(const char* objectName) const;
    QWidget* shownPage() const;

    std::unique_ptr<TrackerHarness> m_harness;
    std::unique_ptr<TrackerState> m_state;
    std::unique_ptr<PopoverView> m_view;
};

void PopoverViewTest::initTestCase() {
    PopoverView::tabTransitionMs = 0;
    SetCircle::completingSpring.response = 0;
}

void PopoverViewTest::init() {
    m_harness = std::make_unique<TrackerHarness>();
    // A long history, so that the activity tab has to scroll.
    QList<CompletedSet> history;
    for (int set = 0; set < TrackerState::historyLimit; ++set)
        history.append(
            {QUuid::createUuid(), m_harness->clock.addSecs(-60 * set), 10, QStringLiteral("Pushups")});
    m_harness->seedStore("totalRequests=50\npendingSets=2\ncompletedHistory=" +
                         TrackerHarness::iniBytes(CollectionJson::encodeHistory(history)));
    m_state = m_harness->makeModel();
    m_view = std::make_unique<PopoverView>(*m_state, LaunchAtLoginBinding{[] { return false; }, [](bool) {}});
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
}

void PopoverViewTest::cleanup() {
    PopoverView::tabTransitionMs = 0;
    m_view.reset();
    m_state.reset();
    m_harness.reset();
}

TabButton* PopoverViewTest::button(const char* objectName) const {
    return m_view->findChild<TabButton*>(QLatin1String(objectName));
}

QWidget* PopoverViewTest::shownPage() const {
    return m_view->findChild<QStackedWidget*>(QStringLiteral("tabContent"))->currentWidget();
}

void PopoverViewTest::launchShowsTheSetTab() {
    QCOMPARE(m_view->selectedTab(), 0);
    QCOMPARE(m_view->width(), PopoverView::panelWidth);
    QVERIFY(m_view->findChild<SetTab*>()->isVisible());
    QCOMPARE(button("setTabButton")->shownColour(), Palette::accentCyan);
    QCOMPARE(button("activityTabButton")->shownColour(), Palette::mutedGrey);
    QCOMPARE(button("settingsTabButton")->shownColour(), Palette::mutedGrey);
    QCOMPARE(button("setTabButton")->accessibleName(), QStringLiteral("Set"));
    QCOMPARE(button("activityTabButton")->accessibleName(), QStringLiteral("Activity"));
    QCOMPARE(button("settingsTabButton")->accessibleName(), QStringLiteral("Settings"));
    QCOMPARE(m_view->lastCompletedIndex(), std::nullopt);
}

void PopoverViewTest::tabButtonsSelectTheirTab_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("page");
    QTest::newRow("activity") << QStringLiteral("activityTabButton") << 1 << QStringLiteral("activityScroll");
    QTest::newRow("settings") << QStringLiteral("settingsTabButton") << 2 << QStringLiteral("settingsScroll");
    QTest::newRow("set") << QStringLiteral("setTabButton") << 0 << QStringLiteral("setTab");
}

void PopoverViewTest::tabButtonsSelectTheirTab() {
    QFETCH(QString, button);
    QFETCH(int, tab);
    QFETCH(QString, page);
    if (tab == 0)
        m_view->selectTab(2); // so that the set tab button has something to change
    QSignalSpy changed(m_view.get(), &PopoverView::selectedTabChanged);
    QTest::mouseClick(m_view->findChild<TabButton*>(button), Qt::LeftButton);
    QCOMPARE(m_view->selectedTab(), tab);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(shownPage()->objectName(), page);
    const QList<TabButton*> buttons = m_view->findChildren<TabButton*>();
    QCOMPARE(buttons.size(), 3);
    for (TabButton* each : buttons)
        QCOMPARE(each->shownColour(),
                 each->objectName() == button ? Palette::accentCyan : Palette::mutedGrey);
}

void PopoverViewTest::selectionSurvivesHideAndShow() {
    QTest::mouseClick(button("activityTabButton"), Qt::LeftButton);
    m_view->hide();
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    QCOMPARE(m_view->selectedTab(), 1);
    QVERIFY(m_view->findChild<ActivityTab*>()->isVisible());
    QVERIFY(!m_view->findChild<SetTab*>()->isVisible());
    QCOMPARE(button("activityTabButton")->shownColour(), Palette::accentCyan);
}

void PopoverViewTest::outOfRangeIndexShowsTheSetTab_data() {
    QTest::addColumn<int>("index");
    QTest::newRow("3") << 3;
    QTest::newRow("-1") << -1;
    QTest::newRow("large") << 1000;
}

void PopoverViewTest::outOfRangeIndexShowsTheSetTab() {
    QFETCH(int, index);
    m_view->selectTab(1);
    m_view->selectTab(index);
    QCOMPARE(m_view->selectedTab(), index);
    QCOMPARE(shownPage()->objectName(), QStringLiteral("setTab"));
    QVERIFY(m_view->findChild<SetTab*>()->isVisible());
    const QList<TabButton*> buttons = m_view->findChildren<TabButton*>();
    for (TabButton* each : buttons)
        QCOMPARE(each->shownColour(), Palette::mutedGrey);
}

void PopoverViewTest::tabChangeAnimatesIconsAndContentTogether() {
    PopoverView::tabTransitionMs = 150;
    auto* crossFade = m_view->findChild<CrossFade*>();
    QVERIFY(crossFade);
    m_view->selectTab(2);
    // The new content is in place at once, the old one fading out above it, the icons on their way.
    QCOMPARE(m_view->selectedTab(), 2);
    QCOMPARE(shownPage()->objectName(), QStringLiteral("settingsScroll"));
    QVERIFY(crossFade->isRunning());
    QVERIFY(crossFade->isVisible());
    TabButton* set = button("setTabButton");
    TabButton* activity = button("activityTabButton");
    TabButton* settings = button("settingsTabButton");
    for (QObject* animated : std::initializer_list<QObject*>{set, settings, crossFade}) {
        const auto* animation = animated->findChild<QVariantAnimation*>();
        QCOMPARE(animation->duration(), 150);
        QCOMPARE(animation->easingCurve(), Motion::easeInOut());
        QCOMPARE(animation->state(), QAbstractAnimation::Running);
    }
    // The fade ends with the icons in their final colours and the snapshot gone.
    QTRY_VERIFY(!crossFade->isRunning());
    QVERIFY(!crossFade->isVisible());
    QCOMPARE(set->shownColour(), Palette::mutedGrey);
    QCOMPARE(settings->shownColour(), Palette::accentCyan);
    QCOMPARE(activity->shownColour(), Palette::mutedGrey);
}

void PopoverViewTest::headerStaysWhileContentScrolls() {
    auto* header = m_view->findChild<QWidget*>(QStringLiteral("header"));
    const QRect headerBefore = header->geometry();
    QCOMPARE(headerBefore.top(), 0);
    for (const int tab : {1, 2}) {
        m_view->selectTab(tab);
        auto* area = qobject_cast<QScrollArea*>(shownPage());
        QVERIFY(area);
        QCOMPARE(area->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
        QTRY_VERIFY(area->verticalScrollBar()->maximum() > 0);
        area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
        QVERIFY(area->widget()->y() < 0);           // the content moved up beneath the header...
        QCOMPARE(header->geometry(), headerBefore); // ...which stayed where it was
        QVERIFY(area->mapTo(m_view.get(), QPoint(0, 0)).y() > headerBefore.bottom());
    }
}

// Nothing may stick out sideways: the scroll areas only scroll vertically, so a tab wider than
// its viewport would lose its right padding and clip its content.
void PopoverViewTest::scrollingTabsFitThePanelWidth() {
    for (const int tab : {1, 2}) {
        m_view->selectTab(tab);
        auto* area = qobject_cast<QScrollArea*>(shownPage());
        QVERIFY(area);
        QTRY_VERIFY(area->verticalScrollBar()->maximum() > 0);
        QVERIFY2(area->widget()->width() <= area->viewport()->width(),
                 qPrintable(QStringLiteral("tab %1 is %2 wide in a %3 wide viewport")
                                .arg(tab)
                                .arg(area->widget()->width())
                                .arg(area->viewport()->width())));
    }
}

void PopoverViewTest::tabButtonsWorkFromTheKeyboard() {
    m_view->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
    button("setTabButton")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), button("activityTabButton"));
    QTest::keyClick(button("activityTabButton"), Qt::Key_Space);
    QCOMPARE(m_view->selectedTab(), 1);
}

void PopoverViewTest::circleStateLivesInTheView() {
    QSignalSpy changed(m_view.get(), &PopoverView::lastCompletedIndexChanged);
    QCOMPARE(m_state->pendingSets(), qint64(2));
    QTest::mouseClick(m_view->findChild<SetCircle*>(QStringLiteral("setCircle1")), Qt::LeftButton);
    QCOMPARE(m_view->lastCompletedIndex(), std::optional<int>(1));
    m_view->hide();
    QCOMPARE(m_view->lastCompletedIndex(), std::optional<int>(1));
    QTRY_COMPARE(m_view->lastCompletedIndex(), std::nullopt);
    QCOMPARE(changed.size(), 2);
    QCOMPARE(m_state->pendingSets(), qint64(1));
}

void PopoverViewTest::checkForUpdatesIsForwarded() {
    QSignalSpy requested(m_view.get(), &PopoverView::checkForUpdatesRequested);
    m_view->selectTab(2);
    auto* check = m_view->findChild<QAbstractButton*>(QStringLiteral("checkForUpdatesButton"));
    QVERIFY(check);
    check->click();
    QCOMPARE(requested.size(), 1);
}

QTEST_MAIN(PopoverViewTest)
#include "tst_popoverview.moc"
