#pragma once

#include "alerts/NotificationManager.h"
#include "model/Preferences.h"
#include "model/TrackerState.h"

#include <QDateTime>
#include <QString>
#include <memory>

// A model in a store of its own, driven through its public operations on a clock that the
// demo moves by hand, so that history and heatmap look like weeks of real use.
class DemoModel {
public:
    DemoModel(const QString& storeFile, const QDateTime& now);

    TrackerState& state() { return *m_state; }

    void recordPrompts(int count);
    // Ten weeks of prompts, most sets cleared the day they came due, ending with `owed` sets
    // owed and a few prompts into the next set.
    void fillTenWeeks(int owed);

private:
    void liveDay(int daysAgo);

    const QDateTime m_now;
    QDateTime m_clock;
    Preferences m_store;
    NotificationManager m_notifications;
    std::unique_ptr<TrackerState> m_state;
};
