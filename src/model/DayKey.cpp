#include "DayKey.h"

QString dayKey(QDate day) {
    return day.toString(QStringLiteral("yyyy-MM-dd"));
}

QString dayKey(const QDateTime& moment) {
    return dayKey(moment.toLocalTime().date());
}
