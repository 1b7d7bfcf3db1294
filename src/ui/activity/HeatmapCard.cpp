#include "ui/activity/HeatmapCard.h"

#include "model/DayKey.h"
#include "ui/kit/CardPainter.h"
#include "ui/kit/Palette.h"
#include "ui/kit/Typography.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <QtMath>

namespace {
constexpr int naturalWidth = 232; // the panel's width less the tab's and the card's padding
constexpr int minimumCellSize = 4;
constexpr int monthFontSize = 7;
} // namespace

HeatmapCard::HeatmapCard(QWidget* parent)
    : QWidget(parent)
    , m_monthFont(Typography::system(monthFontSize, QFont::Medium))
    , m_monthRowHeight(QFontMetrics(m_monthFont).height()) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void HeatmapCard::setDays(const QList<HeatmapCalendar::Column>& weeks,
                          const QMap<QString, qint64>& dailyPrompts, const QLocale& locale) {
    m_weeks = weeks;
    m_locale = locale;
    m_counts.clear();
    m_monthLabels.clear();
    for (const HeatmapCalendar::Column& column : weeks) {
        m_monthLabels.append(HeatmapCalendar::monthLabel(column, locale));
        for (const QDate& day : column) {
            m_counts.insert(day, dailyPrompts.value(dayKey(day), 0));
        }
    }
    update();
}

qint64 HeatmapCard::countOn(QDate day) const {
    return m_counts.value(day, 0);
}

qreal HeatmapCard::cellSize(int width) const {
    const int columns = HeatmapCalendar::columnCount;
    return std::max<qreal>(minimumCellSize, qreal(width - 2 * padding - spacing * (columns - 1)) / columns);
}

qreal HeatmapCard::columnLeft(int column) const {
    return padding + column * (cellSize(width()) + spacing);
}

QRectF HeatmapCard::cellRect(int column, int row) const {
    const qreal size = cellSize(width());
    const qreal top = padding + m_monthRowHeight + spacing + row * (size + spacing);
    return {columnLeft(column), top, size, size};
}

QRectF HeatmapCard::monthLabelRect(int column) const {
    return {columnLeft(column), qreal(padding), cellSize(width()), qreal(m_monthRowHeight)};
}

int HeatmapCard::heightForWidth(int width) const {
    const int rows = HeatmapCalendar::daysPerWeek;
    return qCeil(2 * padding + m_monthRowHeight + spacing + rows * cellSize(width) + (rows - 1) * spacing);
}

QSize HeatmapCard::sizeHint() const {
    return {naturalWidth, heightForWidth(naturalWidth)};
}

QSize HeatmapCard::minimumSizeHint() const {
    const int columns = HeatmapCalendar::columnCount;
    const int width = 2 * padding + columns * minimumCellSize + (columns - 1) * spacing;
    return {width, heightForWidth(width)};
}

QString HeatmapCard::tooltipAt(const QPoint& position) const {
    for (int column = 0; column < m_weeks.size(); ++column) {
        for (int row = 0; row < m_weeks[column].size(); ++row) {
            if (cellRect(column, row).contains(position)) {
                const QDate day = m_weeks[column][row];
                return HeatmapCalendar::dayTooltip(countOn(day), day, m_locale);
            }
        }
    }
    return {};
}

bool HeatmapCard::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return QWidget::event(event);
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString text = tooltipAt(help->pos());
    if (text.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(help->globalPos(), text, this);
    }
    return true;
}

void HeatmapCard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    CardPainter::fill(painter, rect(), cornerRadius);
    paintMonthLabels(painter);
    paintCells(painter);
}

void HeatmapCard::paintMonthLabels(QPainter& painter) const {
    painter.setFont(m_monthFont);
    painter.setPen(Palette::mutedGrey);
    for (int column = 0; column < m_monthLabels.size(); ++column) {
        // Centred over the column and free to overhang it, so a long name is never cut.
        const QRectF cell = monthLabelRect(column);
        const QRectF room(cell.center().x() - width() / 2.0, cell.top(), width(), cell.height());
        painter.drawText(room, Qt::AlignCenter, m_monthLabels[column]);
    }
}

void HeatmapCard::paintCells(QPainter& painter) const {
    for (int column = 0; column < m_weeks.size(); ++column) {
        for (int row = 0; row < m_weeks[column].size(); ++row) {
            const int level = HeatmapCalendar::intensityLevel(countOn(m_weeks[column][row]));
            CardPainter::fill(painter, cellRect(column, row), cellRadius,
                              HeatmapCalendar::levelColour(level));
        }
    }
}
