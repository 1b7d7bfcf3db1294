#include "ui/kit/CardFrame.h"

#include "ui/kit/CardPainter.h"

#include <QPainter>

CardFrame::CardFrame(qreal radius, QWidget* parent, const QColor& colour)
    : QWidget(parent)
    , m_radius(radius)
    , m_colour(colour) {}

void CardFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    CardPainter::fill(painter, rect(), m_radius, m_colour);
}
