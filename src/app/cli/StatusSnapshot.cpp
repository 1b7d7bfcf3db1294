#include "cli/StatusSnapshot.h"

#include "ExerciseCatalogue.h"
#include "PreferenceKeys.h"
#include "Preferences.h"
#include "TrackerState.h"

namespace {
void take(const QVariantMap& properties, const QString& name, qint64& field) {
    const auto found = properties.constFind(name);
    if (found != properties.cend()) {
        field = found->toLongLong();
    }
}
} // namespace

StatusSnapshot StatusSnapshot::updatedFrom(const QVariantMap& properties) const {
    StatusSnapshot updated = *this;
    updated.running = true;
    take(properties, QStringLiteral("TotalPrompts"), updated.totalPrompts);
    take(properties, QStringLiteral("PromptsThisSet"), updated.promptsThisSet);
    take(properties, QStringLiteral("PromptLimit"), updated.promptLimit);
    take(properties, QStringLiteral("PendingSets"), updated.pendingSets);
    take(properties, QStringLiteral("RepsPerSet"), updated.repsPerSet);
    const auto exercise = properties.constFind(QStringLiteral("Exercise"));
    if (exercise != properties.cend()) {
        updated.exercise = exercise->toString();
    }
    return updated;
}

StatusSnapshot StatusSnapshot::fromStore(const Preferences& store) {
    StatusSnapshot status;
    status.totalPrompts = store.integer(PreferenceKeys::totalRequests).value_or(0);
    status.pendingSets = store.integer(PreferenceKeys::pendingSets).value_or(0);
    status.promptLimit = TrackerState::perSetOrDefault(store.integer(PreferenceKeys::promptLimit));
    status.repsPerSet = TrackerState::perSetOrDefault(store.integer(PreferenceKeys::pushupsPerSet));
    status.exercise = store.text(PreferenceKeys::exerciseType).value_or(defaultExerciseType());
    status.promptsThisSet = status.totalPrompts % status.promptLimit;
    return status;
}
