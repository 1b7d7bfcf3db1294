#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <functional>

// The process's link to the desktop notification server (org.freedesktop.Notifications).
class NotificationManager : public QObject {
    Q_OBJECT

public:
    static NotificationManager& shared(); // on the session bus, created on first use

    explicit NotificationManager(const QDBusConnection& bus, QObject* parent = nullptr);

    inline static const QString categoryID = QStringLiteral("PUSHUP_ALERT");
    inline static const QString actionID = QStringLiteral("MARK_COMPLETE");

    // Run, queued on the main thread, when the user chooses "Mark Complete" on one of our alerts.
    std::function<void()> onMarkComplete;

    void requestPermission();
    void sendSetAlert(qint64 pendingSets, qint64 totalPrompts, qint64 reps, const QString& exerciseType,
                      bool soundEnabled);

Q_SIGNALS:
    // Emitted for every alert handed to the server (also when none is running), for logging.
    void setAlertRequested(const QString& title, const QString& body, bool soundEnabled);
};
