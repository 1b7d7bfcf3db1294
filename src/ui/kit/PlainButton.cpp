#include "ui/kit/PlainButton.h"

#include "ui/kit/FocusRing.h"

#include <QFontMetrics>
#include <QPainter>
#include <QtMath>
#include <algorithm>
#include <utility>

namespace {
constexpr qreal focusRingRadius = 6;
}

PlainButton::PlainButton(QList<Run> runs, const QColor& colour, QWidget* parent)
    : QAbstractButton(parent)
    , m_runs(std::move(runs))
    , m_colour(colour) {
    setFocusPolicy(Qt::TabFocus);
}

void PlainButton::setColour(const QColor& colour) {
    m_colour = colour;
    update();
}

void PlainButton::setRunSpacing(int spacing) {
    m_runSpacing = spacing;
    updateGeometry();
    update();
}

void PlainButton::setContentAlignment(Qt::Alignment alignment) {
    m_alignment = alignment;
    update();
}

void PlainButton::setShrinkable() {
    m_shrinkable = true;
    setSizePolicy(QSizePolicy::Preferred, sizePolicy().verticalPolicy());
    updateGeometry();
}

qreal PlainButton::labelScale() const {
    const int needed = contentWidth();
    return needed > width() && needed > 0 ? qreal(width()) / needed : 1.0;
}

int PlainButton::runWidth(const Run& run) const {
    return QFontMetrics(run.font).horizontalAdvance(run.text);
}

int PlainButton::contentWidth() const {
    int width = m_runSpacing * std::max(0, int(m_runs.size()) - 1);
    for (const Run& run : m_runs) {
        width += runWidth(run);
    }
    return width;
}

int PlainButton::contentLeft() const {
    if (m_alignment & Qt::AlignLeft) {
        return 0;
    }
    if (m_alignment & Qt::AlignRight) {
        return width() - contentWidth();
    }
    return (width() - contentWidth()) / 2;
}

QSize PlainButton::sizeHint() const {
    int height = 0;
    for (const Run& run : m_runs) {
        height = std::max(height, QFontMetrics(run.font).height());
    }
    return {contentWidth(), height};
}

QSize PlainButton::minimumSizeHint() const {
    const QSize natural = sizeHint();
    if (!m_shrinkable) {
        return natural;
    }
    return {qCeil(natural.width() * minimumLabelScale), natural.height()};
}

void PlainButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(m_colour);
    painter.save();
    const qreal scale = labelScale();
    if (scale < 1.0) {
        // Scaled about the vertical centre, from the left edge the label then fills exactly.
        painter.translate(0, height() * (1 - scale) / 2);
        painter.scale(scale, scale);
    }
    int left = scale < 1.0 ? 0 : contentLeft();
    for (const Run& run : m_runs) {
        const int width = runWidth(run);
        painter.setFont(run.font);
        painter.drawText(QRect(left, 0, width, height()), Qt::AlignCenter, run.text);
        left += width + m_runSpacing;
    }
    painter.restore();
    FocusRing::paint(painter, *this, rect(), focusRingRadius);
}
