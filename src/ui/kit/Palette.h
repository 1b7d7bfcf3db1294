#pragma once

#include <QColor>

// The seven opaque colours every panel view draws with.
namespace Palette {
inline QColor rgb(double r, double g, double b) {
    return QColor::fromRgbF(float(r), float(g), float(b));
}
inline QColor withAlpha(QColor colour, double alpha) {
    colour.setAlphaF(float(alpha));
    return colour;
}
// The colour t of the way from a to b, alpha included; t outside 0..1 is clamped.
inline QColor mix(const QColor& a, const QColor& b, double t) {
    const double u = t < 0 ? 0 : (t > 1 ? 1 : t);
    const auto blend = [u](float x, float y) { return float(x + (y - x) * u); };
    return QColor::fromRgbF(blend(a.redF(), b.redF()), blend(a.greenF(), b.greenF()),
                            blend(a.blueF(), b.blueF()), blend(a.alphaF(), b.alphaF()));
}

inline const QColor panelBackground = rgb(0.07, 0.10, 0.18);
inline const QColor cardBackground = rgb(0.11, 0.15, 0.25);
inline const QColor cardHighlight = rgb(0.14, 0.19, 0.30);
inline const QColor accentCyan = rgb(0.20, 0.87, 1.00);
inline const QColor alertRed = rgb(1.00, 0.27, 0.27);
inline const QColor successGreen = rgb(0.18, 0.83, 0.45);
inline const QColor mutedGrey = rgb(0.6, 0.6, 0.6);
} // namespace Palette
