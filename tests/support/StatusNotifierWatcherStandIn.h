#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QStringList>

// A desktop's StatusNotifierWatcher as tray hosts run it: owns org.kde.StatusNotifierWatcher on
// a bus connection of its own (so to the code under test it is another client) and records
// who registered which item. stop() and start() again simulate the host restarting.
class StatusNotifierWatcherStandIn : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ registeredItems)
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)

public:
    struct Registration {
        QString service; // as passed to RegisterStatusNotifierItem
        QString sender;  // unique name of the caller
    };

    StatusNotifierWatcherStandIn();
    ~StatusNotifierWatcherStandIn() override;

    bool start();
    void stop();

    // The connection the stand-in answers on; tests may use it as the tray host's.
    QDBusConnection connection() const { return m_connection; }
    QList<Registration> registrations() const { return m_registrations; }
    QStringList registeredItems() const;
    bool isHostRegistered() const { return true; }
    int protocolVersion() const { return 0; }

public Q_SLOTS:
    Q_SCRIPTABLE void RegisterStatusNotifierItem(const QString& service);
    Q_SCRIPTABLE void RegisterStatusNotifierHost(const QString& service);

Q_SIGNALS:
    Q_SCRIPTABLE void StatusNotifierItemRegistered(const QString& service);
    void registered(const QString& service, const QString& sender);

private:
    QDBusConnection m_connection;
    QList<Registration> m_registrations;
};
