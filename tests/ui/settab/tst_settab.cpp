#include "TrackerHarness.h"
#include "kit/Motion.h"
#include "kit/Palette.h"
#include "kit/PanelLabel.h"
#include "kit/SpringAnimation.h"
#include "settab/OverflowCircle.h"
#include "settab/OwedCard.h"
#include "settab/ProgressBar.h"
#include "settab/ProgressCard.h"
#include "settab/PromptCountView.h"
#include "settab/SetCircle.h"
#include "settab/SetCompletion.h"
#include "settab/SetTab.h"

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QTest>
#include <QVariantAnimation>
#include <cmath>
#include <limits>
#include <memory>

namespace {
// White and grey digits on the dark panel: whether any pixel of column x is light.
bool hasInkInColumn(const QImage& image, int x) {
    for (int y = 0; y < image.height(); ++y)
        if (qRed(image.pixel(x, y)) > 128)
            return true;
    return false;
}
} // namespace

// The set tab on a real model in a temporary home. Animations jump to their end unless a test
// is about one; the 0.35 s completion delay is always real.
class SetTabTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void statusLine_data();
    void statusLine();
    void progressFraction_data();
    void progressFraction();
    void fillWidth_data();
    void fillWidth();
    void owedDerivations_data();
    void owedDerivations();

    void progressCardShowsTheModel_data();
    void progressCardShowsTheModel();
    void lastPromptOfASetWrapsToEmpty();
    void limitBelowOneWaits();
    void sixDigitCountIsNotClipped();
    void countRefitsWhenTheCardNarrows();
    void longOverflowCountFitsItsCircle_data();
    void longOverflowCountFitsItsCircle();
    void owedCardFollowsPendingSets_data();
    void owedCardFollowsPendingSets();

    void tappingTheSecondOfThreeClearsOneSet();
    void secondTapWithinTheDelayIsIgnored();
    void setClearedElsewhereRedraws();
    void completionSurvivesHidingTheTab();
    void completionSurvivesDestroyingTheTab();
    void hoverTurnsTheCircleGreen();
    void completingWinsOverHover();
    void circlesAreKeyboardReachable();

    void hoverEasesInOverAShortTime();
    void completingCircleSpringsPastItsSize();
    void barSpringsToTheNewFraction();

private:
    // A model holding these counters, and the set tab showing it.
    void open(qint64 totalRequests, qint64 pendingSets);
    SetCircle* circle(int index) const;
    QList<SetCircle*> visibleCircles() const;
    QString labelText(const char* objectName) const;
    qint64 historySize() const { return m_state->completedHistory().size(); }

    std::unique_ptr<TrackerHarness> m_harness;
    std::unique_ptr<TrackerState> m_state;
    std::unique_ptr<SetCompletion> m_completion;
    std::unique_ptr<SetTab> m_tab;
};

void SetTabTest::init() {
    ProgressBar::fillSpring.response = 0;
    SetCircle::completingSpring.response = 0;
    SetCircle::hoverDurationMs = 0;
}

void SetTabTest::cleanup() {
    m_tab.reset();
    m_completion.reset();
    m_state.reset();
    m_harness.reset();
}

void SetTabTest::open(qint64 totalRequests, qint64 pendingSets) {
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

SetCircle* SetTabTest::circle(int index) const {
    return m_tab->findChild<SetCircle*>(QStringLiteral("setCircle%1").arg(index));
}

QList<SetCircle*> SetTabTest::visibleCircles() const {
    QList<SetCircle*> visible;
    const QList<SetCircle*> circles = m_tab->findChildren<SetCircle*>();
    for (SetCircle* candidate : circles)
        if (candidate->isVisibleTo(m_tab.get()))
            visible.append(candidate);
    return visible;
}

QString SetTabTest::labelText(const char* objectName) const {
    const auto* label = m_tab->findChild<PanelLabel*>(QLatin1String(objectName));
    return label ? label->text() : QStringLiteral("<missing %1>").arg(QLatin1String(objectName));
}

void SetTabTest::statusLine_data() {
    QTest::addColumn<qint64>("promptsThisSet");
    QTest::addColumn<qint64>("promptLimit");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nothing yet") << qint64(0) << qint64(10) << QStringLiteral("WAITING FOR PROMPTS");
    QTest::newRow("3 of 10") << qint64(3) << qint64(10) << QStringLiteral("7 UNTIL NEXT SET");
    QTest::newRow("one to go keeps the words")
        << qint64(9) << qint64(10) << QStringLiteral("1 UNTIL NEXT SET");
    QTest::newRow("limit 0") << qint64(0) << qint64(0) << QStringLiteral("WAITING FOR PROMPTS");
    QTest::newRow("negative limit") << qint64(0) << qint64(-4) << QStringLiteral("WAITING FOR PROMPTS");
    QTest::newRow("large") << qint64(123456) << qint64(1000000) << QStringLiteral("876544 UNTIL NEXT SET");
}

void SetTabTest::statusLine() {
    QFETCH(qint64, promptsThisSet);
    QFETCH(qint64, promptLimit);
    QFETCH(QString, expected);
    QCOMPARE(ProgressCard::statusLine(promptsThisSet, promptLimit), expected);
}

void SetTabTest::progressFraction_data() {
    QTest::addColumn<qint64>("promptsThisSet");
    QTest::addColumn<qint64>("promptLimit");
    QTest::addColumn<double>("expected");
    QTest::newRow("empty") << qint64(0) << qint64(10) << 0.0;
    QTest::newRow("3 of 10") << qint64(3) << qint64(10) << 0.3;
    QTest::newRow("9 of 10") << qint64(9) << qint64(10) << 0.9;
    QTest::newRow("2 of 3") << qint64(2) << qint64(3) << 2.0 / 3.0;
    QTest::newRow("limit 0") << qint64(5) << qint64(0) << 0.0;
    QTest::newRow("negative limit") << qint64(5) << qint64(-3) << 0.0;
}

void SetTabTest::progressFraction() {
    QFETCH(qint64, promptsThisSet);
    QFETCH(qint64, promptLimit);
    QFETCH(double, expected);
    QCOMPARE(ProgressCard::progressFraction(promptsThisSet, promptLimit), expected);
}

void SetTabTest::fillWidth_data() {
    QTest::addColumn<double>("offered");
    QTest::addColumn<double>("fraction");
    QTest::addColumn<double>("expected");
    QTest::newRow("30 percent") << 200.0 << 0.3 << 60.0;
    QTest::newRow("empty") << 200.0 << 0.0 << 0.0;
    QTest::newRow("negative (spring undershoot)") << 200.0 << -0.02 << 0.0;
    QTest::newRow("not a number") << 200.0 << std::numeric_limits<double>::quiet_NaN() << 0.0;
    QTest::newRow("past the end (spring overshoot)") << 200.0 << 1.05 << 200.0;
    QTest::newRow("nothing offered") << 0.0 << 0.5 << 0.0;
}

void SetTabTest::fillWidth() {
    QFETCH(double, offered);
    QFETCH(double, fraction);
    QFETCH(double, expected);
    QCOMPARE(ProgressBar::fillWidth(offered, fraction), expected);
}

void SetTabTest::owedDerivations_data() {
    QTest::addColumn<qint64>("pendingSets");
    QTest::addColumn<QString>("header");
    QTest::addColumn<int>("circles");
    QTest::addColumn<qint64>("overflow");
    QTest::newRow("0") << qint64(0) << QStringLiteral("0 SETS OWED") << 0 << qint64(0);
    QTest::newRow("1") << qint64(1) << QStringLiteral("1 SET OWED") << 1 << qint64(0);
    QTest::newRow("3") << qint64(3) << QStringLiteral("3 SETS OWED") << 3 << qint64(0);
    QTest::newRow("4") << qint64(4) << QStringLiteral("4 SETS OWED") << 4 << qint64(0);
    QTest::newRow("5") << qint64(5) << QStringLiteral("5 SETS OWED") << 4 << qint64(1);
    QTest::newRow("12") << qint64(12) << QStringLiteral("12 SETS OWED") << 4 << qint64(8);
}

void SetTabTest::owedDerivations() {
    QFETCH(qint64, pendingSets);
    QFETCH(QString, header);
    QFETCH(int, circles);
    QFETCH(qint64, overflow);
    QCOMPARE(OwedCard::headerText(pendingSets), header);
    QCOMPARE(OwedCard::drawnCircles(pendingSets), circles);
    QCOMPARE(OwedCard::overflowCount(pendingSets), overflow);
}

void SetTabTest::progressCardShowsTheModel_data() {
    QTest::addColumn<qint64>("totalRequests");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("status");
    QTest::addColumn<double>("fraction");
    QTest::newRow("fresh") << qint64(0) << QStringLiteral("0") << QStringLiteral("WAITING FOR PROMPTS")
                           << 0.0;
    QTest::newRow("3 of 10") << qint64(3) << QStringLiteral("3") << QStringLiteral("7 UNTIL NEXT SET") << 0.3;
    QTest::newRow("29 is 9 of 10") << qint64(29) << QStringLiteral("9") << QStringLiteral("1 UNTIL NEXT SET")
                                   << 0.9;
}

void SetTabTest::progressCardShowsTheModel() {
    QFETCH(qint64, totalRequests);
    QFETCH(QString, count);
    QFETCH(QString, status);
    QFETCH(double, fraction);
    open(totalRequests, 0);
    const auto* countView = m_tab->findChild<PromptCountView*>(QStringLiteral("promptCount"));
    QVERIFY(countView);
    QCOMPARE(countView->countText(), count);
    QCOMPARE(countView->limitText(), QStringLiteral("/10"));
    QCOMPARE(labelText("statusLine"), status);
    const auto* bar = m_tab->findChild<ProgressBar*>(QStringLiteral("progressBar"));
    QVERIFY(bar);
    QCOMPARE(bar->shownFraction(), fraction);
    QCOMPARE(bar->height(), ProgressBar::topPadding + ProgressBar::barHeight);
}

void SetTabTest::lastPromptOfASetWrapsToEmpty() {
    open(9, 0);
    const auto* bar = m_tab->findChild<ProgressBar*>(QStringLiteral("progressBar"));
    const auto* countView = m_tab->findChild<PromptCountView*>(QStringLiteral("promptCount"));
    const auto* owedCard = m_tab->findChild<OwedCard*>(QStringLiteral("owedCard"));
    QCOMPARE(bar->shownFraction(), 0.9);
    QVERIFY(!owedCard->isVisible());

    m_state->recordPrompt();
    QCOMPARE(countView->countText(), QStringLiteral("0"));
    QCOMPARE(labelText("statusLine"), QStringLiteral("WAITING FOR PROMPTS"));
    QCOMPARE(bar->shownFraction(), 0.0);
    QVERIFY(owedCard->isVisible());
    QCOMPARE(labelText("owedHeader"), QStringLiteral("1 SET OWED"));
    QCOMPARE(visibleCircles().size(), 1);

    for (int prompt = 0; prompt < 10; ++prompt)
        m_state->recordPrompt();
    QCOMPARE(visibleCircles().size(), 2);
    QCOMPARE(labelText("owedHeader"), QStringLiteral("2 SETS OWED"));
}

void SetTabTest::limitBelowOneWaits() {
    open(7, 0);
    m_state->setPromptLimit(0);
    const auto* countView = m_tab->findChild<PromptCountView*>(QStringLiteral("promptCount"));
    QCOMPARE(countView->countText(), QStringLiteral("0"));
    QCOMPARE(countView->limitText(), QStringLiteral("/0"));
    QCOMPARE(labelText("statusLine"), QStringLiteral("WAITING FOR PROMPTS"));
    QCOMPARE(m_tab->findChild<ProgressBar*>(QStringLiteral("progressBar"))->shownFraction(), 0.0);
}

void SetTabTest::sixDigitCountIsNotClipped() {
    open(123456, 0);
    m_state->setPromptLimit(1000000);
    auto* countView = m_tab->findChild<PromptCountView*>(QStringLiteral("promptCount"));
    QCOMPARE(countView->countText(), QStringLiteral("123456"));
    QVERIFY(countView->fitScale() < 1);

    // White and grey digits on the dark panel: some must show, none may touch either edge.
    const QImage image = countView->grab().toImage().convertToFormat(QImage::Format_RGB32);
    bool anyInk = false;
    for (int x = 0; x < image.width(); ++x)
        anyInk = anyInk || hasInkInColumn(image, x);
    QVERIFY(anyInk);
    QVERIFY(!hasInkInColumn(image, 0));
    QVERIFY(!hasInkInColumn(image, image.width() - 1));
}

// The count is fitted when its width changes, not only when its values do.
void SetTabTest::countRefitsWhenTheCardNarrows() {
    open(123456, 0);
    m_state->setPromptLimit(1000000);
    auto* countView = m_tab->findChild<PromptCountView*>(QStringLiteral("promptCount"));
    const qreal wideScale = countView->fitScale();
    countView->setMinimumWidth(0);
    countView->setFixedWidth(countView->width() / 2);
    QTRY_COMPARE(countView->width(), countView->maximumWidth());
    QVERIFY(countView->fitScale() < wideScale);

    const QImage image = countView->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(!hasInkInColumn(image, 0));
    QVERIFY(!hasInkInColumn(image, image.width() - 1));
    QVERIFY(hasInkInColumn(image, image.width() / 2));
}

void SetTabTest::longOverflowCountFitsItsCircle_data() {
    QTest::addColumn<qint64>("pendingSets");
    QTest::addColumn<bool>("shrinks");
    QTest::newRow("+8") << qint64(12) << false;
    QTest::newRow("+1000000") << qint64(1000004) << true;
}

void SetTabTest::longOverflowCountFitsItsCircle() {
    QFETCH(qint64, pendingSets);
    QFETCH(bool, shrinks);
    open(0, pendingSets);
    const auto* overflowCircle = m_tab->findChild<OverflowCircle*>(QStringLiteral("overflowCircle"));
    QCOMPARE(overflowCircle->text(), QStringLiteral("+%1").arg(pendingSets - OwedCard::maxDrawnCircles));
    const QFont font = overflowCircle->textFont();
    QCOMPARE(font.pixelSize() < 11, shrinks);
    QVERIFY(QFontMetricsF(font).horizontalAdvance(overflowCircle->text()) <= overflowCircle->width());
}

void SetTabTest::owedCardFollowsPendingSets_data() {
    owedDerivations_data();
}

void SetTabTest::owedCardFollowsPendingSets() {
    QFETCH(qint64, pendingSets);
    QFETCH(QString, header);
    QFETCH(int, circles);
    QFETCH(qint64, overflow);
    open(pendingSets * 10, pendingSets);
    const auto* owedCard = m_tab->findChild<OwedCard*>(QStringLiteral("owedCard"));
    QCOMPARE(owedCard->isVisible(), pendingSets >= 1);
    if (pendingSets >= 1)
        QCOMPARE(labelText("owedHeader"), header);
    const QList<SetCircle*> shown = visibleCircles();
    QCOMPARE(shown.size(), circles);
    for (int index = 0; index < shown.size(); ++index)
        QCOMPARE(shown[index]->accessibleName(), QStringLiteral("Complete set %1").arg(index + 1));
    const auto* overflowCircle = m_tab->findChild<OverflowCircle*>(QStringLiteral("overflowCircle"));
    QCOMPARE(overflowCircle->isVisibleTo(m_tab.get()), overflow > 0);
    if (overflow > 0)
        QCOMPARE(overflowCircle->text(), QStringLiteral("+%1").arg(overflow));
}

void SetTabTest::tappingTheSecondOfThreeClearsOneSet() {
    open(30, 3);
    QTest::mouseClick(circle(1), Qt::LeftButton);
    QCOMPARE(m_completion->lastCompletedIndex(), std::optional<int>(1));
    QCOMPARE(circle(1)->look(), SetCircle::Look::Completing);
    QCOMPARE(circle(1)->shownScale(), 1.15);
    QCOMPARE(circle(0)->look(), SetCircle::Look::Idle);
    QCoreApplication::processEvents();
    QCOMPARE(m_state->pendingSets(), qint64(3)); // not before the delay

    QTRY_COMPARE(m_state->pendingSets(), qint64(2));
    QTRY_COMPARE(m_completion->lastCompletedIndex(), std::nullopt);
    QCOMPARE(historySize(), 1);
    QCOMPARE(visibleCircles().size(), 2);
    QCOMPARE(labelText("owedHeader"), QStringLiteral("2 SETS OWED"));
    QCOMPARE(circle(0)->look(), SetCircle::Look::Idle);
    QCOMPARE(circle(1)->look(), SetCircle::Look::Idle);
    QCOMPARE(circle(1)->shownScale(), 1.0);
}

void SetTabTest::secondTapWithinTheDelayIsIgnored() {
    open(30, 3);
    QTest::mouseClick(circle(0), Qt::LeftButton);
    QTest::mouseClick(circle(2), Qt::LeftButton);
    QCOMPARE(m_completion->lastCompletedIndex(), std::optional<int>(0));
    QCOMPARE(circle(2)->look(), SetCircle::Look::Idle);
    QVERIFY(!m_completion->tap(1));

    QTRY_COMPARE(m_completion->lastCompletedIndex(), std::nullopt);
    QCOMPARE(m_state->pendingSets(), qint64(2));
    QCOMPARE(historySize(), 1);
    // A new tap is accepted once the first has run its course.
    QTest::mouseClick(circle(1), Qt::LeftButton);
    QTRY_COMPARE(m_state->pendingSets(), qint64(1));
    QCOMPARE(historySize(), 2);
}

void SetTabTest::setClearedElsewhereRedraws() {
    open(20, 2);
    m_state->completeSet();
    QCOMPARE(visibleCircles().size(), 1);
    QCOMPARE(labelText("owedHeader"), QStringLiteral("1 SET OWED"));
    m_state->completeSet();
    QVERIFY(!m_tab->findChild<OwedCard*>(QStringLiteral("owedCard"))->isVisible());
}

void SetTabTest::completionSurvivesHidingTheTab() {
    open(30, 3);
    QTest::mouseClick(circle(2), Qt::LeftButton);
    m_tab->hide();
    QTRY_COMPARE(m_state->pendingSets(), qint64(2));
    QTRY_COMPARE(m_completion->lastCompletedIndex(), std::nullopt);
    QCOMPARE(historySize(), 1);
    m_tab->show();
    QCOMPARE(visibleCircles().size(), 2);
}

void SetTabTest::completionSurvivesDestroyingTheTab() {
    open(30, 3);
    QTest::mouseClick(circle(0), Qt::LeftButton);
    m_tab.reset();
    m_completion.reset();
    QTRY_COMPARE(m_state->pendingSets(), qint64(2));
    QCOMPARE(historySize(), 1);
}

void SetTabTest::hoverTurnsTheCircleGreen() {
    open(10, 1);
    SetCircle* target = circle(0);
    const QPointF centre = QRectF(target->rect()).center();
    QEnterEvent enter(centre, target->mapTo(m_tab.get(), centre), target->mapToGlobal(centre));
    QCoreApplication::sendEvent(target, &enter);
    QCOMPARE(target->look(), SetCircle::Look::Hovered);
    QCOMPARE(target->shownScale(), 1.08);

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(target, &leave);
    QCOMPARE(target->look(), SetCircle::Look::Idle);
    QCOMPARE(target->shownScale(), 1.0);
}

void SetTabTest::completingWinsOverHover() {
    open(20, 2);
    SetCircle* target = circle(1);
    const QPointF centre = QRectF(target->rect()).center();
    QEnterEvent enter(centre, target->mapTo(m_tab.get(), centre), target->mapToGlobal(centre));
    QCoreApplication::sendEvent(target, &enter);
    QTest::mouseClick(target, Qt::LeftButton);
    QCOMPARE(target->look(), SetCircle::Look::Completing);
    QCOMPARE(target->shownScale(), 1.15);
    // Still under the pointer after its set is cleared: circle 1 is gone, circle 0 is idle.
    QTRY_COMPARE(m_completion->lastCompletedIndex(), std::nullopt);
    QCOMPARE(visibleCircles().size(), 1);
}

void SetTabTest::circlesAreKeyboardReachable() {
    open(30, 3);
    m_tab->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_tab.get()));
    QVERIFY(circle(0)->focusPolicy() & Qt::TabFocus);
    circle(0)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), circle(1));
    QTest::keyClick(circle(1), Qt::Key_Space);
    QCOMPARE(m_completion->lastCompletedIndex(), std::optional<int>(1));
    QTRY_COMPARE(m_state->pendingSets(), qint64(2));
}

void SetTabTest::hoverEasesInOverAShortTime() {
    SetCircle::hoverDurationMs = 150;
    open(10, 1);
    SetCircle* target = circle(0);
    const QPointF centre = QRectF(target->rect()).center();
    QEnterEvent enter(centre, target->mapTo(m_tab.get(), centre), target->mapToGlobal(centre));
    QCoreApplication::sendEvent(target, &enter);
    const auto* hover = target->findChild<QVariantAnimation*>();
    QVERIFY(hover);
    QCOMPARE(hover->state(), QAbstractAnimation::Running);
    QCOMPARE(hover->duration(), 150);
    QCOMPARE(hover->easingCurve(), Motion::easeInOut());
    QVERIFY(target->shownScale() < 1.08);
    QTRY_COMPARE(target->shownScale(), 1.08);
}

void SetTabTest::completingCircleSpringsPastItsSize() {
    SetCircle::completingSpring = {0.25, 0.5};
    open(20, 2);
    SetCircle* target = circle(0);
    auto* spring = target->findChild<SpringAnimation*>();
    QVERIFY(spring);
    QTest::mouseClick(target, Qt::LeftButton);
    QCOMPARE(spring->state(), QAbstractAnimation::Running);
    QCOMPARE(spring->duration(), int(std::ceil(SpringAnimation::settlingTime({0.25, 0.5}) * 1000)));
    // Held at the spring's peak, the circle is larger than its resting completing size.
    spring->pause();
    spring->setCurrentTime(int(1000 * 0.25 / std::sqrt(0.75) / 2));
    QVERIFY(target->shownScale() > 1.17);
    spring->setCurrentTime(spring->duration());
    QCOMPARE(target->shownScale(), 1.15);
    QTRY_COMPARE(m_state->pendingSets(), qint64(1));
}

void SetTabTest::barSpringsToTheNewFraction() {
    ProgressBar::fillSpring = {0.5, 0.8};
    open(2, 0);
    auto* bar = m_tab->findChild<ProgressBar*>(QStringLiteral("progressBar"));
    QCOMPARE(bar->shownFraction(), 0.2);
    m_state->recordPrompt();
    QCOMPARE(bar->shownFraction(), 0.2); // starts from where it was
    auto* spring = bar->findChild<SpringAnimation*>();
    QCOMPARE(spring->state(), QAbstractAnimation::Running);
    QCOMPARE(spring->duration(), int(std::ceil(SpringAnimation::settlingTime({0.5, 0.8}) * 1000)));
    spring->pause();
    spring->setCurrentTime(100);
    QCOMPARE(bar->shownFraction(), 0.2 + 0.1 * SpringAnimation::progress({0.5, 0.8}, 0.1));
    spring->resume();
    QTRY_COMPARE(bar->shownFraction(), 0.3);
}

QTEST_MAIN(SetTabTest)
#include "tst_settab.moc"
