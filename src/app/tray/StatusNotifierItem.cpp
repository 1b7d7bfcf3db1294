#include "app/tray/StatusNotifierItem.h"

#include "app/tray/DBusMenuExporter.h"
#include "app/tray/ProcessClock.h"
#include "app/tray/StatusNotifierItemAdaptor.h"
#include "app/tray/TrayLog.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QMenu>

StatusNotifierItem::StatusNotifierItem(const QDBusConnection& bus, QMenu* menu, QObject* parent)
    : QObject(parent)
    , m_bus(bus)
    , m_menu(menu)
    , m_adaptor(new StatusNotifierItemAdaptor(this))
    , m_menuExporter(new DBusMenuExporter(menu, this))
    , m_watcherWatcher(new QDBusServiceWatcher(
          watcherService, m_bus,
          QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration, this)) {
    registerStatusNotifierTypes();
    m_bus.registerObject(itemPath, this, QDBusConnection::ExportAdaptors);
    m_bus.registerObject(menuPath, m_menuExporter, QDBusConnection::ExportAdaptors);
    m_serviceName = claimServiceName();
    connect(m_watcherWatcher, &QDBusServiceWatcher::serviceRegistered, this,
            &StatusNotifierItem::registerWithWatcher);
    connect(m_watcherWatcher, &QDBusServiceWatcher::serviceUnregistered, this, &StatusNotifierItem::hostGone);
}

// Dropping the name tells the host to remove the item at once.
StatusNotifierItem::~StatusNotifierItem() {
    m_bus.unregisterObject(menuPath);
    m_bus.unregisterObject(itemPath);
    if (m_serviceName != m_bus.baseService()) {
        m_bus.unregisterService(m_serviceName);
    }
}

// Older hosts only accept items whose bus name follows this pattern; when the name cannot be
// had, the connection's unique name works with every current host.
QString StatusNotifierItem::claimServiceName() {
    const QString name =
        QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(QCoreApplication::applicationPid());
    return m_bus.registerService(name) ? name : m_bus.baseService();
}

SniToolTip StatusNotifierItem::toolTip() const {
    return {QString(), {}, QStringLiteral("Zentrel"), m_title};
}

QString StatusNotifierItem::label() const {
    return QLatin1Char(' ') + m_title;
}

void StatusNotifierItem::setTitle(const QString& title) {
    if (title == m_title) {
        return;
    }
    m_title = title;
    Q_EMIT m_adaptor->NewTitle();
    Q_EMIT m_adaptor->NewToolTip();
    Q_EMIT m_adaptor->XAyatanaNewLabel(label(), label());
}

void StatusNotifierItem::setIcon(const QList<QImage>& images) {
    m_iconPixmaps.clear();
    for (const QImage& image : images) {
        m_iconPixmaps.append(SniIconPixmap::fromImage(image));
    }
    Q_EMIT m_adaptor->NewIcon();
}

void StatusNotifierItem::registerWithWatcher() {
    QDBusMessage call = QDBusMessage::createMethodCall(watcherService, watcherPath, watcherService,
                                                       QStringLiteral("RegisterStatusNotifierItem"));
    call << m_serviceName;
    auto* pending = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* finished) {
        finished->deleteLater();
        onRegistrationFinished(!finished->isError(), finished->error().message());
    });
}

void StatusNotifierItem::onRegistrationFinished(bool succeeded, const QString& error) {
    if (!succeeded) {
        qCInfo(lcTray) << "no status notifier watcher:" << error;
        Q_EMIT hostGone();
        return;
    }
    qCInfo(lcTray).noquote() << QStringLiteral("tray item registered after %1 ms (status notifier %2)")
                                    .arg(msSinceProcessStart())
                                    .arg(m_serviceName);
    Q_EMIT registered();
}

void StatusNotifierItem::activate(const QPoint& point) {
    Q_EMIT activated(point);
}

void StatusNotifierItem::showContextMenu(const QPoint& point) {
    m_menu->popup(point);
}
