#include "AppIdentity.h"
#include "SingleInstance.h"
#include "StatusNotifierWatcherStandIn.h"
#include "TestHome.h"
#include "ZentrelProcess.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>
#include <QTest>
#include <unistd.h>

namespace {
bool busNameHasOwner(const QString& name) {
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(name).value();
}
} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs a session bus"); }

    // A start without a bus must not run beside the bus name's owner; once that is gone, the
    // name is free again.
    void busOwnerHoldsTheLockAndReleasesTheName() {
        TestHome home;
        {
            SingleInstance onBus(QDBusConnection::sessionBus());
            QVERIFY(onBus.claim());
            QVERIFY(!SingleInstance(QDBusConnection(QStringLiteral("none"))).claim());
        }
        QVERIFY(!busNameHasOwner(AppIdentity::busName));
        SingleInstance next(QDBusConnection::sessionBus());
        QVERIFY(next.claim());
    }

    void withoutABusALockFileDecides() {
        TestHome home;
        const QDBusConnection noBus(QStringLiteral("none"));
        auto first = std::make_unique<SingleInstance>(noBus);
        QVERIFY(first->claim());
        QCOMPARE(SingleInstance::lockFilePath(),
                 home.path() + QStringLiteral("/run/app.zentrel.Zentrel.lock"));
        QVERIFY(QFileInfo::exists(SingleInstance::lockFilePath()));
        QVERIFY(!SingleInstance(noBus).claim());
        first.reset();
        QVERIFY(SingleInstance(noBus).claim());
    }

    void lockFolderWithoutARuntimeDirectory() {
        TestHome home;
        qunsetenv("XDG_RUNTIME_DIR");
        const QString path = SingleInstance::lockFilePath();
        QCOMPARE(path, QStringLiteral("/tmp/zentrel-%1/app.zentrel.Zentrel.lock").arg(::getuid()));
        const QFileInfo folder(QFileInfo(path).absolutePath());
        QVERIFY(folder.isDir());
        QCOMPARE(folder.permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther), 0);
    }

    void secondProgramWithoutABusExits() {
        TestHome home;
        const QStringList noBus{QStringLiteral("DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/bus")};
        ZentrelProcess first(home, noBus);
        QVERIFY(first.start());
        QVERIFY2(first.waitForLog(QStringLiteral("running as the only instance")), qPrintable(first.log()));
        ZentrelProcess second(home, noBus);
        QVERIFY(second.start());
        QCOMPARE(second.waitForExit(), 0);
        QVERIFY2(second.log().contains(QLatin1String("already running")), qPrintable(second.log()));
    }

    void quitFromTheTrayMenuEndsTheProgram() {
        TestHome home;
        StatusNotifierWatcherStandIn watcher;
        QVERIFY(watcher.start());
        ZentrelProcess program(home);
        QVERIFY(program.start());
        const QString item = QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(program.pid());
        QTRY_COMPARE_WITH_TIMEOUT(watcher.registeredItems(), QStringList{item}, ZentrelProcess::timeoutMs);
        QVERIFY2(program.waitForLog(QStringLiteral("tray item registered after")), qPrintable(program.log()));

        QDBusMessage click =
            QDBusMessage::createMethodCall(item, QStringLiteral("/MenuBar"),
                                           QStringLiteral("com.canonical.dbusmenu"), QStringLiteral("Event"));
        click << 3 << QStringLiteral("clicked") << QVariant::fromValue(QDBusVariant(0)) << 0u;
        QCOMPARE(watcher.connection().call(click, QDBus::BlockWithGui).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(program.waitForExit(), 0);
    }
};

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
