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
class XEmbedIconPlacement;
class XEmbedTrayWatcher;

// The application's presence in the desktop's tray: our StatusNotifierItem while a
// StatusNotifierWatcher runs, otherwise a classic XEmbed tray icon, never both at once.
// It shows the status title (as a label where the host draws one, and in the tooltip) and
// the icon with the set's progress ring and the owed-set badge, and offers a three-entry menu. Where neither
// kind of tray runs it keeps its XEmbed icon ready, and it shows as soon as a tray of either kind starts.
class StatusItem : public QObject {
    Q_OBJECT

public:
    enum class Host { None, StatusNotifier, SystemTray };
    Q_ENUM(Host)

    explicit StatusItem(const QDBusConnection& bus, QObject* parent = nullptr);
    ~StatusItem() override;

    // `setProgress` (0 to 1) is how far the current set has come, drawn as a ring on the icon.
    void setStatus(const QString& title, qint64 pendingSets, qreal setProgress = 0);
    QString title() const { return m_title; }
    Host host() const { return m_host; }
    // Whether a tray shows the item; unknown until the first answer, which comes after the
    // constructor has returned.
    std::optional<bool> inTray() const { return m_inTray; }
    // Whether the first answer is in and, where an XEmbed tray docked the icon, the tray has also
    // given the icon its place.
    bool isSettled() const { return m_settled; }
    // Where a panel that no click on the icon opened should hang: the XEmbed icon's rectangle, or
    // the point of the last click that a StatusNotifierItem host reported; none while unknown.
    std::optional<QRect> iconAnchor() const;
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
    void settled();

private:
    void buildMenu();
    void useStatusNotifier();
    void useSystemTray();
    void watchForSystemTray();
    void setInTray(bool inTray);
    void settle();
    void createSystemTrayIcon();
    QList<QImage> iconImages() const;

    std::unique_ptr<QMenu> m_menu;
    StatusNotifierItem* m_statusNotifierItem = nullptr;
    // Made only once the tray is actually needed: Qt decides once per process whether its
    // tray icon speaks XEmbed, by whether a watcher runs at that moment.
    QSystemTrayIcon* m_systemTrayIcon = nullptr;
    std::unique_ptr<XEmbedTrayWatcher> m_trayWatcher;     // while no tray of either kind runs
    std::unique_ptr<XEmbedIconPlacement> m_iconPlacement; // from docking at start until settled
    Host m_host = Host::None;
    std::optional<bool> m_inTray;
    bool m_settled = false;
    std::optional<QRect> m_lastClickedPoint;
    QString m_title;
    qint64 m_pendingSets = 0;
    qreal m_setProgress = 0;
};
