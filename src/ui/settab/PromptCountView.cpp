#include "ui/settab/PromptCountView.h"

#include "ui/kit/Palette.h"
#include "ui/kit/Typography.h"

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
    if (countText == m_countText && limitText == m_limitText) {
        return;
    }
    m_countText = countText;
    m_limitText = limitText;
    setAccessibleName(m_countText + m_limitText);
    relayout();
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
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(m_countFont);
    painter.setPen(Qt::white);
    painter.drawText(m_countOrigin, m_countText);
    painter.setFont(m_limitFont);
    painter.setPen(Palette::mutedGrey);
    painter.drawText(m_limitOrigin, m_limitText);
}

void PromptCountView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    relayout();
}

void PromptCountView::relayout() {
    const qreal scale = fitScale();
    m_countFont = scaledFont(countSize, scale);
    m_limitFont = scaledFont(limitSize, scale);
    const QFontMetricsF countMetrics(m_countFont);
    const QFontMetricsF limitMetrics(m_limitFont);
    const qreal countWidth = countMetrics.horizontalAdvance(m_countText);
    const qreal limitWidth = limitMetrics.horizontalAdvance(m_limitText);
    const qreal left = (width() - countWidth - limitWidth) / 2;
    m_countOrigin = QPointF(left, height() - countMetrics.descent());
    m_limitOrigin = QPointF(left + countWidth, height() - limitLift * scale - limitMetrics.descent());
    update();
}

qreal PromptCountView::naturalWidth() const {
    return QFontMetricsF(scaledFont(countSize, 1)).horizontalAdvance(m_countText) +
           QFontMetricsF(scaledFont(limitSize, 1)).horizontalAdvance(m_limitText);
}
