#include "app/panel/PanelPlacement.h"

namespace {
// Edges are taken as x + width and y + height so an empty rectangle (a clicked point)
// behaves like the point itself.
int anchorCentreX(const QRect& anchor) {
    return anchor.x() + anchor.width() / 2;
}
int anchorBottom(const QRect& anchor) {
    return anchor.y() + anchor.height();
}

const ScreenArea* screenOf(const QRect& anchor, const QList<ScreenArea>& screens) {
    const QPoint centre(anchorCentreX(anchor), anchor.y() + anchor.height() / 2);
    for (const ScreenArea& screen : screens) {
        if (screen.geometry.contains(centre)) {
            return &screen;
        }
    }
    return screens.isEmpty() ? nullptr : &screens.first();
}

// Near edge first, far edge last, so the far edge wins when the span does not fit.
int clampSpan(int start, int length, int areaStart, int areaLength) {
    if (start <= areaStart) {
        start = areaStart;
    }
    if (areaStart + areaLength - length < start) {
        start = areaStart + areaLength - length;
    }
    return start;
}
} // namespace

QPoint placePanel(const QRect& anchor, const QSize& panel, const QList<ScreenArea>& screens) {
    int x = anchorCentreX(anchor) - panel.width() / 2;
    int y = anchorBottom(anchor) + panelGap;
    const ScreenArea* screen = screenOf(anchor, screens);
    if (!screen) {
        return {x, y};
    }
    const QRect& area = screen->available;
    if (y + panel.height() > area.y() + area.height()) {
        y = anchor.y() - panelGap - panel.height();
    }
    x = clampSpan(x, panel.width(), area.x(), area.width());
    y = clampSpan(y, panel.height(), area.y(), area.height());
    return {x, y};
}
