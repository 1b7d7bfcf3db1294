#include "app/cli/StatusFollower.h"

#include "common/AppIdentity.h"

StatusFollower::StatusFollower(const QDBusConnection& bus, QObject* parent)
    : QObject(parent)
    , m_client(bus)
    , m_watcher(AppIdentity::busName, bus, QDBusServiceWatcher::WatchForOwnerChange) {}

// Changes are listened for before the status is read, so none can fall between the two.
void StatusFollower::start() {
    m_client.watchChanges();
    connect(&m_client, &ZentrelClient::propertiesChanged, this, &StatusFollower::apply);
    connect(&m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this, &StatusFollower::readStatus);
    readStatus();
}

// An instance that quits has stored all it counted, so the store carries on where it stopped.
void StatusFollower::readStatus() {
    m_status = m_client.currentStatus();
    Q_EMIT statusChanged(m_status);
}

void StatusFollower::apply(const QVariantMap& changed) {
    m_status = m_status.updatedFrom(changed);
    Q_EMIT statusChanged(m_status);
}
