#pragma once

#include "model/TrackerState.h"

#include <QDBusConnection>
#include <QObject>
#include <QRect>
#include <memory>
#include <optional>

class PanelWindow;
class PopoverView;
class StatusItem;
class Updater;

// Owns the one TrackerState of the process, the tray item and the panel, and the updater.
// Nothing is shown until applicationDidFinishLaunching().
class AppDelegate : public QObject {
    Q_OBJECT

public:
    // `bus` carries the tray item; the model talks to the rest of the world through `environment`.
    explicit AppDelegate(TrackerState::Environment environment = {},
                         const QDBusConnection& bus = QDBusConnection::sessionBus(),
                         QObject* parent = nullptr);
    ~AppDelegate() override;

    void applicationDidFinishLaunching();
    void togglePanel(const std::optional<QRect>& anchor);
    // As a window where no tray shows the icon, else as the popup under the icon where its place
    // is known, or at the pointer.
    void showPanel();

    TrackerState& state() { return m_state; }
    StatusItem* statusItem() const { return m_statusItem.get(); }
    PanelWindow* panel() const { return m_panel.get(); }
    PopoverView* popoverView() const { return m_popoverView; }
    Updater& updater() { return *m_updater; }

private:
    void buildStatusItem();
    void buildPanel();
    void observeState();
    void scheduleStatusUpdate();
    void updateStatusItem();
    void checkForUpdates();

    QDBusConnection m_bus;
    TrackerState m_state;
    std::unique_ptr<Updater> m_updater;
    std::unique_ptr<StatusItem> m_statusItem;
    std::unique_ptr<PanelWindow> m_panel;
    PopoverView* m_popoverView = nullptr; // owned by m_panel
    bool m_statusUpdatePending = false;
    bool m_panelRequested = false; // before the tray item settled
};
