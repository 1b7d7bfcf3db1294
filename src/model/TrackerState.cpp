#include "model/TrackerState.h"

#include "alerts/NotificationManager.h"
#include "model/DayKey.h"
#include "model/ExerciseCatalogue.h"
#include "model/PreferenceKeys.h"
#include "model/Preferences.h"
#include "watcher/AssistantLogs.h"
#include "watcher/FileWatcher.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QPointer>
#include <QUuid>
#include <limits>
#include <utility>

Q_LOGGING_CATEGORY(lcModel, "zentrel.model", QtWarningMsg)

namespace {
// Counters come from a file that can be edited by hand; a count at the top of the range stays
// there instead of wrapping round to a negative number.
qint64 saturatingAdd(qint64 a, qint64 b) {
    qint64 sum = 0;
    if (qAddOverflow(a, b, &sum)) {
        return b > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
    }
    return sum;
}

QString nameOf(Assistant assistant) {
    const std::string_view name = assistantName(assistant);
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
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
    m_gathering = true;
    load();
    m_gathering = false;
    commit();
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

qint64 TrackerState::promptsThisSet() const {
    return status().promptsThisSet();
}

StatusCounters TrackerState::status() const {
    return {m_totalRequests, m_promptLimit, m_pendingSets, m_pushupsPerSet, m_exerciseType};
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

QList<WatchedDirectory> TrackerState::watchedDirectories() const {
    return QList<WatchedDirectory>{{nameOf(Assistant::Claude), m_projectsDirectory}} + m_otherDirectories;
}

// Every root but the first, Claude Code's, which is always shown.
void TrackerState::takeWatchedDirectories() {
    QList<WatchedDirectory> present;
    const std::vector<WatchedRoot>& roots = m_fileWatcher->roots();
    for (std::size_t index = 1; index < roots.size(); ++index) {
        if (m_fileWatcher->presentRoots()[index]) {
            present.append({nameOf(roots[index].assistant), QFile::decodeName(roots[index].folder.c_str())});
        }
    }
    if (present != m_otherDirectories) {
        m_otherDirectories = std::move(present);
        Q_EMIT watchedDirectoriesChanged();
    }
}

FileWatcher* TrackerState::fileWatcher() const {
    return m_fileWatcher.get();
}

QDateTime TrackerState::now() const {
    return m_clock ? m_clock() : QDateTime::currentDateTime();
}

// Every assignment stores its key, even when the value is unchanged; observers hear only of
// real changes, and only after the store holds the new value. Both wait for the commit and then
// happen once per field however often it was assigned: a burst of prompts encodes the day counts
// once and redraws each view once.
template <typename T> void TrackerState::assign(T& field, T value, Signal changed) {
    const bool differs = !(field == value);
    field = std::move(value);
    holdWrite(changed);
    if (differs) {
        notify(changed);
    }
}

void TrackerState::holdWrite(Signal field) {
    if (!m_heldWrites.contains(field)) {
        m_heldWrites.append(field);
    }
}

void TrackerState::notify(Signal changed) {
    if (!m_heldSignals.contains(changed)) {
        m_heldSignals.append(changed);
    }
}

// Writes the field that the change signal stands for, as it is now.
void TrackerState::write(Signal field) {
    if (field == &TrackerState::totalRequestsChanged) {
        m_store->setInteger(PreferenceKeys::totalRequests, m_totalRequests);
    } else if (field == &TrackerState::pendingSetsChanged) {
        m_store->setInteger(PreferenceKeys::pendingSets, m_pendingSets);
    } else if (field == &TrackerState::completedHistoryChanged) {
        m_store->saveHistory(m_completedHistory);
    } else if (field == &TrackerState::dailyPromptsChanged) {
        m_store->saveDailyPrompts(m_dailyPrompts);
    } else if (field == &TrackerState::promptLimitChanged) {
        m_store->setInteger(PreferenceKeys::promptLimit, m_promptLimit);
    } else if (field == &TrackerState::pushupsPerSetChanged) {
        m_store->setInteger(PreferenceKeys::pushupsPerSet, m_pushupsPerSet);
    } else if (field == &TrackerState::soundEnabledChanged) {
        m_store->setBoolean(PreferenceKeys::soundEnabled, m_soundEnabled);
    } else if (field == &TrackerState::exerciseTypeChanged) {
        m_store->setText(PreferenceKeys::exerciseType, m_exerciseType);
    }
}

void TrackerState::assignTotalRequests(qint64 value) {
    const qint64 before = promptsThisSet();
    assign(m_totalRequests, value, &TrackerState::totalRequestsChanged);
    notifyIfPromptsThisSetMoved(before);
}

void TrackerState::assignPendingSets(qint64 value) {
    assign(m_pendingSets, value, &TrackerState::pendingSetsChanged);
}

void TrackerState::assignCompletedHistory(QList<CompletedSet> value) {
    assign(m_completedHistory, std::move(value), &TrackerState::completedHistoryChanged);
}

void TrackerState::assignDailyPrompts(DailyPrompts value) {
    assign(m_dailyPrompts, std::move(value), &TrackerState::dailyPromptsChanged);
}

void TrackerState::setPromptLimit(qint64 value) {
    const qint64 before = promptsThisSet();
    assign(m_promptLimit, value, &TrackerState::promptLimitChanged);
    notifyIfPromptsThisSetMoved(before);
    commit();
}

void TrackerState::setPushupsPerSet(qint64 value) {
    assign(m_pushupsPerSet, value, &TrackerState::pushupsPerSetChanged);
    commit();
}

void TrackerState::setSoundEnabled(bool value) {
    assign(m_soundEnabled, value, &TrackerState::soundEnabledChanged);
    commit();
}

void TrackerState::setExerciseType(const QString& value) {
    assign(m_exerciseType, value, &TrackerState::exerciseTypeChanged);
    commit();
}

void TrackerState::notifyIfPromptsThisSetMoved(qint64 before) {
    if (promptsThisSet() != before) {
        notify(&TrackerState::promptsThisSetChanged);
    }
}

// Key by key in a fixed order; every value taken is assigned like any other, so it is written
// straight back in this program's own form (and the two limits are always present afterwards),
// all of it in the one sync that ends construction.
void TrackerState::load() {
    const StatusCounters counters = StatusCounters::fromStore(*m_store);
    assignTotalRequests(counters.totalPrompts);
    assignPendingSets(counters.pendingSets);
    setPromptLimit(counters.promptLimit);
    setPushupsPerSet(counters.repsPerSet);
    setExerciseType(counters.exercise);
    if (const auto stored = m_store->boolean(PreferenceKeys::soundEnabled)) {
        setSoundEnabled(*stored);
    }
    if (auto stored = m_store->history()) {
        assignCompletedHistory(std::move(*stored));
    }
    if (auto stored = m_store->dailyPrompts()) {
        assignDailyPrompts(std::move(*stored));
    }
}

void TrackerState::hookMarkComplete() {
    m_notifications->onMarkComplete = [model = QPointer(this)] {
        if (model) {
            model->completeSet();
        }
    };
}

void TrackerState::startWatching() {
    // A second watcher would count every prompt twice.
    if (m_fileWatcher) {
        return;
    }
    m_notifications->requestPermission();
    backfillDailyPrompts();
    commit();
    m_fileWatcher = std::make_unique<FileWatcher>(m_pollInterval);
    m_fileWatcher->onNewRequest = [model = QPointer(this)] {
        if (model) {
            model->recordPolledPrompt();
        }
    };
    m_fileWatcher->onPollFinished = [model = QPointer(this)] {
        if (model) {
            model->finishPoll();
        }
    };
    connect(m_fileWatcher.get(), &FileWatcher::presentRootsChanged, this,
            &TrackerState::takeWatchedDirectories);
    m_fileWatcher->start(watchedRoots(m_projectsDirectory));
    qCInfo(lcModel).noquote() << "watching" << m_projectsDirectory << "and" << m_otherDirectories.size()
                              << "other assistants' folders";
}

// Seeds the per-day counts of an install that kept a history from before days were counted:
// each completed set stands for promptLimit prompts on the day it was cleared.
void TrackerState::backfillDailyPrompts() {
    if (!m_dailyPrompts.isEmpty() || m_completedHistory.isEmpty()) {
        return;
    }
    const QList<CompletedSet> history = m_completedHistory;
    for (const CompletedSet& set : history) {
        addPromptsOn(dayKey(set.date), m_promptLimit);
    }
}

// In place: copying a year of day counts for every prompt would cost more than everything else
// that counting it does.
void TrackerState::addPromptsOn(const QString& day, qint64 count) {
    const bool known = m_dailyPrompts.contains(day);
    qint64& prompts = m_dailyPrompts[day];
    const qint64 before = prompts;
    prompts = saturatingAdd(before, count);
    holdWrite(&TrackerState::dailyPromptsChanged);
    if (!known || prompts != before) {
        notify(&TrackerState::dailyPromptsChanged);
    }
}

void TrackerState::recordPrompt() {
    assignTotalRequests(saturatingAdd(m_totalRequests, 1));
    addPromptsOn(dayKey(now()), 1);
    qCInfo(lcModel) << "prompt counted, total" << m_totalRequests;
    if (m_promptLimit >= 1 && m_totalRequests % m_promptLimit == 0) {
        assignPendingSets(saturatingAdd(m_pendingSets, 1));
        qCInfo(lcModel) << "set owed, pending" << m_pendingSets;
        // A burst that makes several sets owed at once is announced once, by its last set: a stack
        // of alerts would each tell an owed count that the next one has already outdated.
        m_heldAlert =
            HeldAlert{m_pendingSets, m_totalRequests, m_pushupsPerSet, m_exerciseType, m_soundEnabled};
    }
    commit();
}

// The prompts of one poll are stored together when it ends: one sync for a burst, not one each.
void TrackerState::recordPolledPrompt() {
    m_gathering = true;
    recordPrompt();
}

void TrackerState::finishPoll() {
    m_gathering = false;
    commit();
}

// One sync for everything assigned since the last one: the file is replaced whole, so a prompt's
// total, day count and owed set reach the disk together or not at all. Observers and alerts hear
// of the changes only after it, so none shows a count that a crash could still take back.
void TrackerState::commit() {
    if (m_gathering) {
        return;
    }
    const QList<Signal> writes = std::exchange(m_heldWrites, {});
    for (const Signal field : writes) {
        write(field);
    }
    m_store->sync();
    const QList<Signal> changes = std::exchange(m_heldSignals, {});
    for (const Signal changed : changes) {
        Q_EMIT(this->*changed)();
    }
    postHeldAlert();
}

void TrackerState::postHeldAlert() {
    const std::optional<HeldAlert> alert = std::exchange(m_heldAlert, std::nullopt);
    if (alert) {
        m_notifications->sendSetAlert(alert->pendingSets, alert->totalRequests, alert->reps,
                                      alert->exerciseType, alert->soundEnabled);
    }
}

void TrackerState::completeSet() {
    if (m_pendingSets < 1) {
        return;
    }
    assignPendingSets(m_pendingSets - 1);
    QList<CompletedSet> history = m_completedHistory;
    history.prepend(CompletedSet{QUuid::createUuid(), now(), m_pushupsPerSet, m_exerciseType});
    assignCompletedHistory(history);
    if (history.size() > historyLimit) {
        history.resize(historyLimit);
        assignCompletedHistory(std::move(history));
    }
    commit();
}

// Daily counts and the settings outlive a session on purpose: they describe the user, not it.
void TrackerState::resetSession() {
    assignTotalRequests(0);
    assignPendingSets(0);
    assignCompletedHistory({});
    const QDateTime started = now();
    if (started != m_sessionStartDate) {
        m_sessionStartDate = started;
        notify(&TrackerState::sessionStartDateChanged);
    }
    commit();
    if (m_fileWatcher) {
        m_fileWatcher->restart();
    }
}
