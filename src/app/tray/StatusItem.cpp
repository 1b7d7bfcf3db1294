#include "tray/StatusItem.h"

#include "AppLog.h"
#include "ProcessClock.h"
#include "tray/StatusNotifierItem.h"
#include "tray/TrayIconImage.h"

#include <QMenu>
#include <QSystemTrayIcon>

namespace {
// Hosts activated from the keyboard report the origin, which says nothing about where the icon is.
std::optional<QRect> statusNotifierAnchor(const QPoint& point) {
    if (point.isNull())
        return std::nullopt;
    return QRect(point, QSize(0, 0));
}
} // namespace

StatusItem::StatusItem(const QDBusConnection& bus, QObject* parent)
    : QObject(parent)
    , m_menu(std::make_unique<QMenu>())
    , m_iconImages(trayIconImages(0)) {
    buildMenu();
    if (!bus.isConnected()) {
        useSystemTray();
        return;
    }
    m_statusNotifierItem = new StatusNotifierItem(bus, m_menu.get(), this);
    m_statusNotifierItem->setIcon(m_iconImages);
    connect(m_statusNotifierItem, &StatusNotifierItem::registered, this, &StatusItem::useStatusNotifier);
    connect(m_statusNotifierItem, &StatusNotifierItem::hostGone, this, &StatusItem::useSystemTray);
    connect(m_statusNotifierItem, &StatusNotifierItem::activated, this,
            [this](const QPoint& point) { Q_EMIT activated(statusNotifierAnchor(point)); });
    m_statusNotifierItem->registerWithWatcher();
}

// The tray icon and the exported menu refer to the menu, so they go before it.
StatusItem::~StatusItem() {
    delete m_systemTrayIcon;
    delete m_statusNotifierItem;
}

void StatusItem::buildMenu() {
    connect(m_menu->addAction(QStringLiteral("Open Zentrel")), &QAction::triggered, this,
            &StatusItem::openRequested);
    connect(m_menu->addAction(QStringLiteral("Check for Updates…")), &QAction::triggered, this,
            &StatusItem::checkForUpdatesRequested);
    connect(m_menu->addAction(QStringLiteral("Quit Zentrel")), &QAction::triggered, this,
            &StatusItem::quitRequested);
}

void StatusItem::setStatus(const QString& title, qint64 pendingSets) {
    const bool iconChanged = pendingSets != m_pendingSets;
    m_title = title;
    m_pendingSets = pendingSets;
    if (iconChanged)
        m_iconImages = trayIconImages(pendingSets);
    if (m_statusNotifierItem) {
        m_statusNotifierItem->setTitle(title);
        if (iconChanged)
            m_statusNotifierItem->setIcon(m_iconImages);
    }
    if (m_systemTrayIcon) {
        if (iconChanged)
            m_systemTrayIcon->setIcon(iconFromImages(m_iconImages));
        m_systemTrayIcon->setToolTip(QStringLiteral("Zentrel") + title);
    }
}

void StatusItem::useStatusNotifier() {
    if (m_systemTrayIcon)
        m_systemTrayIcon->hide();
    m_host = Host::StatusNotifier;
}

void StatusItem::useSystemTray() {
    if (m_host == Host::SystemTray)
        return;
    if (!m_systemTrayIcon)
        createSystemTrayIcon();
    m_systemTrayIcon->show();
    qCInfo(lcApp).noquote()
        << QStringLiteral("tray item registered after %1 ms (system tray)").arg(msSinceProcessStart());
    m_host = Host::SystemTray;
}

void StatusItem::createSystemTrayIcon() {
    m_systemTrayIcon = new QSystemTrayIcon(this);
    m_systemTrayIcon->setContextMenu(m_menu.get());
    m_systemTrayIcon->setIcon(iconFromImages(m_iconImages));
    m_systemTrayIcon->setToolTip(QStringLiteral("Zentrel") + m_title);
    connect(m_systemTrayIcon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    Q_EMIT activated(std::optional<QRect>(m_systemTrayIcon->geometry()));
            });
}
