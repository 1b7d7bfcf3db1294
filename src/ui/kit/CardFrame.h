#pragma once

#include "ui/kit/Palette.h"

#include <QColor>
#include <QWidget>

// A container drawn as a card: a rounded rectangle filled behind its children. Give it a layout
// for the content; the card itself adds no padding.
class CardFrame : public QWidget {
    Q_OBJECT

public:
    explicit CardFrame(qreal radius, QWidget* parent = nullptr,
                       const QColor& colour = Palette::cardBackground);

    qreal radius() const { return m_radius; }
    QColor colour() const { return m_colour; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal m_radius;
    QColor m_colour;
};
