#include "ui/kit/Motion.h"

#include <QPointF>

namespace Motion {
namespace {
bool motionEnabled = true;
} // namespace

QEasingCurve easeInOut() {
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0.42, 0), QPointF(0.58, 1), QPointF(1, 1));
    return curve;
}

void setEnabled(bool enabled) {
    motionEnabled = enabled;
}

bool enabled() {
    return motionEnabled;
}

int duration(int ms) {
    return motionEnabled ? ms : 0;
}
} // namespace Motion
