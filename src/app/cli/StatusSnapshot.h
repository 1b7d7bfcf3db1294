#pragma once

#include "model/StatusCounters.h"

#include <QVariantMap>

class Preferences;

// What the command line tells of Zentrel: the counters of the running instance, or the stored
// ones while none runs.
struct StatusSnapshot {
    bool running = false;
    StatusCounters counters;

    // This status with the running instance's properties (all of them, or the changed ones) applied.
    StatusSnapshot updatedFrom(const QVariantMap& properties) const;
    // The stored counters as the model loads them. Only reads: the store is left byte for byte.
    static StatusSnapshot fromStore(const Preferences& store);
};
