#pragma once

#include "model/CompletedSet.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <optional>

// The JSON texts of the two stored collections. Each decodes completely or not at all:
// one bad member makes the whole text unreadable.
namespace CollectionJson {
// An array of completed sets in list order (newest first).
QByteArray encodeHistory(const QList<CompletedSet>& history);
std::optional<QList<CompletedSet>> decodeHistory(const QByteArray& json);

// One object: day key -> prompts counted that day.
QByteArray encodeDailyPrompts(const QMap<QString, qint64>& dailyPrompts);
std::optional<QMap<QString, qint64>> decodeDailyPrompts(const QByteArray& json);
} // namespace CollectionJson
