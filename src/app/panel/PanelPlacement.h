#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

// One monitor: its whole area, and the part not covered by panels and docks.
struct ScreenArea {
    QRect geometry;
    QRect available;
};

inline constexpr int panelGap = 4; // pixels between the anchor and the panel

// Top-left corner for the panel opened from `anchor` (the tray icon's rectangle, or an empty
// rectangle at the clicked point). It opens below the anchor, or above it when the screen has
// no room below (a bottom bar), and is then kept inside the available area; horizontally the
// right edge wins when the panel is wider than the screen. `screens` lists the primary first.
QPoint placePanel(const QRect& anchor, const QSize& panel, const QList<ScreenArea>& screens);
