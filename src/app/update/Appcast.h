#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>

// The newest release an appcast (an RSS feed with sparkle-namespaced version data) offers to
// this platform. Items marked for Linux win over items that name no platform; items for
// another platform or on a beta channel are never offered.
class Appcast {
public:
    struct Release {
        QString version;        // compared with our own version
        QString displayVersion; // what people are shown; the version when the feed gives none
        QUrl downloadPage;      // http(s) only; empty when the item names none
    };

    // Fails with a reason when the feed is not well-formed XML or offers no release for us.
    static std::optional<Release> newestRelease(const QByteArray& feed, QString* error = nullptr);
};
