#include "ui/kit/Motion.h"
#include "ui/kit/SpringAnimation.h"

#include <QTest>
#include <cmath>

// The damped spring the panel animates with, and the ease-in-ease-out curve beside it.
class SpringAnimationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stepResponse_data() {
        QTest::addColumn<double>("response");
        QTest::addColumn<double>("damping");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<double>("expected");
        // x(t) = 1 - e^(-z w0 t) (cos(wd t) + z w0 / wd sin(wd t)), w0 = 2 pi / r, wd = w0 sqrt(1 - z^2),
        // evaluated independently.
        QTest::newRow("bar, 0.1 s") << 0.5 << 0.8 << 0.1 << 0.3993;
        QTest::newRow("circle, 0.125 s") << 0.25 << 0.5 << 0.125 << 1.1407;
        QTest::newRow("critical, 0.1 s") << 0.5 << 1.0 << 0.1 << 0.3577;
    }

    void stepResponse() {
        QFETCH(double, response);
        QFETCH(double, damping);
        QFETCH(double, seconds);
        QFETCH(double, expected);
        const double value = SpringAnimation::progress({response, damping}, seconds);
        QVERIFY2(std::abs(value - expected) < 5e-4, qPrintable(QString::number(value)));
    }

    void endsOnTheTargetOnceSettled() {
        SpringAnimation animation({0.25, 0.5});
        animation.jumpTo(0.2);
        animation.animateTo(0.8);
        QCOMPARE(animation.state(), QAbstractAnimation::Running);
        QTRY_COMPARE(animation.state(), QAbstractAnimation::Stopped);
        QCOMPARE(animation.value(), 0.8);

        Motion::setEnabled(false);
        animation.animateTo(0.3);
        Motion::setEnabled(true);
        QCOMPARE(animation.state(), QAbstractAnimation::Stopped);
        QCOMPARE(animation.value(), 0.3);
    }

    // cubic-bezier(0.42, 0, 0.58, 1), solved independently.
    void easeInOutIsTheStandardCurve() {
        QVERIFY(std::abs(Motion::easeInOut().valueForProgress(0.25) - 0.1291) < 2e-3);
    }
};

QTEST_MAIN(SpringAnimationTest)
#include "tst_springanimation.moc"
