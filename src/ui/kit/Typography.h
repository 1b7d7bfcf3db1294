#pragma once

#include <QFont>

// Fonts of the panel. Sizes are device-independent pixels; tracking is extra letter spacing.
namespace Typography {
QFont system(int pixelSize, QFont::Weight weight = QFont::Normal, qreal tracking = 0);
// The nearest rounded face installed, else the system font (used bold for the big numbers).
QFont rounded(int pixelSize, QFont::Weight weight = QFont::Bold);
} // namespace Typography
