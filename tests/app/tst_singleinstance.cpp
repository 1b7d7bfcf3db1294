#include "StatusNotifierWatcherStandIn.h"
#include "TestHome.h"
#include "ZentrelProcess.h"
#include "app/shell/SingleInstance.h"
#include "common/AppIdentity.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>
#include <QTest>
#include <unistd.h>

class TestSingleInstance : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs a session bus"); }

    // Without a bus a lock file decides, and the bus name's owner holds it too; each is free
    // again once its holder is gone. Without a runtime directory the lock goes to a private folder.
    void theLockFileBacksTheBusName() {
        TestHome home;
        const QDBusConnection noBus(QStringLiteral("none"));
        {
            SingleInstance onBus(QDBusConnection::sessionBus());
            QVERIFY(onBus.claim());
            QVERIFY(!SingleInstance(noBus).claim());
        }
        QVERIFY(
            !QDBusConnection::sessionBus().interface()->isServiceRegistered(AppIdentity::busName).value());
        auto first = std::make_unique<SingleInstance>(noBus);
        QVERIFY(first->claim());
        QCOMPARE(SingleInstance::lockFilePath(),
                 home.path() + QStringLiteral("/run/app.zentrel.Zentrel.lock"));
        QVERIFY(QFileInfo::exists(SingleInstance::lockFilePath()));
        QVERIFY(!SingleInstance(noBus).claim());
        first.reset();
        QVERIFY(SingleInstance(QDBusConnection::sessionBus()).claim());

        qunsetenv("XDG_RUNTIME_DIR");
        const QString path = SingleInstance::lockFilePath();
        QCOMPARE(path, QStringLiteral("/tmp/zentrel-%1/app.zentrel.Zentrel.lock").arg(::getuid()));
        const QFileInfo folder(QFileInfo(path).absolutePath());
        QVERIFY(folder.isDir());
        QCOMPARE(folder.permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther), 0);
    }

    void quitFromTheTrayMenuEndsTheProgram() {
        TestHome home;
        StatusNotifierWatcherStandIn watcher;
        QVERIFY(watcher.start());
        ZentrelProcess program(home);
        QVERIFY(program.start());
        const QString item = QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(program.pid());
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
