#pragma once

#include <QDBusConnection>
#include <QImage>
#include <QList>
#include <QObject>
#include <QRect>
#include <memory>
#include <optional>

class QMenu;
class QSystemTrayIcon;
class StatusNotifierItem;

// The application's presence in the desktop's tray: our StatusNotifierItem while a
// StatusNotifierWatcher runs, otherwise a classic XEmbed tray icon, never both at once.
// It shows the status title (as a label where the host draws one, and in the tooltip) and
// the icon with the owed-set badge, and offers a three-entry menu.
class StatusItem : public QObject {
    Q_OBJECT

public:
    enum class Host { None, StatusNotifier, SystemTray };
    Q_ENUM(Host)

    explicit StatusItem(const QDBusConnection& bus, QObject* parent = nullptr);
    ~StatusItem() override;

    void setStatus(const QString& title, qint64 pendingSets);
    QString title() const { return m_title; }
    Host host() const { return m_host; }
    QMenu* menu() const { return m_menu.get(); }
    StatusNotifierItem* statusNotifierItem() const { return m_statusNotifierItem; }
    QSystemTrayIcon* systemTrayIcon() const { return m_systemTrayIcon; }

Q_SIGNALS:
    // A click on the item; `anchor` is the icon's rectangle or, from hosts that report only
    // the clicked point, an empty rectangle there; none when the host did not say where.
    void activated(const std::optional<QRect>& anchor);
    void openRequested();
    void checkForUpdatesRequested();
    void quitRequested();

private:
    void buildMenu();
    void useStatusNotifier();
    void useSystemTray();
    void createSystemTrayIcon();

    std::unique_ptr<QMenu> m_menu;
    StatusNotifierItem* m_statusNotifierItem = nullptr;
    // Made only once the tray is actually needed: Qt decides once per process whether its
    // tray icon speaks XEmbed, by whether a watcher runs at that moment.
    QSystemTrayIcon* m_systemTrayIcon = nullptr;
    Host m_host = Host::None;
    QString m_title;
    qint64 m_pendingSets = 0;
    QList<QImage> m_iconImages;
};
