#include "app/cli/StatusSnapshot.h"

#include "common/ZentrelBus.h"

namespace {
template <typename Field> void take(const QVariantMap& properties, const QString& name, Field& field) {
    const auto found = properties.constFind(name);
    if (found != properties.cend()) {
        field = found->value<Field>();
    }
}
} // namespace

// PromptsThisSet is not taken: the counters work it out as the running instance does.
StatusSnapshot StatusSnapshot::updatedFrom(const QVariantMap& properties) const {
    namespace Property = ZentrelBus::Property;
    StatusSnapshot updated = *this;
    updated.running = true;
    take(properties, Property::totalPrompts, updated.counters.totalPrompts);
    take(properties, Property::promptLimit, updated.counters.promptLimit);
    take(properties, Property::pendingSets, updated.counters.pendingSets);
    take(properties, Property::repsPerSet, updated.counters.repsPerSet);
    take(properties, Property::exercise, updated.counters.exercise);
    return updated;
}

StatusSnapshot StatusSnapshot::fromStore(const Preferences& store) {
    return {false, StatusCounters::fromStore(store)};
}
