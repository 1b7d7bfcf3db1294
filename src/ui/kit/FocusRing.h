#pragma once

#include <QRectF>

class QPainter;
class QWidget;

// The panel's buttons draw only their label, so keyboard users need some other sign of where
// focus is. The ring appears only once focus has moved by keyboard, never after a click.
namespace FocusRing {
bool isVisible(const QWidget& widget);
void paint(QPainter& painter, const QWidget& widget, const QRectF& rect, qreal radius);
} // namespace FocusRing
