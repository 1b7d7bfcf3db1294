#include "AlertsLogCapture.h"
#include "NotificationManager.h"
#include "StdoutCapture.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString notificationService = QStringLiteral("org.freedesktop.Notifications");
const QString unreachableBus = QStringLiteral("unreachable");
const QString notPosted = QStringLiteral("Set alert not posted");

QByteArray authErrorLine(const QString& description) {
    return "Notification auth error: " + description.toUtf8() + '\n';
}
} // namespace

// Without a notification server, or without any bus, alerts are still requested and nothing blocks.
class TestNotificationManagerUnreachable : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QDBusConnection::disconnectFromBus(unreachableBus); }

    void noServerOnTheBus() {
        const QDBusConnection bus = QDBusConnection::sessionBus();
        QVERIFY2(bus.isConnected(), "run under dbus-run-session");
        QVERIFY2(!bus.interface()->isServiceRegistered(notificationService),
                 "the test bus must have no notification server");
        // The bus's own words for the failure, as a blocking call sees them.
        const QDBusMessage refused = bus.call(QDBusMessage::createMethodCall(
            notificationService, QStringLiteral("/org/freedesktop/Notifications"), notificationService,
            QStringLiteral("GetCapabilities")));
        QCOMPARE(refused.errorName(), QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown"));
        NotificationManager manager(bus);
        const AlertsLogCapture log;
        StdoutCapture output;
        QVERIFY(output.isActive());

        manager.requestPermission();
        QTRY_COMPARE(output.text(), authErrorLine(refused.errorMessage()));
        manager.sendSetAlert(2, 20, 10, QStringLiteral("Pushups"), true);
        QTRY_COMPARE(log.count(notPosted), 1);
    }

    void noBusAtAll() {
        QTemporaryDir nowhere;
        const QDBusConnection bus = QDBusConnection::connectToBus(
            QStringLiteral("unix:path=") + nowhere.filePath(QStringLiteral("no-bus-here")), unreachableBus);
        QVERIFY(!bus.isConnected());
        NotificationManager manager(bus);
        const AlertsLogCapture log;
        StdoutCapture output;
        QVERIFY(output.isActive());

        manager.requestPermission();
        QCOMPARE(output.text(), authErrorLine(bus.lastError().message()));
        manager.sendSetAlert(1, 10, 15, QStringLiteral("Squats"), false);

        QCOMPARE(log.count(notPosted), 1);
        QCOMPARE(output.text(), authErrorLine(bus.lastError().message()));
    }
};

QTEST_GUILESS_MAIN(TestNotificationManagerUnreachable)
#include "tst_notificationmanager_unreachable.moc"
