#pragma once

#include <QEasingCurve>

// Timing shared by the panel's animations.
namespace Motion {
// A damped spring, described the way designers tune it: the period of the undamped oscillation
// (response, seconds) and how much of the critical damping it gets (1 = no overshoot).
struct Spring {
    qreal response = 0.5;
    qreal dampingFraction = 0.8;
};

// The standard ease-in-ease-out timing curve, cubic Bezier (0.42, 0) (0.58, 1).
QEasingCurve easeInOut();
} // namespace Motion
