#include "ui/kit/Divider.h"

#include <QPainter>

Divider::Divider(const QColor& colour, int sideInset, QWidget* parent)
    : QWidget(parent)
    , m_colour(colour)
    , m_sideInset(sideInset) {
    setFixedHeight(1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void Divider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect().adjusted(m_sideInset, 0, -m_sideInset, 0), m_colour);
}
