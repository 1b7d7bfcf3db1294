#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// A calendar day as "yyyy-MM-dd": the key of the per-day prompt counts.
QString dayKey(QDate day);
// The day on which the given moment falls in the local time zone.
QString dayKey(const QDateTime& moment);
