#pragma once

#include <QChar>
#include <QFont>
#include <QString>

// Code points of the Material Icons font that stand in for the panel's symbols.
namespace Glyphs {
inline constexpr char16_t exerciseFigure = 0xEB43;  // fitness_center
inline constexpr char16_t setTab = 0xE9B0;          // grid_view
inline constexpr char16_t activityTab = 0xE935;     // calendar_today
inline constexpr char16_t settingsTab = 0xE8B8;     // settings
inline constexpr char16_t checkmark = 0xE5CA;       // check
inline constexpr char16_t checkmarkCircle = 0xE86C; // check_circle
inline constexpr char16_t minus = 0xE15B;           // remove
inline constexpr char16_t plus = 0xE145;            // add
inline constexpr char16_t chevronUpDown = 0xE5D7;   // unfold_more

inline QString text(char16_t glyph) {
    return QString(QChar(glyph));
}

// The icon font at a pixel size; loads the font file on first use.
QFont font(int pixelSize);
} // namespace Glyphs
