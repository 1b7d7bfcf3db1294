#include "kit/Motion.h"
#include "kit/SpringAnimation.h"

#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <numbers>

// The damped spring the panel animates with, and the ease-in-ease-out curve beside it.
class SpringAnimationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void progressFollowsTheStepResponse_data();
    void progressFollowsTheStepResponse();
    void settlingTime_data();
    void settlingTime();
    void endsWithinTheEnvelope();
    void underdampedSpringOvershootsOnce();
    void criticallyDampedSpringNeverOvershoots();
    void animationLandsExactlyOnTheTarget();
    void retargetingStartsFromTheShownValue();
    void zeroResponseJumps();
    void easeInOutIsTheStandardCurve_data();
    void easeInOutIsTheStandardCurve();
};

void SpringAnimationTest::progressFollowsTheStepResponse_data() {
    QTest::addColumn<double>("response");
    QTest::addColumn<double>("damping");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<double>("expected");
    // x(t) = 1 - e^(-z w0 t) (cos(wd t) + z w0 / wd sin(wd t)), w0 = 2 pi / r, wd = w0 sqrt(1 - z^2),
    // evaluated independently for a few points.
    QTest::newRow("start") << 0.5 << 0.8 << 0.0 << 0.0;
    QTest::newRow("bar, 0.1 s") << 0.5 << 0.8 << 0.1 << 0.3993;
    QTest::newRow("bar, 0.25 s") << 0.5 << 0.8 << 0.25 << 0.9223;
    QTest::newRow("circle, 0.125 s") << 0.25 << 0.5 << 0.125 << 1.1407;
    QTest::newRow("circle, half the damped period") << 0.25 << 0.5 << 0.25 / std::sqrt(0.75) / 2 << 1.1630;
}

void SpringAnimationTest::progressFollowsTheStepResponse() {
    QFETCH(double, response);
    QFETCH(double, damping);
    QFETCH(double, seconds);
    QFETCH(double, expected);
    QVERIFY2(std::abs(SpringAnimation::progress({response, damping}, seconds) - expected) < 5e-4,
             qPrintable(QString::number(SpringAnimation::progress({response, damping}, seconds))));
}

void SpringAnimationTest::settlingTime_data() {
    QTest::addColumn<double>("response");
    QTest::addColumn<double>("damping");
    QTest::addColumn<double>("expected");
    // ln(1000) / (z w0)
    QTest::newRow("progress bar") << 0.5 << 0.8 << std::log(1000.0) / (0.8 * 4 * std::numbers::pi);
    QTest::newRow("set circle") << 0.25 << 0.5 << std::log(1000.0) / (0.5 * 8 * std::numbers::pi);
    QTest::newRow("no response") << 0.0 << 0.8 << 0.0;
}

void SpringAnimationTest::settlingTime() {
    QFETCH(double, response);
    QFETCH(double, damping);
    QFETCH(double, expected);
    QCOMPARE(SpringAnimation::settlingTime({response, damping}), expected);
}

void SpringAnimationTest::endsWithinTheEnvelope() {
    const Motion::Spring spring{0.25, 0.5};
    const double end = SpringAnimation::settlingTime(spring);
    // Past the end the remaining motion is bounded by the envelope times 1/sqrt(1 - z^2).
    for (double t = end; t < end + 0.5; t += 0.01)
        QVERIFY(std::abs(SpringAnimation::progress(spring, t) - 1) < 0.001 / std::sqrt(0.75) + 1e-12);
}

void SpringAnimationTest::underdampedSpringOvershootsOnce() {
    const Motion::Spring spring{0.25, 0.5};
    double peak = 0;
    for (double t = 0; t < SpringAnimation::settlingTime(spring); t += 0.001)
        peak = std::max(peak, SpringAnimation::progress(spring, t));
    QVERIFY(std::abs(peak - (1 + std::exp(-0.5 * std::numbers::pi / std::sqrt(0.75)))) < 1e-4);
}

void SpringAnimationTest::criticallyDampedSpringNeverOvershoots() {
    const Motion::Spring spring{0.5, 1.0};
    double previous = 0;
    for (double t = 0.001; t < SpringAnimation::settlingTime(spring); t += 0.001) {
        const double value = SpringAnimation::progress(spring, t);
        QVERIFY(value >= previous);
        QVERIFY(value <= 1);
        previous = value;
    }
}

void SpringAnimationTest::animationLandsExactlyOnTheTarget() {
    const Motion::Spring spring{0.25, 0.5};
    SpringAnimation animation(spring);
    animation.jumpTo(0.2);
    animation.animateTo(0.8);
    QCOMPARE(animation.state(), QAbstractAnimation::Running);
    QCOMPARE(animation.duration(), int(std::ceil(SpringAnimation::settlingTime(spring) * 1000)));
    // Each frame is the step response scaled onto the way from start to target.
    animation.pause();
    for (const int ms : {0, 40, 120, 300}) {
        animation.setCurrentTime(ms);
        QCOMPARE(animation.value(), 0.2 + 0.6 * SpringAnimation::progress(spring, ms / 1000.0));
    }
    animation.resume();
    QTRY_COMPARE(animation.state(), QAbstractAnimation::Stopped);
    QCOMPARE(animation.value(), 0.8);
}

void SpringAnimationTest::retargetingStartsFromTheShownValue() {
    const Motion::Spring spring{0.5, 0.8};
    SpringAnimation animation(spring);
    animation.jumpTo(0);
    animation.animateTo(1);
    animation.pause();
    animation.setCurrentTime(100);
    const double shown = animation.value();
    QVERIFY(shown > 0 && shown < 1);
    animation.animateTo(0);
    QCOMPARE(animation.target(), 0.0);
    animation.pause();
    animation.setCurrentTime(50);
    QCOMPARE(animation.value(), shown * (1 - SpringAnimation::progress(spring, 0.05)));
    animation.resume();
    QTRY_COMPARE(animation.state(), QAbstractAnimation::Stopped);
    QCOMPARE(animation.value(), 0.0);
}

void SpringAnimationTest::zeroResponseJumps() {
    SpringAnimation animation({0, 0.8});
    QSignalSpy values(&animation, &SpringAnimation::valueChanged);
    animation.animateTo(0.7);
    QCOMPARE(animation.state(), QAbstractAnimation::Stopped);
    QCOMPARE(animation.value(), 0.7);
    QCOMPARE(values.size(), 1);
}

void SpringAnimationTest::easeInOutIsTheStandardCurve_data() {
    QTest::addColumn<double>("progress");
    QTest::addColumn<double>("expected");
    // cubic-bezier(0.42, 0, 0.58, 1), solved independently
    QTest::newRow("start") << 0.0 << 0.0;
    QTest::newRow("quarter") << 0.25 << 0.1291;
    QTest::newRow("middle") << 0.5 << 0.5;
    QTest::newRow("three quarters") << 0.75 << 0.8709;
    QTest::newRow("end") << 1.0 << 1.0;
}

void SpringAnimationTest::easeInOutIsTheStandardCurve() {
    QFETCH(double, progress);
    QFETCH(double, expected);
    QVERIFY(std::abs(Motion::easeInOut().valueForProgress(progress) - expected) < 2e-3);
}

QTEST_MAIN(SpringAnimationTest)
#include "tst_springanimation.moc"
