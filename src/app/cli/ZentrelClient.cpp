#include "app/cli/ZentrelClient.h"

#include "common/AppIdentity.h"
#include "common/ZentrelBus.h"
#include "model/Preferences.h"

#include <QDBusConnectionInterface>

namespace {
constexpr int callTimeoutMs = 5000;
} // namespace

ZentrelClient::ZentrelClient(const QDBusConnection& bus, QObject* parent)
    : QObject(parent)
    , m_bus(bus)
    , m_properties(AppIdentity::busName, ZentrelBus::objectPath, bus)
    , m_zentrel(AppIdentity::busName, ZentrelBus::objectPath, bus) {
    // A bar waits for the answer; a hung instance must not hold it for D-Bus's 25 seconds.
    m_properties.setTimeout(callTimeoutMs);
    m_zentrel.setTimeout(callTimeoutMs);
}

bool ZentrelClient::isRunning() const {
    return m_bus.isConnected() && m_bus.interface()->isServiceRegistered(AppIdentity::busName).value();
}

std::optional<StatusSnapshot> ZentrelClient::runningStatus() {
    if (!isRunning()) {
        return std::nullopt;
    }
    QDBusPendingReply<QVariantMap> reply = m_properties.GetAll(ZentrelBus::interface);
    reply.waitForFinished();
    if (reply.isError()) {
        return std::nullopt;
    }
    return StatusSnapshot().updatedFrom(reply.value());
}

StatusSnapshot ZentrelClient::currentStatus() {
    if (std::optional<StatusSnapshot> running = runningStatus()) {
        return *running;
    }
    return StatusSnapshot::fromStore(Preferences::forReading());
}

QDBusError ZentrelClient::completeSet() {
    QDBusPendingReply<> reply = m_zentrel.CompleteSet();
    reply.waitForFinished();
    return reply.error();
}

void ZentrelClient::watchChanges() {
    connect(&m_properties, &PropertiesProxy::PropertiesChanged, this,
            [this](const QString& interface, const QVariantMap& changed) {
                if (interface == ZentrelBus::interface) {
                    Q_EMIT propertiesChanged(changed);
                }
            });
}
