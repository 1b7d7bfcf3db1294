#include "DelegateHarness.h"

DelegateHarness::DelegateHarness(const QDBusConnection& bus)
    : m_notifications(QDBusConnection(QStringLiteral("none"))) {
    TrackerState::Environment environment;
    environment.notifications = &m_notifications;
    m_delegate = std::make_unique<AppDelegate>(std::move(environment), bus);
    m_delegate->applicationDidFinishLaunching();
}

DelegateHarness::~DelegateHarness() = default;
