#pragma once

#include <QString>

// Names other programs and tools rely on; they never change between releases. Every library
// may use them, so they live beside the settings all targets share.
namespace AppIdentity {
inline const QString applicationName = QStringLiteral("Zentrel");
inline const QString applicationId = QStringLiteral("app.zentrel.Zentrel");
inline const QString busName = applicationId;
inline const QString checkForUpdatesRequest = applicationId + QStringLiteral(".checkForUpdates");
inline const QString desktopEntryName = applicationId + QStringLiteral(".desktop");

// The version compiled in, "0.1" when the build did not set one.
inline QString appVersion() {
    const QString compiledIn = QStringLiteral(ZENTREL_VERSION);
    return compiledIn.isEmpty() ? QStringLiteral("0.1") : compiledIn;
}
} // namespace AppIdentity
