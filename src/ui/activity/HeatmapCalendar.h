#pragma once

#include <QColor>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>

// What the activity heatmap shows, derived afresh from the clock, the locale and the counts.
namespace HeatmapCalendar {
inline constexpr int columnCount = 10;
inline constexpr int daysPerWeek = 7;
inline constexpr int levelCount = 5;

using Column = QList<QDate>; // consecutive days of one week, oldest first

// Ten week columns ending with the current week. Every column starts on firstDayOfWeek; all but
// the last hold seven days, the last holds the days of this week up to and including today.
QList<Column> heatmapWeeks(const QDateTime& now, Qt::DayOfWeek firstDayOfWeek);

// 0 for no prompts, then 1 to 4 for 1-3, 4-8, 9-15 and 16 or more.
int intensityLevel(qint64 count);
QColor levelColour(int level);

// The abbreviated month of the column's first day when that day is among a month's first
// seven (so each month is named over the first week that starts in it), else empty.
QString monthLabel(const Column& column, const QLocale& locale);

// "<n> prompt(s) — <medium date>", e.g. "3 prompts — Dec 5, 2026" in American English.
QString dayTooltip(qint64 count, QDate date, const QLocale& locale);
QString mediumDate(QDate date, const QLocale& locale);
} // namespace HeatmapCalendar
