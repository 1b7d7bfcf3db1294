#pragma once

#include "CompletedSet.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>

class FileWatcher;
class NotificationManager;
class Preferences;

// The one model of the process: counts prompts, owes a set every promptLimit prompts,
// records cleared sets and per-day prompt counts, and holds the four user settings.
// Every persisted field is written to the preferences store the moment it is assigned.
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

    void setPromptLimit(qint64 value);
    void setPushupsPerSet(qint64 value);
    void setSoundEnabled(bool value);
    void setExerciseType(const QString& value);

    void startWatching();
    void recordPrompt();
    void completeSet();
    void resetSession();

    QString projectsDirectory() const;
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

private:
    // implementation-defined private members
};
