#include "DemoModel.h"

#include "model/ExerciseCatalogue.h"

#include <QDBusConnection>

namespace {
// Nothing is watched; the settings tab only shows this path.
const QString demoProjectsDirectory = QStringLiteral("/home/demo/.claude/projects");
constexpr int weeks = 10;

// A working rhythm: busy weekdays with a varying load, quiet or empty weekends.
int promptsOn(const QDate& day, int daysAgo) {
    if (day.dayOfWeek() >= 6) {
        return daysAgo % 3 == 0 ? 0 : daysAgo % 4;
    }
    return daysAgo % 11 == 5 ? 0 : 1 + (daysAgo * 37) % 17;
}
} // namespace

DemoModel::DemoModel(const QString& storeFile, const QDateTime& now)
    : m_now(now)
    , m_clock(now)
    , m_store(storeFile)
    , m_notifications(QDBusConnection(QStringLiteral("none"))) {
    TrackerState::Environment environment;
    environment.store = &m_store;
    environment.notifications = &m_notifications;
    environment.clock = [this] { return m_clock; };
    environment.projectsDirectory = demoProjectsDirectory;
    m_state = std::make_unique<TrackerState>(std::move(environment));
}

void DemoModel::recordPrompts(int count) {
    for (int prompt = 0; prompt < count; ++prompt) {
        m_state->recordPrompt();
    }
}

void DemoModel::fillTenWeeks(int owed) {
    for (int daysAgo = weeks * 7; daysAgo >= 0; --daysAgo) {
        liveDay(daysAgo);
    }
    m_clock = m_now;
    while (m_state->pendingSets() > owed) {
        m_state->completeSet();
    }
    while (m_state->pendingSets() < owed) {
        m_state->recordPrompt();
    }
    recordPrompts(4);
}

// Prompts from some time after nine in the morning, each set cleared as soon as it comes due.
void DemoModel::liveDay(int daysAgo) {
    const QDate day = m_now.date().addDays(-daysAgo);
    m_clock = QDateTime(day, QTime(9, (daysAgo * 13) % 60));
    const int exercise = (daysAgo / 2) % 3; // Pushups, Sit-ups, Squats in turn
    m_state->setExerciseType(exerciseTypes.at(exercise));
    m_state->setPushupsPerSet(exercise == 1 ? 15 : 10);
    const int prompts = promptsOn(day, daysAgo);
    for (int prompt = 0; prompt < prompts; ++prompt) {
        m_clock = m_clock.addSecs(17 * 60);
        m_state->recordPrompt();
        if (m_state->pendingSets() > 0) {
            m_state->completeSet();
        }
    }
}
