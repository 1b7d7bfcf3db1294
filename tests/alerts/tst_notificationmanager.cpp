#include "AlertsLogCapture.h"
#include "NotificationServerFixture.h"
#include "OutputCapture.h"
#include "alerts/NotificationManager.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

namespace {
using NotifyCall = NotificationServerFixture::NotifyCall;

const QString markComplete = QStringLiteral("MARK_COMPLETE");
// The tests run with no sound device, so every sound we play ourselves ends in this line.
const QString soundAttempted = QStringLiteral("Alert sound not played");
const QString anotherAppBus = QStringLiteral("another-app");
const QString unreachableBus = QStringLiteral("unreachable");
const QString notPosted = QStringLiteral("Set alert not posted");

QByteArray authErrorLine(const QString& description) {
    return "Notification auth error: " + description.toUtf8() + '\n';
}

// Something the server says about one notification, in the order a test sends it.
struct ServerEvent {
    enum class Kind { Action, Closed };
    enum class Target { OurFirst, AnotherApps, NobodysId };
    Kind kind;
    Target target;
    QString actionKey;
};
using ServerEvents = QList<ServerEvent>;

ServerEvent action(ServerEvent::Target target, const QString& key = markComplete) {
    return {ServerEvent::Kind::Action, target, key};
}

ServerEvent closed(ServerEvent::Target target) {
    return {ServerEvent::Kind::Closed, target, QString()};
}

QVariantMap expectedHints(bool soundEnabled) {
    QVariantMap hints{
        {QStringLiteral("urgency"), QVariant::fromValue(uchar(1))},
        {QStringLiteral("category"), QStringLiteral("x-zentrel.PUSHUP_ALERT")},
        {QStringLiteral("desktop-entry"), QStringLiteral("app.zentrel.Zentrel")},
    };
    if (soundEnabled) {
        hints.insert(QStringLiteral("sound-name"), QStringLiteral("message-new-instant"));
    } else {
        hints.insert(QStringLiteral("suppress-sound"), true);
    }
    return hints;
}

// A manager whose "Mark Complete" runs are counted.
struct CountingManager {
    explicit CountingManager(const QDBusConnection& bus)
        : manager(bus) {
        manager.onMarkComplete = [this] { ++completions; };
    }

    NotificationManager manager;
    int completions = 0;
};
} // namespace

Q_DECLARE_METATYPE(ServerEvents)

class TestNotificationManager : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // One server for every test but the first, which needs a bus without one.
    void init() {
        if (qstrcmp(QTest::currentTestFunction(), "noServerOnTheBus") == 0) {
            m_server.stop();
            return;
        }
        if (!m_server.isRunning()) {
            QVERIFY2(m_server.start(), qPrintable(m_server.errorString()));
        }
        m_server.setCapabilities(NotificationServerFixture::defaultCapabilities.split(' '));
    }

    void cleanup() {
        QDBusConnection::disconnectFromBus(anotherAppBus);
        QDBusConnection::disconnectFromBus(unreachableBus);
    }

    // Without a notification server, or without any bus, alerts are still requested and nothing
    // blocks.
    void noServerOnTheBus() {
        const QDBusConnection bus = QDBusConnection::sessionBus();
        QVERIFY2(bus.isConnected(), "run under dbus-run-session");
        QVERIFY2(!bus.interface()->isServiceRegistered(NotificationServerFixture::serviceName),
                 "the test bus must have no notification server");
        // The bus's own words for the failure, as a blocking call sees them.
        const QDBusMessage refused = bus.call(QDBusMessage::createMethodCall(
            NotificationServerFixture::serviceName, QStringLiteral("/org/freedesktop/Notifications"),
            NotificationServerFixture::serviceName, QStringLiteral("GetCapabilities")));
        QCOMPARE(refused.errorName(), QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown"));
        NotificationManager manager(bus);
        const AlertsLogCapture log;
        OutputCapture output;
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
        OutputCapture output;
        QVERIFY(output.isActive());

        manager.requestPermission();
        QCOMPARE(output.text(), authErrorLine(bus.lastError().message()));
        manager.sendSetAlert(1, 10, 15, QStringLiteral("Squats"), false);

        QCOMPARE(log.count(notPosted), 1);
        QCOMPARE(output.text(), authErrorLine(bus.lastError().message()));
    }

    void notifyArguments_data() {
        QTest::addColumn<qint64>("pendingSets");
        QTest::addColumn<qint64>("totalPrompts");
        QTest::addColumn<qint64>("reps");
        QTest::addColumn<QString>("exerciseType");
        QTest::addColumn<bool>("soundEnabled");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("body");

        QTest::newRow("sound off") << qint64(1) << qint64(10) << qint64(10) << QStringLiteral("Pushups")
                                   << false << QStringLiteral("Time for 10 Pushups")
                                   << QStringLiteral("You've sent 10 prompts. 1 set(s) owed.");
        QTest::newRow("other exercise, sets piling up")
            << qint64(3) << qint64(45) << qint64(25) << QStringLiteral("Bicep Curls") << true
            << QStringLiteral("Time for 25 Bicep Curls")
            << QStringLiteral("You've sent 45 prompts. 3 set(s) owed.");
    }

    void notifyArguments() {
        QFETCH(qint64, pendingSets);
        QFETCH(qint64, totalPrompts);
        QFETCH(qint64, reps);
        QFETCH(QString, exerciseType);
        QFETCH(bool, soundEnabled);
        QFETCH(QString, title);
        QFETCH(QString, body);
        NotificationManager manager(QDBusConnection::sessionBus());
        const qsizetype before = m_server.notifyCalls().size();

        manager.sendSetAlert(pendingSets, totalPrompts, reps, exerciseType, soundEnabled);

        QTRY_COMPARE(m_server.notifyCalls().size(), before + 1);
        const NotifyCall call = m_server.notifyCalls().constLast();
        QCOMPARE(call.appName, QStringLiteral("Zentrel"));
        QCOMPARE(call.replacesId, 0u);
        QCOMPARE(call.appIcon, QStringLiteral("app.zentrel.Zentrel"));
        QCOMPARE(call.summary, title);
        QCOMPARE(call.body, body);
        QCOMPARE(call.actions,
                 (QStringList{QStringLiteral("MARK_COMPLETE"), QStringLiteral("Mark Complete")}));
        QCOMPARE(call.hints, expectedHints(soundEnabled));
        // Equal values are not enough: servers read the urgency only as a byte and the flag only as a
        // boolean.
        QCOMPARE(call.hints.value(QStringLiteral("urgency")).metaType(), QMetaType::fromType<uchar>());
        QCOMPARE(call.hints.value(QStringLiteral("suppress-sound"), false).metaType(),
                 QMetaType::fromType<bool>());
        QCOMPARE(call.expireTimeout, -1);
    }

    // Each row's events are followed by "Mark Complete" on a second alert of ours, so the count settles
    // at the expected number plus one only after every earlier event has been handled.
    void actionRouting_data() {
        using Target = ServerEvent::Target;
        QTest::addColumn<ServerEvents>("events");
        QTest::addColumn<int>("completions");
        QTest::addColumn<int>("anotherAppsCompletions");

        QTest::newRow("our alert") << ServerEvents{action(Target::OurFirst)} << 1 << 0;
        QTest::newRow("another application's alert") << ServerEvents{action(Target::AnotherApps)} << 0 << 1;
        QTest::newRow("an id nobody posted") << ServerEvents{action(Target::NobodysId)} << 0 << 0;
        QTest::newRow("click on the alert itself")
            << ServerEvents{action(Target::OurFirst, QStringLiteral("default"))} << 0 << 0;
        QTest::newRow("dismissed") << ServerEvents{closed(Target::OurFirst)} << 0 << 0;
        QTest::newRow("another application's alert closed")
            << ServerEvents{closed(Target::AnotherApps), action(Target::OurFirst)} << 1 << 0;
    }

    void actionRouting() {
        QFETCH(ServerEvents, events);
        QFETCH(int, completions);
        QFETCH(int, anotherAppsCompletions);
        CountingManager anotherApp(QDBusConnection::connectToBus(QDBusConnection::SessionBus, anotherAppBus));
        CountingManager ours(QDBusConnection::sessionBus());
        const uint anotherAppsId = post(anotherApp.manager);
        const uint ourFirstId = post(ours.manager);
        const uint ourControlId = post(ours.manager);
        QVERIFY(anotherAppsId != 0 && ourFirstId != 0 && ourControlId != 0);
        const QMap<ServerEvent::Target, uint> ids{{ServerEvent::Target::OurFirst, ourFirstId},
                                                  {ServerEvent::Target::AnotherApps, anotherAppsId},
                                                  {ServerEvent::Target::NobodysId, ourControlId + 1000}};

        for (const ServerEvent& event : events) {
            if (event.kind == ServerEvent::Kind::Action) {
                m_server.emitActionInvoked(ids[event.target], event.actionKey);
            } else {
                m_server.emitNotificationClosed(ids[event.target], 2);
            }
        }
        m_server.emitActionInvoked(ourControlId, markComplete);

        QTRY_COMPARE(ours.completions, completions + 1);
        QTRY_COMPARE(anotherApp.completions, anotherAppsCompletions);
    }

    void soundFallback_data() {
        QTest::addColumn<QStringList>("capabilities");
        QTest::addColumn<bool>("soundEnabled");
        QTest::addColumn<int>("playedOurselves");

        const QStringList withSound{QStringLiteral("actions"), QStringLiteral("body"),
                                    QStringLiteral("sound")};
        const QStringList silent{QStringLiteral("actions"), QStringLiteral("body"),
                                 QStringLiteral("persistence")};
        QTest::newRow("server plays the sound") << withSound << true << 0;
        QTest::newRow("server without sound") << silent << true << 1;
    }

    void soundFallback() {
        QFETCH(QStringList, capabilities);
        QFETCH(bool, soundEnabled);
        QFETCH(int, playedOurselves);
        m_server.setCapabilities(capabilities);
        CountingManager counting(QDBusConnection::sessionBus());
        const AlertsLogCapture log;
        OutputCapture output;
        OutputCapture errors(STDERR_FILENO);
        QVERIFY(output.isActive() && errors.isActive());

        counting.manager.requestPermission();
        const uint id = post(counting.manager, soundEnabled);
        QVERIFY(id != 0);
        // Once the action has come back, the server's answers to both calls have been handled.
        m_server.emitActionInvoked(id, markComplete);
        QTRY_COMPARE(counting.completions, 1);

        QCOMPARE(log.count(soundAttempted), playedOurselves);
        QCOMPARE(output.text(), QByteArray());
        QCOMPARE(errors.text(), QByteArray()); // not even from the sound system
    }

private:
    // Posts one alert and waits until the server has it; the id the server gave it, 0 when it never came.
    uint post(NotificationManager& manager, bool soundEnabled = true) {
        const qsizetype before = m_server.notifyCalls().size();
        manager.sendSetAlert(1, 10, 10, QStringLiteral("Pushups"), soundEnabled);
        if (!QTest::qWaitFor([&] { return m_server.notifyCalls().size() > before; })) {
            return 0;
        }
        return m_server.notifyCalls().constLast().id;
    }

    NotificationServerFixture m_server;
};

QTEST_GUILESS_MAIN(TestNotificationManager)
#include "tst_notificationmanager.moc"
