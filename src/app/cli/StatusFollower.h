#pragma once

#include "app/cli/StatusSnapshot.h"
#include "app/cli/ZentrelClient.h"

#include <QDBusServiceWatcher>
#include <QObject>

// The status as it changes, for `status --follow`: what the running instance announces, the
// stored status while none runs, and an instance that starts or quits meanwhile. Nothing is polled.
class StatusFollower : public QObject {
    Q_OBJECT

public:
    explicit StatusFollower(const QDBusConnection& bus, QObject* parent = nullptr);

    // Starts following and reports the status as it is now, then every change.
    void start();

Q_SIGNALS:
    void statusChanged(const StatusSnapshot& status);

private:
    void readStatus();
    void apply(const QVariantMap& changed);

    ZentrelClient m_client;
    QDBusServiceWatcher m_watcher;
    StatusSnapshot m_status;
};
