#include "settings/WatchedDirectoryLine.h"

#include "kit/CardPainter.h"
#include "kit/Palette.h"
#include "kit/Typography.h"

#include <QPainter>

namespace {
constexpr qreal cornerRadius = 8;
const QString ellipsis = QStringLiteral("\u2026");
} // namespace

WatchedDirectoryLine::WatchedDirectoryLine(QWidget* parent)
    : QWidget(parent)
    , m_font(Typography::system(11)) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(QStringLiteral("Watched directory"));
}

void WatchedDirectoryLine::setPath(const QString& path) {
    m_path = path;
    setAccessibleDescription(path);
    update();
}

QString WatchedDirectoryLine::displayedText() const {
    return QFontMetrics(m_font).elidedText(m_path, Qt::ElideMiddle, width() - 2 * sidePadding);
}

// Only room for the ellipsis is asked for: the line takes the column's width, never widens it.
QSize WatchedDirectoryLine::sizeHint() const {
    const QFontMetrics metrics(m_font);
    return {2 * sidePadding + metrics.horizontalAdvance(ellipsis), 2 * verticalPadding + metrics.height()};
}

void WatchedDirectoryLine::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    CardPainter::fill(painter, rect(), cornerRadius);
    painter.setFont(m_font);
    painter.setPen(Palette::mutedGrey);
    painter.drawText(rect().adjusted(sidePadding, verticalPadding, -sidePadding, -verticalPadding),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, displayedText());
}
