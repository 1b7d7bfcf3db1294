#include "ui/settings/WatchedDirectoryLine.h"

#include "ui/kit/CardPainter.h"
#include "ui/kit/Palette.h"
#include "ui/kit/Typography.h"

#include <QPainter>

namespace {
constexpr qreal cornerRadius = 8;
const QString ellipsis = QStringLiteral("\u2026");
} // namespace

WatchedDirectoryLine::WatchedDirectoryLine(QWidget* parent)
    : QWidget(parent)
    , m_font(Typography::system(11)) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void WatchedDirectoryLine::setDirectory(const QString& assistant, const QString& path) {
    m_assistant = assistant;
    m_path = path;
    setAccessibleName(assistant);
    setAccessibleDescription(path);
    update();
}

// The name and a gap as wide as a space after it.
int WatchedDirectoryLine::nameWidth() const {
    return QFontMetrics(m_font).horizontalAdvance(m_assistant + QLatin1Char(' '));
}

QString WatchedDirectoryLine::displayedText() const {
    return QFontMetrics(m_font).elidedText(m_path, Qt::ElideMiddle, width() - 2 * sidePadding - nameWidth());
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
    const QRect text = rect().adjusted(sidePadding, verticalPadding, -sidePadding, -verticalPadding);
    constexpr auto flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    painter.setPen(Qt::white);
    painter.drawText(text, flags, m_assistant);
    painter.setPen(Palette::mutedGrey);
    painter.drawText(text.adjusted(nameWidth(), 0, 0, 0), flags, displayedText());
}
