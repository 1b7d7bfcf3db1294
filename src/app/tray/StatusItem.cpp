#include "app/tray/StatusItem.h"

#include "app/tray/ProcessClock.h"
#include "app/tray/StatusNotifierItem.h"
#include "app/tray/TrayIconImage.h"
#include "app/tray/TrayLog.h"
#include "app/tray/XEmbedIconPlacement.h"
#include "app/tray/XEmbedTrayWatcher.h"

#include <QMenu>
#include <QSystemTrayIcon>

namespace {
// Hosts activated from the keyboard report the origin, which says nothing about where the icon is.
std::optional<QRect> statusNotifierAnchor(const QPoint& point) {
    if (point.isNull()) {
        return std::nullopt;
    }
    return QRect(point, QSize(0, 0));
}
} // namespace

StatusItem::StatusItem(const QDBusConnection& bus, QObject* parent)
    : QObject(parent)
    , m_menu(std::make_unique<QMenu>()) {
    buildMenu();
    if (!bus.isConnected()) {
        // Answered on a later turn of the event loop, as the watcher answers, so whoever made
        // this item has connected to settled by then.
        QMetaObject::invokeMethod(this, &StatusItem::useSystemTray, Qt::QueuedConnection);
        return;
    }
    m_statusNotifierItem = new StatusNotifierItem(bus, m_menu.get(), this);
    m_statusNotifierItem->setIcon(iconImages());
    connect(m_statusNotifierItem, &StatusNotifierItem::registered, this, &StatusItem::useStatusNotifier);
    connect(m_statusNotifierItem, &StatusNotifierItem::hostGone, this, &StatusItem::useSystemTray);
    connect(m_statusNotifierItem, &StatusNotifierItem::activated, this, [this](const QPoint& point) {
        const std::optional<QRect> anchor = statusNotifierAnchor(point);
        if (anchor) {
            m_lastClickedPoint = anchor;
        }
        Q_EMIT activated(anchor);
    });
    m_statusNotifierItem->registerWithWatcher();
}

// The tray icon and the exported menu refer to the menu, so they go before it.
StatusItem::~StatusItem() {
    m_iconPlacement.reset();
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

// The ring on the icon says what the title says, for hosts that show no title (XEmbed trays, and
// StatusNotifierItem hosts such as KDE's that show no label) and alike where a label shows.
void StatusItem::setStatus(const QString& title, qint64 pendingSets, qreal setProgress) {
    const bool iconChanged = pendingSets != m_pendingSets || setProgress != m_setProgress;
    m_title = title;
    m_pendingSets = pendingSets;
    m_setProgress = setProgress;
    if (m_statusNotifierItem) {
        m_statusNotifierItem->setTitle(title);
        if (iconChanged) {
            m_statusNotifierItem->setIcon(iconImages());
        }
    }
    if (m_systemTrayIcon) {
        if (iconChanged) {
            m_systemTrayIcon->setIcon(iconFromImages(iconImages()));
        }
        m_systemTrayIcon->setToolTip(QStringLiteral("Zentrel ") + title);
    }
}

void StatusItem::useStatusNotifier() {
    m_trayWatcher.reset();
    if (m_systemTrayIcon) {
        m_systemTrayIcon->hide();
    }
    m_host = Host::StatusNotifier;
    setInTray(true);
}

// The icon is shown even where no XEmbed tray runs yet: Qt docks a shown icon by itself once
// one starts, and the watcher tells us when that may have happened.
void StatusItem::useSystemTray() {
    if (m_host == Host::SystemTray && m_inTray == true) {
        return;
    }
    if (!m_systemTrayIcon) {
        createSystemTrayIcon();
    }
    m_systemTrayIcon->show();
    m_host = Host::SystemTray;
    const bool docked = QSystemTrayIcon::isSystemTrayAvailable();
    if (docked) {
        m_trayWatcher.reset();
        qCInfo(lcTray).noquote()
            << QStringLiteral("tray item registered after %1 ms (system tray)").arg(msSinceProcessStart());
    } else {
        watchForSystemTray();
    }
    setInTray(docked);
}

void StatusItem::watchForSystemTray() {
    if (m_trayWatcher || !XEmbedTrayWatcher::isAvailable()) {
        return;
    }
    qCInfo(lcTray) << "no tray runs; watching for one";
    m_trayWatcher = std::make_unique<XEmbedTrayWatcher>();
    // Queued: the watcher may go while it is still telling.
    connect(
        m_trayWatcher.get(), &XEmbedTrayWatcher::trayMayHaveStarted, this,
        [this] {
            if (m_host == Host::SystemTray) {
                useSystemTray();
            }
        },
        Qt::QueuedConnection);
}

// An XEmbed icon is docked before the tray gives it its place; until then a panel opened under
// it would land at the screen's origin.
void StatusItem::setInTray(bool inTray) {
    m_inTray = inTray;
    if (m_settled || m_iconPlacement) {
        return;
    }
    if (inTray && m_host == Host::SystemTray) {
        m_iconPlacement = std::make_unique<XEmbedIconPlacement>(*m_systemTrayIcon);
        connect(m_iconPlacement.get(), &XEmbedIconPlacement::placed, this, &StatusItem::settle);
    } else {
        settle();
    }
}

void StatusItem::settle() {
    if (m_settled) {
        return;
    }
    m_settled = true;
    Q_EMIT settled();
}

std::optional<QRect> StatusItem::iconAnchor() const {
    if (m_host == Host::SystemTray && m_inTray == true) {
        return m_systemTrayIcon->geometry();
    }
    return m_host == Host::StatusNotifier ? m_lastClickedPoint : std::nullopt;
}

void StatusItem::createSystemTrayIcon() {
    m_systemTrayIcon = new QSystemTrayIcon(this);
    m_systemTrayIcon->setContextMenu(m_menu.get());
    m_systemTrayIcon->setIcon(iconFromImages(iconImages()));
    m_systemTrayIcon->setToolTip(QStringLiteral("Zentrel ") + m_title);
    connect(m_systemTrayIcon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger) {
                    Q_EMIT activated(std::optional<QRect>(m_systemTrayIcon->geometry()));
                }
            });
}

QList<QImage> StatusItem::iconImages() const {
    return trayIconImages(m_pendingSets, m_setProgress);
}
