#include "StatusNotifierWatcherStandIn.h"

#include <QDBusConnectionInterface>
#include <QUuid>

namespace {
const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString watcherPath = QStringLiteral("/StatusNotifierWatcher");
} // namespace

StatusNotifierWatcherStandIn::StatusNotifierWatcherStandIn()
    : m_connection(QDBusConnection::connectToBus(
          QDBusConnection::SessionBus, QStringLiteral("watcher-") + QUuid::createUuid().toString())) {
    m_connection.registerObject(watcherPath, this,
                                QDBusConnection::ExportScriptableSlots |
                                    QDBusConnection::ExportScriptableSignals |
                                    QDBusConnection::ExportAllProperties);
}

StatusNotifierWatcherStandIn::~StatusNotifierWatcherStandIn() {
    m_connection.unregisterObject(watcherPath);
    QDBusConnection::disconnectFromBus(m_connection.name());
}

bool StatusNotifierWatcherStandIn::start() {
    return m_connection.registerService(watcherService);
}

void StatusNotifierWatcherStandIn::stop() {
    m_connection.unregisterService(watcherService);
    m_registrations.clear();
}

QStringList StatusNotifierWatcherStandIn::registeredItems() const {
    QStringList services;
    for (const Registration& registration : m_registrations) {
        services.append(registration.service);
    }
    return services;
}

void StatusNotifierWatcherStandIn::RegisterStatusNotifierItem(const QString& service) {
    const QString sender = message().service();
    m_registrations.append({service, sender});
    Q_EMIT StatusNotifierItemRegistered(service);
    Q_EMIT registered(service, sender);
}

void StatusNotifierWatcherStandIn::RegisterStatusNotifierHost(const QString&) {}
