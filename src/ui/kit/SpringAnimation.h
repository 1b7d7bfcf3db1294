#pragma once

#include "ui/kit/Motion.h"

#include <QAbstractAnimation>

// Moves a number towards a target along a damped spring's step response. The spring may
// overshoot the target before settling; the animation ends once its envelope falls below 0.001,
// and the value lands exactly on the target. While motion is off it jumps at once.
class SpringAnimation : public QAbstractAnimation {
    Q_OBJECT

public:
    explicit SpringAnimation(Motion::Spring spring, QObject* parent = nullptr);

    qreal value() const { return m_value; }
    qreal target() const { return m_to; }

    // Springs from the current value; restarts when already moving.
    void animateTo(qreal target);
    void jumpTo(qreal target);

    int duration() const override;

    // Fraction of the way from start to target after the given time (1 - e^(-z w0 t)(...)).
    static qreal progress(Motion::Spring spring, qreal seconds);
    // Time until the envelope e^(-z w0 t) falls below 0.001.
    static qreal settlingTime(Motion::Spring spring);

Q_SIGNALS:
    void valueChanged(qreal value);

protected:
    void updateCurrentTime(int currentTime) override;

private:
    void setValue(qreal value);

    const Motion::Spring m_spring;
    qreal m_from = 0;
    qreal m_to = 0;
    qreal m_value = 0;
};
