#pragma once

#include <QString>

// Where the running Zentrel answers on the session bus, beside its name (AppIdentity::busName).
// Bars and scripts outside this program rely on these names.
namespace ZentrelBus {
inline const QString objectPath = QStringLiteral("/app/zentrel/Zentrel");
inline const QString interface = QStringLiteral("app.zentrel.Zentrel1");
inline const QString nothingOwedError = QStringLiteral("app.zentrel.Zentrel1.Error.NothingOwed");

// The interface's read-only properties, announced with PropertiesChanged.
namespace Property {
inline const QString totalPrompts = QStringLiteral("TotalPrompts");
inline const QString promptsThisSet = QStringLiteral("PromptsThisSet");
inline const QString promptLimit = QStringLiteral("PromptLimit");
inline const QString pendingSets = QStringLiteral("PendingSets");
inline const QString repsPerSet = QStringLiteral("RepsPerSet");
inline const QString exercise = QStringLiteral("Exercise");
inline const QString todayPrompts = QStringLiteral("TodayPrompts");
inline const QString completedSets = QStringLiteral("CompletedSets");
} // namespace Property
} // namespace ZentrelBus
