#pragma once

#include <QString>
#include <QVariantMap>

class Preferences;

// What the command line tells of Zentrel: the counters of the running instance, or the stored
// ones while none runs.
struct StatusSnapshot {
    bool running = false;
    qint64 totalPrompts = 0;
    qint64 promptsThisSet = 0;
    qint64 promptLimit = 0;
    qint64 pendingSets = 0;
    qint64 repsPerSet = 0;
    QString exercise;

    // This status with the running instance's properties (all of them, or the changed ones) applied.
    StatusSnapshot updatedFrom(const QVariantMap& properties) const;
    // The stored counters as the model loads them. Only reads: the store is left byte for byte.
    static StatusSnapshot fromStore(const Preferences& store);
};
