#include "model/DayKey.h"

#include <QCalendar>
#include <cstdio>

// Written by hand rather than from the "yyyy-MM-dd" pattern, whose interpretation costs more than
// everything else a counted prompt does; a key is made for every prompt and every heatmap cell.
// Years outside 0 to 9999 are left to the pattern, which writes them the way it always has.
QString dayKey(QDate day) {
    const QCalendar::YearMonthDay parts = QCalendar().partsFromDate(day);
    if (!parts.isValid() || parts.year < 0 || parts.year > 9999) {
        return day.toString(QStringLiteral("yyyy-MM-dd"));
    }
    char text[40];
    const int length = std::snprintf(text, sizeof text, "%04d-%02d-%02d", parts.year, parts.month, parts.day);
    return QString::fromLatin1(text, length);
}

QString dayKey(const QDateTime& moment) {
    return dayKey(moment.toLocalTime().date());
}
