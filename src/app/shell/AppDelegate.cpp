#include "app/shell/AppDelegate.h"

#include "app/autostart/LoginItemManager.h"
#include "app/panel/PanelWindow.h"
#include "app/shell/AppLog.h"
#include "app/shell/ApplicationIcon.h"
#include "app/tray/StatusItem.h"
#include "app/update/Updater.h"
#include "model/StatusWording.h"
#include "ui/PopoverView.h"

#include <QApplication>
#include <utility>

namespace {
LaunchAtLoginBinding launchAtLoginBinding() {
    return {[] { return LoginItemManager::shared().isEnabled(); },
            [](bool enabled) {
                QString error;
                if (!LoginItemManager::shared().setEnabled(enabled, &error)) {
                    qCInfo(lcApp) << "launch at login unchanged:" << error;
                }
            }};
}
} // namespace

AppDelegate::AppDelegate(TrackerState::Environment environment, const QDBusConnection& bus, QObject* parent)
    : QObject(parent)
    , m_bus(bus)
    , m_state(std::move(environment))
    , m_updater(std::make_unique<Updater>()) {}

// The panel hosts views that read the model, so it goes before the model does.
AppDelegate::~AppDelegate() {
    m_panel.reset();
    m_statusItem.reset();
}

void AppDelegate::applicationDidFinishLaunching() {
    QApplication::setWindowIcon(applicationIcon()); // every window's, for task lists and switchers
    buildStatusItem();
    buildPanel();
    m_state.startWatching();
    observeState();
}

void AppDelegate::buildStatusItem() {
    m_statusItem = std::make_unique<StatusItem>(m_bus);
    connect(m_statusItem.get(), &StatusItem::activated, this, &AppDelegate::togglePanel);
    connect(m_statusItem.get(), &StatusItem::openRequested, this, [this] { showPanel(); });
    connect(m_statusItem.get(), &StatusItem::checkForUpdatesRequested, this, &AppDelegate::checkForUpdates);
    connect(m_statusItem.get(), &StatusItem::quitRequested, this, [] { QCoreApplication::quit(); });
    // Without a tray the panel is the only way in, so it opens at start. The first answer is
    // the one at start: a tray that goes away later does not bring the window up unasked.
    connect(m_statusItem.get(), &StatusItem::settled, this, [this] {
        if (std::exchange(m_panelRequested, false) || m_statusItem->inTray() == false) {
            showPanel();
        }
    });
}

void AppDelegate::buildPanel() {
    m_popoverView = new PopoverView(m_state, launchAtLoginBinding());
    m_panel = std::make_unique<PanelWindow>(m_popoverView,
                                            QSize(PopoverView::panelWidth, PopoverView::panelHeight));
    connect(m_popoverView, &PopoverView::checkForUpdatesRequested, this, &AppDelegate::checkForUpdates);
}

void AppDelegate::togglePanel(const std::optional<QRect>& anchor) {
    if (m_panel) {
        m_panel->togglePanel(anchor);
    }
}

// A request from before the tray item settled waits for it: until then neither the look nor the
// place of the panel is known, and a popup opened meanwhile would close as the icon docks.
void AppDelegate::showPanel() {
    if (!m_panel) {
        return;
    }
    if (!m_statusItem->isSettled()) {
        m_panelRequested = true;
    } else if (m_statusItem->inTray() == false) {
        m_panel->showAsWindow();
    } else {
        m_panel->showPanel(m_statusItem->iconAnchor());
    }
}

// The title follows every counter and the prompts-per-set setting without waiting for a prompt.
void AppDelegate::observeState() {
    connect(&m_state, &TrackerState::pendingSetsChanged, this, &AppDelegate::scheduleStatusUpdate);
    connect(&m_state, &TrackerState::promptsThisSetChanged, this, &AppDelegate::scheduleStatusUpdate);
    connect(&m_state, &TrackerState::promptLimitChanged, this, &AppDelegate::scheduleStatusUpdate);
    updateStatusItem();
}

// The prompt that makes a set owed changes the progress before the owed count; refreshing once
// the operation is over keeps its passing "0/10" from reaching the tray host.
void AppDelegate::scheduleStatusUpdate() {
    if (m_statusUpdatePending) {
        return;
    }
    m_statusUpdatePending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_statusUpdatePending = false;
            updateStatusItem();
        },
        Qt::QueuedConnection);
}

void AppDelegate::updateStatusItem() {
    const StatusCounters status = m_state.status();
    m_statusItem->setStatus(StatusWording::title(status), status.pendingSets, status.fraction());
}

void AppDelegate::checkForUpdates() {
    qCInfo(lcApp) << "update check requested";
    m_updater->checkForUpdates();
}
