#include "ui/settab/OverflowCircle.h"

#include "ui/kit/CirclePainter.h"
#include "ui/kit/Palette.h"
#include "ui/kit/Typography.h"
#include "ui/settab/SetCircle.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

namespace {
constexpr int textSize = 11;

// Eleven points, or less when a long count would not fit the slot.
QFont fittingFont(const QString& text, qreal width) {
    const QFont font = Typography::system(textSize, QFont::Bold);
    const qreal natural = QFontMetricsF(font).horizontalAdvance(text);
    if (natural <= width) {
        return font;
    }
    return Typography::system(std::max(1, int(textSize * width / natural)), QFont::Bold);
}
} // namespace

OverflowCircle::OverflowCircle(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("overflowCircle"));
    setFixedSize(sizeHint());
    setCount(1);
}

void OverflowCircle::setCount(qint64 count) {
    m_text = QLatin1Char('+') + QString::number(count);
    m_font = fittingFont(m_text, sizeHint().width());
    setAccessibleName(QStringLiteral("%1 more sets owed").arg(count));
    update();
}

// Same slot as a set circle, so the row's rhythm does not change at the overflow.
QSize OverflowCircle::sizeHint() const {
    return QSize(SetCircle::slotSize, SetCircle::slotSize);
}

void OverflowCircle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF slot(rect());
    CirclePainter::paint(painter, slot.center(), SetCircle::diameter,
                         Palette::withAlpha(Palette::accentCyan, 0.1),
                         Palette::withAlpha(Palette::accentCyan, 0.4));
    painter.setFont(m_font);
    painter.setPen(Palette::withAlpha(Palette::accentCyan, 0.7));
    painter.drawText(slot, Qt::AlignCenter, m_text);
}
