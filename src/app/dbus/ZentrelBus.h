#pragma once

#include <QString>

// Where the running Zentrel answers on the session bus, beside its name (AppIdentity::busName).
// Bars and scripts outside this program rely on these names.
namespace ZentrelBus {
inline const QString objectPath = QStringLiteral("/app/zentrel/Zentrel");
inline const QString interface = QStringLiteral("app.zentrel.Zentrel1");
inline const QString nothingOwedError = QStringLiteral("app.zentrel.Zentrel1.Error.NothingOwed");
} // namespace ZentrelBus
