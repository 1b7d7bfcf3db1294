#include "ui/kit/FocusRing.h"

#include "ui/kit/CardPainter.h"
#include "ui/kit/Palette.h"

#include <QWidget>

namespace FocusRing {
namespace {
constexpr qreal ringOpacity = 0.6;
constexpr qreal ringWidth = 1.5;
} // namespace

bool isVisible(const QWidget& widget) {
    return widget.hasFocus() && widget.window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

void paint(QPainter& painter, const QWidget& widget, const QRectF& rect, qreal radius) {
    if (isVisible(widget)) {
        CardPainter::outline(painter, rect, radius, Palette::withAlpha(Palette::accentCyan, ringOpacity),
                             ringWidth);
    }
}
} // namespace FocusRing
