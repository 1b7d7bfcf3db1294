#include "ui/settab/ProgressBar.h"

#include "ui/kit/CardPainter.h"
#include "ui/kit/Palette.h"
#include "ui/kit/SpringAnimation.h"

#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <cmath>

ProgressBar::ProgressBar(QWidget* parent)
    : QWidget(parent)
    , m_fill(new SpringAnimation(fillSpring, this)) {
    setContentsMargins(0, topPadding, 0, 0);
    setFixedHeight(topPadding + barHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(m_fill, &SpringAnimation::valueChanged, this, qOverload<>(&QWidget::update));
}

void ProgressBar::setFraction(qreal fraction) {
    m_fill->animateTo(fraction);
}

void ProgressBar::jumpTo(qreal fraction) {
    m_fill->jumpTo(fraction);
}

qreal ProgressBar::shownFraction() const {
    return m_fill->value();
}

qreal ProgressBar::fillWidth(qreal offeredWidth, qreal fraction) {
    const qreal width = offeredWidth * fraction;
    if (std::isnan(width) || width < 0) {
        return 0;
    }
    return std::min(width, offeredWidth);
}

void ProgressBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF track = contentsRect();
    CardPainter::fill(painter, track, cornerRadius, Palette::cardBackground);
    const qreal width = fillWidth(track.width(), shownFraction());
    if (width <= 0) {
        return;
    }
    const QRectF fill(track.topLeft(), QSizeF(width, track.height()));
    QLinearGradient gradient(fill.topLeft(), fill.topRight());
    gradient.setColorAt(0, Palette::withAlpha(Palette::accentCyan, 0.6));
    gradient.setColorAt(1, Palette::accentCyan);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawRoundedRect(fill, cornerRadius, cornerRadius);
}
