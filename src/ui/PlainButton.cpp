#include "PlainButton.h"

#include "FocusRing.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <utility>

namespace {
constexpr qreal focusRingRadius = 6;
}

PlainButton::PlainButton(QList<Run> runs, const QColor& colour, QWidget* parent)
    : QAbstractButton(parent)
    , m_runs(std::move(runs))
    , m_colour(colour)
    , m_lastRunShown(m_runs.isEmpty() ? QString() : m_runs.last().text) {
    setFocusPolicy(Qt::TabFocus);
}

void PlainButton::setColour(const QColor& colour) {
    m_colour = colour;
    update();
}

void PlainButton::setRunSpacing(int spacing) {
    m_runSpacing = spacing;
    elideLastRun();
    updateGeometry();
    update();
}

void PlainButton::setContentAlignment(Qt::Alignment alignment) {
    m_alignment = alignment;
    update();
}

void PlainButton::setLastRunElidable() {
    m_lastRunElidable = true;
    setSizePolicy(QSizePolicy::Preferred, sizePolicy().verticalPolicy());
    updateGeometry();
}

int PlainButton::runWidth(const Run& run) const {
    return QFontMetrics(run.font).horizontalAdvance(run.text);
}

int PlainButton::contentWidth() const {
    int width = m_runSpacing * std::max(0, int(m_runs.size()) - 1);
    for (const Run& run : m_runs)
        width += runWidth(run);
    return width;
}

int PlainButton::contentLeft() const {
    const int shownWidth = std::min(contentWidth(), width());
    if (m_alignment & Qt::AlignLeft)
        return 0;
    if (m_alignment & Qt::AlignRight)
        return width() - shownWidth;
    return (width() - shownWidth) / 2;
}

void PlainButton::elideLastRun() {
    if (m_runs.isEmpty())
        return;
    const Run& last = m_runs.last();
    const int roomForLast = width() - (contentWidth() - runWidth(last));
    m_lastRunShown = QFontMetrics(last.font).elidedText(last.text, Qt::ElideRight, roomForLast);
}

QSize PlainButton::sizeHint() const {
    int height = 0;
    for (const Run& run : m_runs)
        height = std::max(height, QFontMetrics(run.font).height());
    return {contentWidth(), height};
}

QSize PlainButton::minimumSizeHint() const {
    if (!m_lastRunElidable || m_runs.isEmpty())
        return sizeHint();
    const Run& last = m_runs.last();
    const int ellipsisWidth = QFontMetrics(last.font).horizontalAdvance(QChar(0x2026));
    return {contentWidth() - runWidth(last) + ellipsisWidth, sizeHint().height()};
}

void PlainButton::resizeEvent(QResizeEvent* event) {
    QAbstractButton::resizeEvent(event);
    elideLastRun();
}

void PlainButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(m_colour);
    int left = contentLeft();
    for (qsizetype index = 0; index < m_runs.size(); ++index) {
        const Run& run = m_runs[index];
        const bool last = index == m_runs.size() - 1;
        const int width = last ? this->width() - left : runWidth(run);
        painter.setFont(run.font);
        painter.drawText(QRect(left, 0, width, height()),
                         last ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter,
                         last ? m_lastRunShown : run.text);
        left += width + m_runSpacing;
    }
    FocusRing::paint(painter, *this, rect(), focusRingRadius);
}
