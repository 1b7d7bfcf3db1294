#pragma once

#include "ui/activity/HeatmapCalendar.h"

#include <QLocale>
#include <QMap>
#include <QWidget>

// The ten-week grid of prompts per day with the month names above it, on a card. Columns share
// the width equally and cells stay square, so the card's height follows its width.
class HeatmapCard : public QWidget {
    Q_OBJECT

public:
    static constexpr int padding = 10;
    static constexpr int spacing = 3;
    static constexpr qreal cornerRadius = 10;
    static constexpr qreal cellRadius = 2;

    explicit HeatmapCard(QWidget* parent = nullptr);

    void setDays(const QList<HeatmapCalendar::Column>& weeks, const QMap<QString, qint64>& dailyPrompts,
                 const QLocale& locale);

    const QList<HeatmapCalendar::Column>& weeks() const { return m_weeks; }
    const QStringList& monthLabels() const { return m_monthLabels; }
    qint64 countOn(QDate day) const;

    // Geometry shared by painting, tooltips and tests. Rows past a column's days are placeholders.
    QRectF cellRect(int column, int row) const;
    QRectF monthLabelRect(int column) const;
    // Empty over a placeholder or between cells.
    QString tooltipAt(const QPoint& position) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    qreal cellSize(int width) const;
    qreal columnLeft(int column) const;
    void paintMonthLabels(QPainter& painter) const;
    void paintCells(QPainter& painter) const;

    QList<HeatmapCalendar::Column> m_weeks;
    QMap<QDate, qint64> m_counts;
    QStringList m_monthLabels;
    QLocale m_locale;
    QFont m_monthFont;
    int m_monthRowHeight; // of m_monthFont, measured once: cell geometry is asked for per cell
};
