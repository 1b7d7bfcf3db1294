#include "ui/kit/SpringAnimation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr qreal settledEnvelope = 0.001;

qreal naturalFrequency(Motion::Spring spring) {
    return 2 * std::numbers::pi / spring.response;
}

// Overdamped springs are drawn as critically damped, and a spring without damping would never
// settle, so it gets a token amount.
qreal damping(Motion::Spring spring) {
    return std::clamp(spring.dampingFraction, qreal(0.01), qreal(1));
}
} // namespace

SpringAnimation::SpringAnimation(Motion::Spring spring, QObject* parent)
    : QAbstractAnimation(parent)
    , m_spring(spring) {}

void SpringAnimation::animateTo(qreal target) {
    stop();
    m_from = m_value;
    m_to = target;
    if (!Motion::enabled() || m_from == m_to) {
        setValue(target);
        return;
    }
    start();
}

void SpringAnimation::jumpTo(qreal target) {
    stop();
    m_from = target;
    m_to = target;
    setValue(target);
}

int SpringAnimation::duration() const {
    return int(std::ceil(settlingTime(m_spring) * 1000));
}

qreal SpringAnimation::progress(Motion::Spring spring, qreal seconds) {
    const qreal w0 = naturalFrequency(spring);
    const qreal zeta = damping(spring);
    const qreal decay = std::exp(-zeta * w0 * seconds);
    if (zeta >= 1) { // the limit of the formula below as zeta approaches 1
        return 1 - decay * (1 + w0 * seconds);
    }
    const qreal wd = w0 * std::sqrt(1 - zeta * zeta);
    return 1 - decay * (std::cos(wd * seconds) + zeta * w0 / wd * std::sin(wd * seconds));
}

qreal SpringAnimation::settlingTime(Motion::Spring spring) {
    return std::log(1 / settledEnvelope) / (damping(spring) * naturalFrequency(spring));
}

void SpringAnimation::updateCurrentTime(int currentTime) {
    if (currentTime >= duration()) {
        setValue(m_to);
        return;
    }
    setValue(m_from + (m_to - m_from) * progress(m_spring, currentTime / 1000.0));
}

void SpringAnimation::setValue(qreal value) {
    if (value == m_value) {
        return;
    }
    m_value = value;
    Q_EMIT valueChanged(value);
}
