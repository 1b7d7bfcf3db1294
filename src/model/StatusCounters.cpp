#include "model/StatusCounters.h"

#include "model/ExerciseCatalogue.h"
#include "model/PreferenceKeys.h"
#include "model/Preferences.h"

#include <algorithm>

qint64 StatusCounters::promptsThisSet() const {
    return promptLimit < 1 ? 0 : totalPrompts % promptLimit;
}

// Without a limit of 1 or more there are no prompts this set, so both shares are 0 then.
qreal StatusCounters::fraction() const {
    // The counters may come from a file edited by hand, so the share is kept in range.
    const qreal share = qreal(promptsThisSet()) / qreal(std::max<qint64>(promptLimit, 1));
    return std::clamp(share, qreal(0), qreal(1));
}

int StatusCounters::percentage() const {
    // Not from fraction(): 29/100 in double precision is a hair under 29 percent.
    const long double share = 100.0L * promptsThisSet() / std::max<qint64>(promptLimit, 1);
    return static_cast<int>(std::clamp<long double>(share, 0, 100));
}

qint64 StatusCounters::perSetOrDefault(std::optional<qint64> stored) {
    const qint64 value = stored.value_or(0);
    return value < 1 ? defaultPerSet : value;
}

StatusCounters StatusCounters::fromStore(const Preferences& store) {
    StatusCounters counters;
    counters.totalPrompts = store.integer(PreferenceKeys::totalRequests).value_or(0);
    counters.pendingSets = store.integer(PreferenceKeys::pendingSets).value_or(0);
    counters.promptLimit = perSetOrDefault(store.integer(PreferenceKeys::promptLimit));
    counters.repsPerSet = perSetOrDefault(store.integer(PreferenceKeys::pushupsPerSet));
    counters.exercise = store.text(PreferenceKeys::exerciseType).value_or(defaultExerciseType());
    return counters;
}
