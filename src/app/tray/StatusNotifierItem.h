#pragma once

#include "app/tray/StatusNotifierTypes.h"

#include <QDBusConnection>
#include <QObject>
#include <QPoint>

class DBusMenuExporter;
class QDBusServiceWatcher;
class QMenu;
class StatusNotifierItemAdaptor;

// Our tray item for hosts that speak the StatusNotifierItem protocol (KDE, GNOME with the
// AppIndicator extension, xfce, waybar, ...). It is published under a per-process bus name
// and registered with the desktop's StatusNotifierWatcher every time that watcher appears.
class StatusNotifierItem : public QObject {
    Q_OBJECT

public:
    inline static const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
    inline static const QString watcherPath = QStringLiteral("/StatusNotifierWatcher");
    inline static const QString itemPath = QStringLiteral("/StatusNotifierItem");
    inline static const QString menuPath = QStringLiteral("/MenuBar");

    StatusNotifierItem(const QDBusConnection& bus, QMenu* menu, QObject* parent = nullptr);
    ~StatusNotifierItem() override;

    QString serviceName() const { return m_serviceName; }
    QString title() const { return m_title; }
    // The title as the host draws it beside the icon: spaced from it.
    QString label() const;
    SniIconPixmapList iconPixmaps() const { return m_iconPixmaps; }
    SniToolTip toolTip() const;

    void setTitle(const QString& title);
    void setIcon(const QList<QImage>& images);

    // Asks the watcher to show the item; answered by registered() or hostGone().
    void registerWithWatcher();

    // From the host: a left click at a screen point, and a context-menu request (sent only by
    // hosts that cannot draw the exported menu themselves).
    void activate(const QPoint& point);
    void showContextMenu(const QPoint& point);

Q_SIGNALS:
    void activated(const QPoint& point);
    void registered();
    void hostGone(); // no watcher, or it refused the item

private:
    QString claimServiceName();
    void onRegistrationFinished(bool succeeded, const QString& error);

    QDBusConnection m_bus;
    QMenu* m_menu;
    StatusNotifierItemAdaptor* m_adaptor;
    DBusMenuExporter* m_menuExporter;
    QDBusServiceWatcher* m_watcherWatcher;
    QString m_serviceName;
    QString m_title;
    SniIconPixmapList m_iconPixmaps;
};
