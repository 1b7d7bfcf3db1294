#pragma once

#include <QString>

// The names under which the model's fields are stored; each is the field's own name.
namespace PreferenceKeys {
inline const QString totalRequests = QStringLiteral("totalRequests");
inline const QString pendingSets = QStringLiteral("pendingSets");
inline const QString promptLimit = QStringLiteral("promptLimit");
inline const QString pushupsPerSet = QStringLiteral("pushupsPerSet");
inline const QString soundEnabled = QStringLiteral("soundEnabled");
inline const QString exerciseType = QStringLiteral("exerciseType");
inline const QString completedHistory = QStringLiteral("completedHistory");
inline const QString dailyPrompts = QStringLiteral("dailyPrompts");
} // namespace PreferenceKeys
