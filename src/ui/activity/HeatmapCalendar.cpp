#include "ui/activity/HeatmapCalendar.h"

#include "ui/kit/Palette.h"

#include <algorithm>
#include <memory>
#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

namespace HeatmapCalendar {
namespace {
QDate startOfWeek(QDate day, Qt::DayOfWeek firstDayOfWeek) {
    return day.addDays(-((day.dayOfWeek() - firstDayOfWeek + daysPerWeek) % daysPerWeek));
}

Column daysUpTo(QDate weekStart, QDate today) {
    Column days;
    for (int offset = 0; offset < daysPerWeek && weekStart.addDays(offset) <= today; ++offset) {
        days.append(weekStart.addDays(offset));
    }
    return days;
}
} // namespace

QList<Column> heatmapWeeks(const QDateTime& now, Qt::DayOfWeek firstDayOfWeek) {
    const QDate today = now.date();
    QList<Column> columns;
    QDate weekStart = startOfWeek(today, firstDayOfWeek).addDays(-daysPerWeek * (columnCount - 1));
    for (; weekStart <= today; weekStart = weekStart.addDays(daysPerWeek)) {
        columns.append(daysUpTo(weekStart, today));
    }
    return columns;
}

int intensityLevel(qint64 count) {
    if (count <= 0) {
        return 0;
    }
    if (count <= 3) {
        return 1;
    }
    if (count <= 8) {
        return 2;
    }
    if (count <= 15) {
        return 3;
    }
    return 4;
}

QColor levelColour(int level) {
    static constexpr double cyanOpacity[levelCount] = {0, 0.35, 0.6, 0.82, 1.0};
    if (level <= 0) {
        return Palette::cardHighlight;
    }
    return Palette::withAlpha(Palette::accentCyan, cyanOpacity[std::min(level, levelCount - 1)]);
}

QString monthLabel(const Column& column, const QLocale& locale) {
    constexpr int firstWeekOfMonth = 7;
    if (column.isEmpty() || column.first().day() > firstWeekOfMonth) {
        return {};
    }
    return locale.toString(column.first(), QStringLiteral("MMM"));
}

QString dayTooltip(qint64 count, QDate date, const QLocale& locale) {
    const QString noun = count == 1 ? QStringLiteral(" prompt") : QStringLiteral(" prompts");
    return QString::number(count) + noun + QStringLiteral(" \u2014 ") + mediumDate(date, locale);
}

QString mediumDate(QDate date, const QLocale& locale) {
    // The day is formatted at noon UTC by a UTC formatter, so the printed day is the calendar day
    // whatever time zone ICU and Qt each believe the process is in.
    const std::unique_ptr<icu::DateFormat> format(
        icu::DateFormat::createDateInstance(icu::DateFormat::kMedium, icu::Locale(locale.name().toLatin1())));
    if (!format) {
        return locale.toString(date, QLocale::ShortFormat);
    }
    format->adoptTimeZone(icu::TimeZone::createTimeZone(icu::UnicodeString(u"UTC")));
    const QDateTime noon(date, QTime(12, 0), Qt::UTC);
    icu::UnicodeString text;
    format->format(static_cast<UDate>(noon.toMSecsSinceEpoch()), text);
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}
} // namespace HeatmapCalendar
