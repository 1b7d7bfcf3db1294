#pragma once

#include "model/CompletedSet.h"
#include "model/StatusCounters.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class FileWatcher;
class NotificationManager;
class Preferences;

// A folder whose logs are watched, and the assistant that writes them.
struct WatchedDirectory {
    QString assistant;
    QString path;
    friend bool operator==(const WatchedDirectory&, const WatchedDirectory&) = default;
};

// The one model of the process: counts prompts, owes a set every promptLimit prompts,
// records cleared sets and per-day prompt counts, and holds the four user settings.
// Every assignment of a persisted field is written to the preferences store, and everything that
// one operation, one poll of the transcripts or loading changes reaches the disk together, in one
// sync at its end. Only then do observers hear of the changes (once per changed field, however
// many prompts a poll counted) and is the alert of the sets it made owed posted.
class TrackerState : public QObject {
    Q_OBJECT
    Q_PROPERTY(qint64 totalRequests READ totalRequests NOTIFY totalRequestsChanged)
    Q_PROPERTY(qint64 pendingSets READ pendingSets NOTIFY pendingSetsChanged)
    Q_PROPERTY(QList<CompletedSet> completedHistory READ completedHistory NOTIFY completedHistoryChanged)
    Q_PROPERTY(DailyPrompts dailyPrompts READ dailyPrompts NOTIFY dailyPromptsChanged)
    Q_PROPERTY(qint64 promptLimit READ promptLimit WRITE setPromptLimit NOTIFY promptLimitChanged)
    Q_PROPERTY(qint64 pushupsPerSet READ pushupsPerSet WRITE setPushupsPerSet NOTIFY pushupsPerSetChanged)
    Q_PROPERTY(bool soundEnabled READ soundEnabled WRITE setSoundEnabled NOTIFY soundEnabledChanged)
    Q_PROPERTY(QString exerciseType READ exerciseType WRITE setExerciseType NOTIFY exerciseTypeChanged)
    Q_PROPERTY(QDateTime sessionStartDate READ sessionStartDate NOTIFY sessionStartDateChanged)
    Q_PROPERTY(qint64 promptsThisSet READ promptsThisSet NOTIFY promptsThisSetChanged)
    Q_PROPERTY(
        QList<WatchedDirectory> watchedDirectories READ watchedDirectories NOTIFY watchedDirectoriesChanged)

public:
    using DailyPrompts = QMap<QString, qint64>; // day key "yyyy-MM-dd" -> prompts that day
    using Clock = std::function<QDateTime()>;

    static constexpr int historyLimit = 50;

    // Everything the model talks to; the defaults are the real ones of the process.
    struct Environment {
        Preferences* store = nullptr;                 // nullptr: the user's store
        NotificationManager* notifications = nullptr; // nullptr: NotificationManager::shared()
        Clock clock;                                  // empty: the system clock, local time
        std::chrono::milliseconds pollInterval{2000}; // of the FileWatcher made by startWatching
        QString projectsDirectory;                    // empty: projectsDirectoryFromEnvironment()
    };

    explicit TrackerState(QObject* parent = nullptr);
    explicit TrackerState(Environment environment, QObject* parent = nullptr);
    ~TrackerState() override;

    qint64 totalRequests() const;
    qint64 pendingSets() const;
    const QList<CompletedSet>& completedHistory() const;
    const DailyPrompts& dailyPrompts() const;
    qint64 promptLimit() const;
    qint64 pushupsPerSet() const;
    bool soundEnabled() const;
    QString exerciseType() const;
    QDateTime sessionStartDate() const;
    qint64 promptsThisSet() const;
    // The counters the status is told from, with what follows from them.
    StatusCounters status() const;

    void setPromptLimit(qint64 value);
    void setPushupsPerSet(qint64 value);
    void setSoundEnabled(bool value);
    void setExerciseType(const QString& value);

    void startWatching();
    void recordPrompt();
    void completeSet();
    void resetSession();

    QString projectsDirectory() const;
    // Claude Code's projects directory first, then the folder of every other assistant whose
    // folder exists, as the watcher last found them.
    QList<WatchedDirectory> watchedDirectories() const;
    // $CLAUDE_CONFIG_DIR/projects when that variable is set, else $HOME/.claude/projects.
    static QString projectsDirectoryFromEnvironment();
    FileWatcher* fileWatcher() const;
    QDateTime now() const;

Q_SIGNALS:
    void totalRequestsChanged();
    void pendingSetsChanged();
    void completedHistoryChanged();
    void dailyPromptsChanged();
    void promptLimitChanged();
    void pushupsPerSetChanged();
    void soundEnabledChanged();
    void exerciseTypeChanged();
    void sessionStartDateChanged();
    void promptsThisSetChanged();
    void watchedDirectoriesChanged();

private:
    // A set alert as it stood when the last set owed became owed, waiting for the sync that stores it.
    struct HeldAlert {
        qint64 pendingSets;
        qint64 totalRequests;
        qint64 reps;
        QString exerciseType;
        bool soundEnabled;
    };

    // A field's change signal also names the field.
    using Signal = void (TrackerState::*)();

    template <typename T> void assign(T& field, T value, Signal changed);
    void holdWrite(Signal field);
    void notify(Signal changed);
    void write(Signal field);
    void assignTotalRequests(qint64 value);
    void assignPendingSets(qint64 value);
    void assignCompletedHistory(QList<CompletedSet> value);
    void assignDailyPrompts(DailyPrompts value);
    void notifyIfPromptsThisSetMoved(qint64 before);
    void load();
    void backfillDailyPrompts();
    void addPromptsOn(const QString& day, qint64 count);
    void hookMarkComplete();
    void recordPolledPrompt();
    void takeWatchedDirectories();
    void finishPoll();
    void commit();
    void postHeldAlert();

    std::unique_ptr<Preferences> m_ownedStore;
    Preferences* m_store;
    NotificationManager* m_notifications;
    Clock m_clock;
    std::chrono::milliseconds m_pollInterval;
    QString m_projectsDirectory;
    std::unique_ptr<FileWatcher> m_fileWatcher;
    QList<WatchedDirectory> m_otherDirectories;

    qint64 m_totalRequests = 0;
    qint64 m_pendingSets = 0;
    QList<CompletedSet> m_completedHistory;
    DailyPrompts m_dailyPrompts;
    qint64 m_promptLimit = StatusCounters::defaultPerSet;
    qint64 m_pushupsPerSet = StatusCounters::defaultPerSet;
    bool m_soundEnabled = true;
    QString m_exerciseType;
    QDateTime m_sessionStartDate;

    // What assignments and operations leave for the next commit, each in the order of its first
    // occurrence.
    QList<Signal> m_heldWrites;
    QList<Signal> m_heldSignals;
    std::optional<HeldAlert> m_heldAlert;
    // Set while loading and while a poll's prompts are being recorded: the commit waits for its end.
    bool m_gathering = false;
};
