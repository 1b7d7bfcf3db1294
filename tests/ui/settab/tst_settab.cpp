#include "TrackerHarness.h"
#include "ui/kit/Motion.h"
#include "ui/kit/Palette.h"
#include "ui/kit/PanelLabel.h"
#include "ui/settab/OverflowCircle.h"
#include "ui/settab/OwedCard.h"
#include "ui/settab/ProgressBar.h"
#include "ui/settab/PromptCountView.h"
#include "ui/settab/SetCircle.h"
#include "ui/settab/SetCompletion.h"
#include "ui/settab/SetTab.h"

#include <QApplication>
#include <QTest>
#include <memory>

namespace {
// White and grey digits on the dark panel: whether any pixel of column x is light.
bool hasInkInColumn(const QImage& image, int x) {
    for (int y = 0; y < image.height(); ++y) {
        if (qRed(image.pixel(x, y)) > 128) {
            return true;
        }
    }
    return false;
}
} // namespace

// The set tab on a real model in a temporary home. Animations jump to their end unless a test
// is about one; the 0.35 s completion delay is always real.
class SetTabTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TrackerHarness> m_harness;
    std::unique_ptr<TrackerState> m_state;
    std::unique_ptr<SetCompletion> m_completion;
    std::unique_ptr<SetTab> m_tab;

    // A model holding these counters, and the set tab showing it.
    void open(qint64 totalRequests, qint64 pendingSets) {
        m_harness = std::make_unique<TrackerHarness>();
        m_harness->seedStore(
            QStringLiteral("totalRequests=%1\npendingSets=%2").arg(totalRequests).arg(pendingSets).toUtf8());
        m_state = m_harness->makeModel();
        m_completion = std::make_unique<SetCompletion>(*m_state);
        m_tab = std::make_unique<SetTab>(*m_state, *m_completion);
        QPalette panel = m_tab->palette();
        panel.setColor(QPalette::Window, Palette::panelBackground);
        m_tab->setPalette(panel);
        m_tab->resize(280, 460);
        m_tab->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_tab.get()));
    }
    template <typename T> T* child(const QString& name) const { return m_tab->findChild<T*>(name); }
    SetCircle* circle(int index) const { return child<SetCircle>(QStringLiteral("setCircle%1").arg(index)); }
    QString owedHeader() const { return child<PanelLabel>(QStringLiteral("owedHeader"))->text(); }
    QList<SetCircle*> visibleCircles() const {
        QList<SetCircle*> visible = m_tab->findChildren<SetCircle*>();
        visible.removeIf([this](const SetCircle* circle) { return !circle->isVisibleTo(m_tab.get()); });
        return visible;
    }

private Q_SLOTS:
    void init() { Motion::setEnabled(false); }

    void cleanup() {
        m_tab.reset();
        m_completion.reset();
        m_state.reset();
        m_harness.reset();
    }

    void progressCardShowsTheModel_data() {
        QTest::addColumn<qint64>("totalRequests");
        QTest::addColumn<qint64>("promptLimit");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("status");
        QTest::addColumn<double>("fraction");
        QTest::newRow("fresh") << qint64(0) << qint64(10) << "0"
                               << "WAITING FOR PROMPTS" << 0.0;
        QTest::newRow("29 is 9 of 10") << qint64(29) << qint64(10) << "9"
                                       << "1 UNTIL NEXT SET" << 0.9;
        QTest::newRow("limit 0 waits") << qint64(7) << qint64(0) << "0"
                                       << "WAITING FOR PROMPTS" << 0.0;
    }

    void progressCardShowsTheModel() {
        QFETCH(qint64, totalRequests);
        QFETCH(qint64, promptLimit);
        open(totalRequests, 0);
        m_state->setPromptLimit(promptLimit);
        const auto* countView = child<PromptCountView>(QStringLiteral("promptCount"));
        QTEST(countView->countText(), "count");
        QCOMPARE(countView->limitText(), QStringLiteral("/%1").arg(promptLimit));
        QTEST(child<PanelLabel>(QStringLiteral("statusLine"))->text(), "status");
        QTEST(child<ProgressBar>(QStringLiteral("progressBar"))->shownFraction(), "fraction");
    }

    // A spring under- or overshoots its target; the fill must still stay inside the track.
    void fillStaysInsideTheTrack() {
        QCOMPARE(ProgressBar::fillWidth(200, -0.02), 0.0);
        QCOMPARE(ProgressBar::fillWidth(200, 1.05), 200.0);
    }

    void owedCardFollowsPendingSets_data() {
        QTest::addColumn<qint64>("pendingSets");
        QTest::addColumn<QString>("header");
        QTest::addColumn<int>("circles");
        QTest::newRow("0") << qint64(0) << QString() << 0;
        QTest::newRow("1") << qint64(1) << "1 SET OWED" << 1;
        QTest::newRow("4") << qint64(4) << "4 SETS OWED" << 4;
        QTest::newRow("1000004") << qint64(1000004) << "1000004 SETS OWED" << 4;
    }

    void owedCardFollowsPendingSets() {
        QFETCH(qint64, pendingSets);
        QFETCH(int, circles);
        open(pendingSets * 10, pendingSets);
        QCOMPARE(child<OwedCard>(QStringLiteral("owedCard"))->isVisible(), pendingSets >= 1);
        if (pendingSets >= 1) {
            QTEST(owedHeader(), "header");
        }
        const QList<SetCircle*> shown = visibleCircles();
        QCOMPARE(shown.size(), circles);
        for (int index = 0; index < shown.size(); ++index) {
            QCOMPARE(shown[index]->accessibleName(), QStringLiteral("Complete set %1").arg(index + 1));
        }
        const auto* overflow = child<OverflowCircle>(QStringLiteral("overflowCircle"));
        QCOMPARE(overflow->isVisibleTo(m_tab.get()), pendingSets > 4);
        if (pendingSets > 4) {
            QCOMPARE(overflow->text(), QStringLiteral("+%1").arg(pendingSets - 4));
            QVERIFY(QFontMetricsF(overflow->textFont()).horizontalAdvance(overflow->text()) <=
                    overflow->width());
        }
    }

    void lastPromptOfASetWrapsToEmpty() {
        open(9, 0);
        m_state->recordPrompt();
        QCOMPARE(child<PromptCountView>(QStringLiteral("promptCount"))->countText(), QStringLiteral("0"));
        QCOMPARE(child<ProgressBar>(QStringLiteral("progressBar"))->shownFraction(), 0.0);
        QCOMPARE(owedHeader(), QStringLiteral("1 SET OWED"));
    }

    // Digits must show, but none may touch either edge; the count is fitted again when its width
    // changes, not only when its values do.
    void longCountIsFittedNotClipped() {
        open(123456, 0);
        m_state->setPromptLimit(1000000);
        auto* countView = child<PromptCountView>(QStringLiteral("promptCount"));
        const qreal wideScale = countView->fitScale();
        QVERIFY(wideScale < 1);
        for (const bool narrowed : {false, true}) {
            if (narrowed) {
                countView->setMinimumWidth(0);
                countView->setFixedWidth(countView->width() / 2);
                QTRY_COMPARE(countView->width(), countView->maximumWidth());
                QVERIFY(countView->fitScale() < wideScale);
            }
            const QImage image = countView->grab().toImage().convertToFormat(QImage::Format_RGB32);
            QVERIFY(hasInkInColumn(image, image.width() / 2));
            QVERIFY(!hasInkInColumn(image, 0));
            QVERIFY(!hasInkInColumn(image, image.width() - 1));
        }
    }

    // Reached by the keyboard as well as the pointer; cleared 0.35 s after the tap.
    void tappingTheSecondOfThreeClearsOneSet() {
        open(30, 3);
        m_tab->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_tab.get()));
        circle(0)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), circle(1));
        QTest::keyClick(circle(1), Qt::Key_Space);
        QCOMPARE(m_completion->lastCompletedIndex(), std::optional<int>(1));
        QCOMPARE(circle(1)->look(), SetCircle::Look::Completing);
        QCOMPARE(circle(0)->look(), SetCircle::Look::Idle);
        QCoreApplication::processEvents();
        QCOMPARE(m_state->pendingSets(), qint64(3)); // not before the delay

        QTRY_COMPARE(m_state->pendingSets(), qint64(2));
        QTRY_COMPARE(m_completion->lastCompletedIndex(), std::nullopt);
        QCOMPARE(visibleCircles().size(), 2);
        QCOMPARE(circle(1)->look(), SetCircle::Look::Idle);
        QCOMPARE(circle(1)->shownScale(), 1.0);
    }

    // The clearing is tied to the model, not to the widgets that asked for it.
    void secondTapWithinTheDelayIsIgnored() {
        open(30, 3);
        QTest::mouseClick(circle(0), Qt::LeftButton);
        QTest::mouseClick(circle(2), Qt::LeftButton);
        QCOMPARE(m_completion->lastCompletedIndex(), std::optional<int>(0));
        QCOMPARE(circle(2)->look(), SetCircle::Look::Idle);
        QTRY_COMPARE(m_completion->lastCompletedIndex(), std::nullopt);
        QCOMPARE(m_state->pendingSets(), qint64(2));
        // A new tap is accepted once the first has run its course, and survives the tab.
        QTest::mouseClick(circle(1), Qt::LeftButton);
        m_tab.reset();
        m_completion.reset();
        QTRY_COMPARE(m_state->pendingSets(), qint64(1));
        QCOMPARE(m_state->completedHistory().size(), 2);
    }

    void barSpringsFromWhereItWas() {
        Motion::setEnabled(true);
        open(2, 0);
        auto* bar = child<ProgressBar>(QStringLiteral("progressBar"));
        m_state->recordPrompt();
        QCOMPARE(bar->shownFraction(), 0.2);
        QTRY_VERIFY(bar->shownFraction() > 0.2 && bar->shownFraction() < 0.3);
        QTRY_COMPARE(bar->shownFraction(), 0.3);
    }
};

QTEST_MAIN(SetTabTest)
#include "tst_settab.moc"
