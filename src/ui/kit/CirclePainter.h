#pragma once

#include <QColor>
#include <QPointF>

class QPainter;

// The owed-set row's round badges: a filled disc with a ring stroked on its edge.
namespace CirclePainter {
constexpr qreal ringWidth = 1.5;

void paint(QPainter& painter, QPointF centre, qreal diameter, const QColor& disc, const QColor& ring);
} // namespace CirclePainter
