#include "alerts/NotificationManager.h"

#include "NotificationServerProxy.h"
#include "alerts/AlertSound.h"
#include "alerts/AlertsLog.h"
#include "alerts/SetAlertContent.h"
#include "common/AppIdentity.h"

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QMetaObject>
#include <QVariantMap>
#include <cstdio>

namespace {
const QString serviceName = QStringLiteral("org.freedesktop.Notifications");
const QString objectPath = QStringLiteral("/org/freedesktop/Notifications");
const QString markCompleteTitle = QStringLiteral("Mark Complete");
constexpr uint newNotification = 0; // every alert stands on its own, none replaces another
constexpr uchar normalUrgency = 1;
constexpr int serverDefaultTimeout = -1;

QVariantMap notifyHints(bool soundEnabled) {
    QVariantMap hints{
        {QStringLiteral("urgency"), QVariant::fromValue(normalUrgency)},
        {QStringLiteral("category"), QStringLiteral("x-zentrel.") + NotificationManager::categoryID},
        {QStringLiteral("desktop-entry"), AppIdentity::applicationId},
    };
    if (soundEnabled) {
        hints.insert(QStringLiteral("sound-name"), QString::fromLatin1(AlertSound::eventId));
    } else {
        hints.insert(QStringLiteral("suppress-sound"), true);
    }
    return hints;
}

void reportAuthError(const QString& description) {
    const QByteArray line = (QStringLiteral("Notification auth error: ") + description).toUtf8() + '\n';
    std::fputs(line.constData(), stdout);
    std::fflush(stdout);
}

// Hands the finished call to handler on context's thread, in the order the replies came in; the watcher
// goes with the context.
template <typename Handler>
void whenFinished(const QDBusPendingCall& call, QObject* context, Handler handler) {
    auto* watcher = new QDBusPendingCallWatcher(call, context);
    if (watcher->isFinished()) {
        // A reply that beat the watcher would reach it through a second queued hop, behind signals that
        // came after it (an action on this very alert among them); one hop keeps it in its place.
        delete watcher;
        QMetaObject::invokeMethod(
            context, [call, handler] { handler(call); }, Qt::QueuedConnection);
        return;
    }
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context, [watcher, handler] {
        watcher->deleteLater();
        handler(*watcher);
    });
}
} // namespace

NotificationManager& NotificationManager::shared() {
    // Never destroyed: an answer to an alert may still arrive while the process winds down.
    static NotificationManager* const instance = new NotificationManager(QDBusConnection::sessionBus());
    return *instance;
}

NotificationManager::NotificationManager(const QDBusConnection& bus, QObject* parent)
    : QObject(parent)
    , m_server(new NotificationServerProxy(serviceName, objectPath, bus, this))
    , m_sound(new AlertSound(this)) {
    // Signals are matched on the connection that posts, the only one some servers answer.
    connect(m_server, &NotificationServerProxy::ActionInvoked, this, &NotificationManager::handleAction);
    connect(m_server, &NotificationServerProxy::NotificationClosed, this, &NotificationManager::forget);
}

void NotificationManager::requestPermission() {
    if (const std::optional<QString> failure = busFailure()) {
        reportAuthError(*failure);
        return;
    }
    askCapabilities(true);
}

void NotificationManager::sendSetAlert(qint64 pendingSets, qint64 totalPrompts, qint64 reps,
                                       const QString& exerciseType, bool soundEnabled) {
    const SetAlertContent alert = SetAlertContent::compose(pendingSets, totalPrompts, reps, exerciseType);
    if (const std::optional<QString> failure = busFailure()) {
        qCDebug(lcAlerts) << "Set alert not posted:" << *failure;
        return;
    }
    // A server that started after permission was asked has not said yet whether it plays sounds.
    // Asked before the alert is posted, its answer is in by the time the alert's is.
    if (soundEnabled && !m_capabilities) {
        askCapabilities(false);
    }
    whenFinished(m_server->Notify(AppIdentity::applicationName, newNotification, AppIdentity::applicationId,
                                  alert.title, alert.body, {actionID, markCompleteTitle},
                                  notifyHints(soundEnabled), serverDefaultTimeout),
                 this,
                 [this, soundEnabled](const QDBusPendingCall& call) { takePosted(call, soundEnabled); });
}

// A call on a bus that is not connected would never be answered, so none is made.
std::optional<QString> NotificationManager::busFailure() const {
    const QDBusConnection bus = m_server->connection();
    if (bus.isConnected()) {
        return std::nullopt;
    }
    return bus.lastError().message();
}

// Only the permission request reports a failure; a later question about sound fails quietly.
void NotificationManager::askCapabilities(bool reportFailure) {
    whenFinished(m_server->GetCapabilities(), this, [this, reportFailure](const QDBusPendingCall& call) {
        takeCapabilities(call, reportFailure);
    });
}

void NotificationManager::takeCapabilities(const QDBusPendingReply<QStringList>& reply, bool reportFailure) {
    if (!reply.isError()) {
        m_capabilities = reply.value();
    } else if (reportFailure) {
        reportAuthError(reply.error().message());
    }
}

void NotificationManager::takePosted(const QDBusPendingReply<uint>& reply, bool soundEnabled) {
    if (reply.isError()) {
        qCDebug(lcAlerts) << "Set alert not posted:" << reply.error().message();
        return;
    }
    m_postedIds.insert(reply.value());
    if (soundEnabled && serverLacksSound()) {
        m_sound->play();
    }
}

void NotificationManager::handleAction(uint id, const QString& actionKey) {
    if (actionKey != actionID || !m_postedIds.remove(id)) {
        return;
    }
    // Queued, so the model changes from the event loop and never inside the bus dispatch.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (onMarkComplete) {
                onMarkComplete();
            }
        },
        Qt::QueuedConnection);
}

void NotificationManager::forget(uint id) {
    m_postedIds.remove(id);
}

bool NotificationManager::serverLacksSound() const {
    return m_capabilities && !m_capabilities->contains(QStringLiteral("sound"));
}
