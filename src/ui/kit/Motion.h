#pragma once

#include <QEasingCurve>

// Timing shared by the panel's animations, and the one switch that turns them all off.
namespace Motion {
// A damped spring, described the way designers tune it: the period of the undamped oscillation
// (response, seconds, above 0) and how much of the critical damping it gets (1 = no overshoot).
struct Spring {
    qreal response = 0.5;
    qreal dampingFraction = 0.8;
};

// The standard ease-in-ease-out timing curve, cubic Bezier (0.42, 0) (0.58, 1).
QEasingCurve easeInOut();

// Off, every animated widget jumps to its end at once: tests and the screenshot tool see the
// panel at rest. On by default.
void setEnabled(bool enabled);
bool enabled();
// The time to animate over now: the given one, or 0 while motion is off.
int duration(int ms);
} // namespace Motion
