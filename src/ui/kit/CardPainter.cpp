#include "ui/kit/CardPainter.h"

#include <QPainter>
#include <QPainterPath>

namespace CardPainter {
void fill(QPainter& painter, const QRectF& rect, qreal radius, const QColor& colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRoundedRect(rect, radius, radius);
    painter.restore();
}

void outline(QPainter& painter, const QRectF& rect, qreal radius, const QColor& colour, qreal width) {
    const qreal inset = width / 2;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, width));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(rect.adjusted(inset, inset, -inset, -inset), radius - inset, radius - inset);
    painter.restore();
}
} // namespace CardPainter
