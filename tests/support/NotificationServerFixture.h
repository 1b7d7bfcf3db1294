#pragma once

#include <QByteArrayList>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

// A desktop notification server for tests: python-dbusmock's notification_daemon template, started on
// the session bus of the test run. It records every call made to it and sends the server's signals on
// request. The test run's bus must be private (dbus-run-session), never a desktop's own.
class NotificationServerFixture {
public:
    // One Notify call as the server received it, and the id the server answered with.
    struct NotifyCall {
        uint id = 0;
        QString appName;
        uint replacesId = 0;
        QString appIcon;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        int expireTimeout = 0;
    };

    static const QString serviceName;
    static const QString defaultCapabilities;

    explicit NotificationServerFixture(QString capabilities = defaultCapabilities);
    ~NotificationServerFixture();
    NotificationServerFixture(const NotificationServerFixture&) = delete;
    NotificationServerFixture& operator=(const NotificationServerFixture&) = delete;

    // Starts the server and waits until it owns its bus name; false (see errorString()) when it can't.
    bool start();
    // Stops the server and waits until its bus name is gone.
    void stop();
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    QString errorString() const { return m_error; }

    // Arguments of every call of method since the server started, oldest first.
    QList<QVariantList> methodCalls(const QString& method) const;
    QList<NotifyCall> notifyCalls() const;

    // What GetCapabilities answers from now on.
    void setCapabilities(const QStringList& capabilities);
    // From now on the server reads the file at path whenever Notify arrives, before answering;
    // fileAtEachNotify() gives what it read, one entry per Notify (empty when there was no file).
    void readFileAtEachNotify(const QString& path);
    QByteArrayList fileAtEachNotify() const;

    void emitActionInvoked(uint id, const QString& actionKey);
    void emitNotificationClosed(uint id, uint reason);

private:
    bool fail(const QString& error);
    void callMock(const QString& method, const QVariantList& arguments) const;
    void emitSignal(const QString& name, const QString& signature, const QVariantList& arguments);

    QString m_capabilities;
    QProcess m_process;
    QString m_error;
};
