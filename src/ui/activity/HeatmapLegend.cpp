#include "ui/activity/HeatmapLegend.h"

#include "ui/activity/HeatmapCalendar.h"
#include "ui/kit/CardPainter.h"
#include "ui/kit/Palette.h"
#include "ui/kit/Typography.h"

#include <QPainter>

namespace {
const QString lessText = QStringLiteral("Less");
const QString moreText = QStringLiteral("More");
constexpr int fontSize = 8;
} // namespace

HeatmapLegend::HeatmapLegend(QWidget* parent)
    : QWidget(parent)
    , m_font(Typography::system(fontSize)) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

int HeatmapLegend::textWidth(const QString& text) const {
    return QFontMetrics(m_font).horizontalAdvance(text);
}

QRect HeatmapLegend::lessRect() const {
    return {leadingPadding, 0, textWidth(lessText), height()};
}

QRectF HeatmapLegend::swatchRect(int level) const {
    const int left = lessRect().right() + 1 + spacing + level * (swatchSize + spacing);
    return {qreal(left), (height() - swatchSize) / 2.0, qreal(swatchSize), qreal(swatchSize)};
}

QRect HeatmapLegend::moreRect() const {
    const int left = int(swatchRect(HeatmapCalendar::levelCount - 1).right()) + spacing;
    return {left, 0, textWidth(moreText), height()};
}

QSize HeatmapLegend::sizeHint() const {
    const int swatches = HeatmapCalendar::levelCount * (swatchSize + spacing);
    const int width = leadingPadding + textWidth(lessText) + spacing + swatches + textWidth(moreText);
    return {width, std::max(swatchSize, QFontMetrics(m_font).height())};
}

void HeatmapLegend::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(m_font);
    painter.setPen(Palette::mutedGrey);
    painter.drawText(lessRect(), Qt::AlignVCenter | Qt::AlignLeft, lessText);
    for (int level = 0; level < HeatmapCalendar::levelCount; ++level) {
        CardPainter::fill(painter, swatchRect(level), swatchRadius, HeatmapCalendar::levelColour(level));
    }
    painter.drawText(moreRect(), Qt::AlignVCenter | Qt::AlignLeft, moreText);
}
