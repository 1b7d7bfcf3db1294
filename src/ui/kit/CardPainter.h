#pragma once

#include "ui/kit/Palette.h"

#include <QColor>
#include <QRectF>

class QPainter;

// Rounded shapes shared by the panel's cards, rows and swatches. Corners are plain circular
// arcs; the platform has no continuous-curvature corner to offer.
namespace CardPainter {
void fill(QPainter& painter, const QRectF& rect, qreal radius,
          const QColor& colour = Palette::cardBackground);
// A hairline inside rect, so that it is not clipped by the widget's edge.
void outline(QPainter& painter, const QRectF& rect, qreal radius, const QColor& colour, qreal width = 1);
} // namespace CardPainter
