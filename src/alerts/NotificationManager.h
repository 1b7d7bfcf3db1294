#pragma once

#include <QDBusConnection>
#include <QDBusPendingReply>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class AlertSound;
class NotificationServerProxy;

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

private:
    std::optional<QString> busFailure() const;
    void askCapabilities(bool reportFailure);
    void takeCapabilities(const QDBusPendingReply<QStringList>& reply, bool reportFailure);
    void takePosted(const QDBusPendingReply<uint>& reply, bool soundEnabled);
    void handleAction(uint id, const QString& actionKey);
    void forget(uint id);
    bool serverLacksSound() const;

    NotificationServerProxy* m_server;
    AlertSound* m_sound;
    // Ids the server gave our alerts; some servers broadcast every application's actions.
    QSet<uint> m_postedIds;
    // Unknown until the server has answered GetCapabilities.
    std::optional<QStringList> m_capabilities;
};
