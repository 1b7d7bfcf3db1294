#pragma once

#include "TestHome.h"
#include "alerts/NotificationManager.h"
#include "app/shell/AppDelegate.h"

#include <QDBusConnection>
#include <memory>

// An AppDelegate launched as the application launches it, in a temporary home, with its
// tray item on `bus` and alerts going to a bus that is not there.
class DelegateHarness {
public:
    explicit DelegateHarness(const QDBusConnection& bus);
    ~DelegateHarness();

    AppDelegate& delegate() { return *m_delegate; }
    TrackerState& state() { return m_delegate->state(); }

private:
    TestHome m_home;
    NotificationManager m_notifications;
    std::unique_ptr<AppDelegate> m_delegate;
};
