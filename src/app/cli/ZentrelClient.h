#pragma once

#include "app/cli/StatusSnapshot.h"
#include "propertiesproxy.h"
#include "zentrelproxy.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QObject>
#include <optional>

// The command line's side of the running Zentrel's bus interface.
class ZentrelClient : public QObject {
    Q_OBJECT

public:
    explicit ZentrelClient(const QDBusConnection& bus, QObject* parent = nullptr);

    bool isRunning() const;
    // The running instance's status, or else the stored one.
    StatusSnapshot currentStatus();
    // Clears one owed set; the bus error when none was cleared (NothingOwed among others).
    QDBusError completeSet();
    // From now on, propertiesChanged reports what the running instance announces.
    void watchChanges();

Q_SIGNALS:
    void propertiesChanged(const QVariantMap& changed);

private:
    // The running instance's status, or nullopt when none answers.
    std::optional<StatusSnapshot> runningStatus();

    QDBusConnection m_bus;
    PropertiesProxy m_properties;
    ZentrelProxy m_zentrel;
};
