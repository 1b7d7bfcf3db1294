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
// The generated adaptor reads each property by its interface name (ZentrelBus::Property) from this
// object, which keeps them as dynamic properties, brought up to date at every change of the model.
//
// The object is exported as soon as it exists, before the bus name is claimed, so whoever sees
// the name finds the object. Its interface comes with serve(): calls are handled on the main
// thread, so one that arrives in between waits in the event queue and is answered by then.
class ZentrelService : public QObject, protected QDBusContext {
    Q_OBJECT

public:
    explicit ZentrelService(const QDBusConnection& bus, QObject* parent = nullptr);
    ~ZentrelService() override;
    ZentrelService(const ZentrelService&) = delete;
    ZentrelService& operator=(const ZentrelService&) = delete;

    // Starts answering for `state`, which must outlive this object.
    void serve(TrackerState& state);

public Q_SLOTS:
    void ShowPanel();
    void CompleteSet();

Q_SIGNALS:
    void showPanelRequested();

private:
    QVariantMap propertyValues() const;
    void updateProperties();
    void publish();
    void scheduleAnnouncement();
    void announceChanges();
    void armDayTurn();

    QDBusConnection m_bus;
    TrackerState* m_state = nullptr;
    QVariantMap m_announced;
    bool m_announcementPending = false;
    QTimer m_dayTurn;
};
