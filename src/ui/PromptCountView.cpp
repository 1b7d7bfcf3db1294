#include "PromptCountView.h"

#include "Palette.h"
#include "Typography.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {
// Rounding down keeps the scaled text within the width it was scaled for.
QFont scaledFont(int pixelSize, qreal scale) {
    return Typography::rounded(std::max(1, int(pixelSize * scale)), QFont::Bold);
}
} // namespace

PromptCountView::PromptCountView(QWidget* parent)
    : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(sizeHint().height());
}

void PromptCountView::setValues(qint64 count, qint64 limit) {
    const QString countText = QString::number(count);
    const QString limitText = QLatin1Char('/') + QString::number(limit);
    if (countText == m_countText && limitText == m_limitText)
        return;
    m_countText = countText;
    m_limitText = limitText;
    setAccessibleName(m_countText + m_limitText);
    update();
}

qreal PromptCountView::fitScale() const {
    const qreal natural = naturalWidth();
    return natural > width() ? width() / natural : 1;
}

QSize PromptCountView::sizeHint() const {
    return QSize(int(std::ceil(naturalWidth())),
                 int(std::ceil(QFontMetricsF(scaledFont(countSize, 1)).height())));
}

QSize PromptCountView::minimumSizeHint() const {
    return QSize(0, sizeHint().height());
}

void PromptCountView::paintEvent(QPaintEvent*) {
    const qreal scale = fitScale();
    const QFontMetricsF countMetrics(scaledFont(countSize, scale));
    const QFontMetricsF limitMetrics(scaledFont(limitSize, scale));
    const qreal countWidth = countMetrics.horizontalAdvance(m_countText);
    const qreal limitWidth = limitMetrics.horizontalAdvance(m_limitText);
    const qreal left = (width() - countWidth - limitWidth) / 2;

    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(scaledFont(countSize, scale));
    painter.setPen(Qt::white);
    painter.drawText(QPointF(left, height() - countMetrics.descent()), m_countText);
    painter.setFont(scaledFont(limitSize, scale));
    painter.setPen(Palette::mutedGrey);
    const qreal limitBaseline = height() - limitLift * scale - limitMetrics.descent();
    painter.drawText(QPointF(left + countWidth, limitBaseline), m_limitText);
}

qreal PromptCountView::naturalWidth() const {
    return QFontMetricsF(scaledFont(countSize, 1)).horizontalAdvance(m_countText) +
           QFontMetricsF(scaledFont(limitSize, 1)).horizontalAdvance(m_limitText);
}
