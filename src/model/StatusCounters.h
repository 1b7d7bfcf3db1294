#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

class Preferences;

// The counters the status is told from, whether they come from the running model or from the store
// while no Zentrel runs; what follows from them is worked out here, once.
struct StatusCounters {
    static constexpr qint64 defaultPerSet = 10;

    qint64 totalPrompts = 0;
    qint64 promptLimit = 0;
    qint64 pendingSets = 0;
    qint64 repsPerSet = 0;
    QString exercise;

    // Set boundaries fall on multiples of promptLimit of the running total, so this is a remainder
    // rather than a count kept since the last set; 0 when prompts per set is below 1.
    qint64 promptsThisSet() const;
    // How far into the current set, from 0 to 1; 0 when prompts per set is below 1.
    qreal fraction() const;
    // The same in whole percent.
    int percentage() const;

    // The stored counters as the model loads them: what the store lacks, or holds below 1 where
    // a count per set is meant, is the default.
    static StatusCounters fromStore(const Preferences& store);
    static qint64 perSetOrDefault(std::optional<qint64> stored);

    bool operator==(const StatusCounters&) const = default;
};
