#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>

class TrackerState;

// The running instance on the session bus (ZentrelBus): the model's counters as read-only
// properties, announced with PropertiesChanged once per operation and when the local day turns
// (TodayPrompts); ShowPanel for a second start and for bars; CompleteSet, which clears a set as
// "Mark Complete" does. It reads the model and calls its operations; the model knows nothing of it.
//
// The object is exported as soon as it exists, before the bus name is claimed, so whoever sees
// the name finds the object. Its interface comes with serve(): calls are handled on the main
// thread, so one that arrives in between waits in the event queue and is answered by then.
class ZentrelService : public QObject, protected QDBusContext {
    Q_OBJECT
    // Read by the generated adaptor by these names, which are the interface's own.
    Q_PROPERTY(qint64 TotalPrompts READ totalPrompts)
    Q_PROPERTY(qint64 PromptsThisSet READ promptsThisSet)
    Q_PROPERTY(qint64 PromptLimit READ promptLimit)
    Q_PROPERTY(qint64 PendingSets READ pendingSets)
    Q_PROPERTY(qint64 RepsPerSet READ repsPerSet)
    Q_PROPERTY(QString Exercise READ exercise)
    Q_PROPERTY(qint64 TodayPrompts READ todayPrompts)
    Q_PROPERTY(qint64 CompletedSets READ completedSets)

public:
    explicit ZentrelService(const QDBusConnection& bus, QObject* parent = nullptr);
    ~ZentrelService() override;
    ZentrelService(const ZentrelService&) = delete;
    ZentrelService& operator=(const ZentrelService&) = delete;

    // Starts answering for `state`, which must outlive this object.
    void serve(TrackerState& state);

    qint64 totalPrompts() const;
    qint64 promptsThisSet() const;
    qint64 promptLimit() const;
    qint64 pendingSets() const;
    qint64 repsPerSet() const;
    QString exercise() const;
    qint64 todayPrompts() const;
    qint64 completedSets() const;

public Q_SLOTS:
    void ShowPanel();
    void CompleteSet();

Q_SIGNALS:
    void showPanelRequested();

private:
    QVariantMap propertyValues() const;
    void scheduleAnnouncement();
    void announceChanges();
    void armDayTurn();

    QDBusConnection m_bus;
    TrackerState* m_state = nullptr;
    QVariantMap m_announced;
    bool m_announcementPending = false;
    QTimer m_dayTurn;
};
