#include "TrackerState.h"

#include "DayKey.h"
#include "ExerciseCatalogue.h"
#include "FileWatcher.h"
#include "NotificationManager.h"
#include "PreferenceKeys.h"
#include "Preferences.h"

#include <QDir>
#include <QLoggingCategory>
#include <QPointer>
#include <QUuid>
#include <limits>

Q_LOGGING_CATEGORY(lcModel, "zentrel.model", QtWarningMsg)

namespace {
// Prompts per set and repetitions per set when nothing usable is stored.
constexpr qint64 defaultPerSet = 10;

qint64 storedPerSetOrDefault(std::optional<qint64> stored) {
    const qint64 value = stored.value_or(0);
    return value < 1 ? defaultPerSet : value;
}

// Counters come from a file that can be edited by hand; a count at the top of the range stays
// there instead of wrapping round to a negative number.
qint64 saturatingAdd(qint64 a, qint64 b) {
    qint64 sum = 0;
    if (qAddOverflow(a, b, &sum))
        return b > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
    return sum;
}
} // namespace

TrackerState::TrackerState(QObject* parent)
    : TrackerState(Environment{}, parent) {}

TrackerState::TrackerState(Environment environment, QObject* parent)
    : QObject(parent)
    , m_ownedStore(environment.store ? nullptr : std::make_unique<Preferences>())
    , m_store(environment.store ? environment.store : m_ownedStore.get())
    , m_notifications(environment.notifications ? environment.notifications : &NotificationManager::shared())
    , m_clock(std::move(environment.clock))
    , m_pollInterval(environment.pollInterval)
    , m_projectsDirectory(environment.projectsDirectory.isEmpty() ? projectsDirectoryFromEnvironment()
                                                                  : environment.projectsDirectory)
    , m_exerciseType(defaultExerciseType())
    , m_sessionStartDate(now()) {
    load();
    hookMarkComplete();
}

TrackerState::~TrackerState() = default;

qint64 TrackerState::totalRequests() const {
    return m_totalRequests;
}
qint64 TrackerState::pendingSets() const {
    return m_pendingSets;
}
const QList<CompletedSet>& TrackerState::completedHistory() const {
    return m_completedHistory;
}
const TrackerState::DailyPrompts& TrackerState::dailyPrompts() const {
    return m_dailyPrompts;
}
qint64 TrackerState::promptLimit() const {
    return m_promptLimit;
}
qint64 TrackerState::pushupsPerSet() const {
    return m_pushupsPerSet;
}
bool TrackerState::soundEnabled() const {
    return m_soundEnabled;
}
QString TrackerState::exerciseType() const {
    return m_exerciseType;
}
QDateTime TrackerState::sessionStartDate() const {
    return m_sessionStartDate;
}

// Set boundaries fall on multiples of promptLimit of the running total, so this is a remainder
// rather than a count kept since the last set.
qint64 TrackerState::promptsThisSet() const {
    return m_promptLimit < 1 ? 0 : m_totalRequests % m_promptLimit;
}

QString TrackerState::projectsDirectory() const {
    return m_projectsDirectory;
}

QString TrackerState::projectsDirectoryFromEnvironment() {
    // The assistant relocates everything it keeps under ~/.claude to this folder when it is set.
    const QString configDir = qEnvironmentVariable("CLAUDE_CONFIG_DIR");
    const QString base = configDir.isEmpty() ? QDir::homePath() + QStringLiteral("/.claude") : configDir;
    return QDir::cleanPath(base + QStringLiteral("/projects"));
}

FileWatcher* TrackerState::fileWatcher() const {
    return m_fileWatcher.get();
}

QDateTime TrackerState::now() const {
    return m_clock ? m_clock() : QDateTime::currentDateTime();
}

// Every assignment stores its key, even when the value is unchanged; observers hear only of
// real changes, and only after the store holds the new value.
template <typename T, typename Persist>
void TrackerState::assign(T& field, T value, void (TrackerState::*changed)(), Persist persist) {
    const bool differs = !(field == value);
    field = std::move(value);
    persist(field);
    if (differs)
        Q_EMIT(this->*changed)();
}

void TrackerState::assignTotalRequests(qint64 value) {
    const qint64 before = promptsThisSet();
    assign(m_totalRequests, value, &TrackerState::totalRequestsChanged,
           [this](qint64 v) { m_store->setInteger(PreferenceKeys::totalRequests, v); });
    notifyIfPromptsThisSetMoved(before);
}

void TrackerState::assignPendingSets(qint64 value) {
    assign(m_pendingSets, value, &TrackerState::pendingSetsChanged,
           [this](qint64 v) { m_store->setInteger(PreferenceKeys::pendingSets, v); });
}

void TrackerState::assignCompletedHistory(QList<CompletedSet> value) {
    assign(m_completedHistory, std::move(value), &TrackerState::completedHistoryChanged,
           [this](const QList<CompletedSet>& v) { m_store->saveHistory(v); });
}

void TrackerState::assignDailyPrompts(DailyPrompts value) {
    assign(m_dailyPrompts, std::move(value), &TrackerState::dailyPromptsChanged,
           [this](const DailyPrompts& v) { m_store->saveDailyPrompts(v); });
}

void TrackerState::setPromptLimit(qint64 value) {
    const qint64 before = promptsThisSet();
    assign(m_promptLimit, value, &TrackerState::promptLimitChanged,
           [this](qint64 v) { m_store->setInteger(PreferenceKeys::promptLimit, v); });
    notifyIfPromptsThisSetMoved(before);
}

void TrackerState::setPushupsPerSet(qint64 value) {
    assign(m_pushupsPerSet, value, &TrackerState::pushupsPerSetChanged,
           [this](qint64 v) { m_store->setInteger(PreferenceKeys::pushupsPerSet, v); });
}

void TrackerState::setSoundEnabled(bool value) {
    assign(m_soundEnabled, value, &TrackerState::soundEnabledChanged,
           [this](bool v) { m_store->setBoolean(PreferenceKeys::soundEnabled, v); });
}

void TrackerState::setExerciseType(const QString& value) {
    assign(m_exerciseType, value, &TrackerState::exerciseTypeChanged,
           [this](const QString& v) { m_store->setText(PreferenceKeys::exerciseType, v); });
}

void TrackerState::notifyIfPromptsThisSetMoved(qint64 before) {
    if (promptsThisSet() != before)
        Q_EMIT promptsThisSetChanged();
}

// Key by key in a fixed order; every value taken is assigned like any other, so it is written
// straight back in this program's own form (and the two limits are always present afterwards).
void TrackerState::load() {
    if (const auto stored = m_store->integer(PreferenceKeys::totalRequests))
        assignTotalRequests(*stored);
    if (const auto stored = m_store->integer(PreferenceKeys::pendingSets))
        assignPendingSets(*stored);
    setPromptLimit(storedPerSetOrDefault(m_store->integer(PreferenceKeys::promptLimit)));
    setPushupsPerSet(storedPerSetOrDefault(m_store->integer(PreferenceKeys::pushupsPerSet)));
    if (const auto stored = m_store->boolean(PreferenceKeys::soundEnabled))
        setSoundEnabled(*stored);
    if (const auto stored = m_store->text(PreferenceKeys::exerciseType))
        setExerciseType(*stored);
    if (auto stored = m_store->history())
        assignCompletedHistory(std::move(*stored));
    if (auto stored = m_store->dailyPrompts())
        assignDailyPrompts(std::move(*stored));
}

void TrackerState::hookMarkComplete() {
    m_notifications->onMarkComplete = [model = QPointer(this)] {
        if (model)
            model->completeSet();
    };
}

void TrackerState::startWatching() {
    // A second watcher would count every prompt twice.
    if (m_fileWatcher)
        return;
    m_notifications->requestPermission();
    backfillDailyPrompts();
    auto watcher = std::make_unique<FileWatcher>(m_pollInterval);
    watcher->onNewRequest = [model = QPointer(this)] {
        if (model)
            model->recordPrompt();
    };
    watcher->start(m_projectsDirectory);
    m_fileWatcher = std::move(watcher);
    qCInfo(lcModel).noquote() << "watching" << m_projectsDirectory;
}

// Seeds the per-day counts of an install that kept a history from before days were counted:
// each completed set stands for promptLimit prompts on the day it was cleared.
void TrackerState::backfillDailyPrompts() {
    if (!m_dailyPrompts.isEmpty() || m_completedHistory.isEmpty())
        return;
    const QList<CompletedSet> history = m_completedHistory;
    for (const CompletedSet& set : history)
        addPromptsOn(dayKey(set.date), m_promptLimit);
}

void TrackerState::addPromptsOn(const QString& day, qint64 count) {
    DailyPrompts updated = m_dailyPrompts;
    updated[day] = saturatingAdd(updated.value(day), count);
    assignDailyPrompts(std::move(updated));
}

void TrackerState::recordPrompt() {
    assignTotalRequests(saturatingAdd(m_totalRequests, 1));
    addPromptsOn(dayKey(now()), 1);
    qCInfo(lcModel) << "prompt counted, total" << m_totalRequests;
    if (m_promptLimit < 1 || m_totalRequests % m_promptLimit != 0)
        return;
    assignPendingSets(saturatingAdd(m_pendingSets, 1));
    qCInfo(lcModel) << "set owed, pending" << m_pendingSets;
    m_notifications->sendSetAlert(m_pendingSets, m_totalRequests, m_pushupsPerSet, m_exerciseType,
                                  m_soundEnabled);
}

void TrackerState::completeSet() {
    if (m_pendingSets < 1)
        return;
    assignPendingSets(m_pendingSets - 1);
    QList<CompletedSet> history = m_completedHistory;
    history.prepend(CompletedSet{QUuid::createUuid(), now(), m_pushupsPerSet, m_exerciseType});
    assignCompletedHistory(history);
    if (history.size() > historyLimit) {
        history.resize(historyLimit);
        assignCompletedHistory(std::move(history));
    }
}

// Daily counts and the settings outlive a session on purpose: they describe the user, not it.
void TrackerState::resetSession() {
    assignTotalRequests(0);
    assignPendingSets(0);
    assignCompletedHistory({});
    const QDateTime started = now();
    if (started != m_sessionStartDate) {
        m_sessionStartDate = started;
        Q_EMIT sessionStartDateChanged();
    }
    if (m_fileWatcher)
        m_fileWatcher->restart();
}
