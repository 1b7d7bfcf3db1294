#include "ui/kit/CirclePainter.h"

#include <QPainter>

namespace CirclePainter {
void paint(QPainter& painter, QPointF centre, qreal diameter, const QColor& disc, const QColor& ring) {
    const qreal radius = diameter / 2;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(disc);
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(QPen(ring, ringWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, radius, radius);
    painter.restore();
}
} // namespace CirclePainter
