#pragma once

#include <QString>

// Names other programs and tools rely on; they never change between releases.
namespace AppIdentity {
inline const QString applicationId = QStringLiteral("app.zentrel.Zentrel");
inline const QString busName = applicationId;
inline const QString checkForUpdatesRequest = applicationId + QStringLiteral(".checkForUpdates");
inline const QString desktopEntryName = applicationId + QStringLiteral(".desktop");

// The version compiled in, "0.1" when the build did not set one.
QString appVersion();
} // namespace AppIdentity
