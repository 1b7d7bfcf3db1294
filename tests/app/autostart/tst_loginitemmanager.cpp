#include "TestFiles.h"
#include "TestHome.h"
#include "app/autostart/AutostartEntry.h"
#include "app/autostart/LoginItemManager.h"
#include "common/AppIdentity.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
bool writeProgram(const QString& path) {
    return writeFile(path, "#!/bin/sh\nexit 0\n") &&
           QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Desktop environments skip entries they cannot parse, so ours must pass the reference validator.
void validateEntry(const QString& path) {
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty()) {
        return;
    }
    QProcess validate;
    validate.start(validator, {path});
    QVERIFY(validate.waitForFinished());
    QVERIFY2(validate.exitCode() == 0, validate.readAllStandardOutput().constData());
}

QString execLine(const QByteArray& entry) {
    static const QRegularExpression exec(QStringLiteral("^Exec=(.*)$"), QRegularExpression::MultilineOption);
    return exec.match(QString::fromUtf8(entry)).captured(1);
}
} // namespace

class TestLoginItemManager : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The shared manager follows the config home; turning off twice is no failure; an AppImage
    // is started as the image.
    void enableWritesAnEntryThatStartsUsAndDisableRemovesIt() {
        const TestHome home;
        const LoginItemManager& manager = LoginItemManager::shared();
        QCOMPARE(manager.entryPath(), home.configHome() + "/autostart/" + AppIdentity::desktopEntryName);
        QVERIFY(!manager.isEnabled());
        QString error;
        QVERIFY2(manager.setEnabled(true, &error), qPrintable(error));
        QCOMPARE(execLine(readFile(manager.entryPath())), QCoreApplication::applicationFilePath());
        QVERIFY(manager.isEnabled());

        QVERIFY2(manager.setEnabled(false, &error), qPrintable(error));
        QVERIFY(!QFile::exists(manager.entryPath()));
        QVERIFY(manager.setEnabled(false, &error));

        const QString image = home.path() + QStringLiteral("/Zentrel-x86_64.AppImage");
        QVERIFY(writeProgram(image));
        qputenv("APPIMAGE", image.toUtf8());
        const bool enabled = manager.setEnabled(true);
        qunsetenv("APPIMAGE");
        QVERIFY(enabled);
        QCOMPARE(execLine(readFile(manager.entryPath())), image);
    }

    // An empty entry stands for the one we write for that program, which must survive any
    // character in its path; $PROGRAM for the program's path.
    void statusReflectsTheEntry_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("enabled");
        const QString head = QStringLiteral("[Desktop Entry]\nType=Application\nName=Zentrel\n");
        const QString program = QStringLiteral("zentrel");
        QTest::newRow("as we write it, with quotes, shell characters, percent and non-ASCII")
            << "Zentrel \"app\" 'x' $HOME`id`\\;b|c&d>e<f 100%zentrel %U ✓" << QString() << true;
        QTest::newRow("hidden") << program << head + "Exec=$PROGRAM\nHidden = true\n" << false;
        QTest::newRow("autostart disabled")
            << program << head + "Exec=$PROGRAM\nX-GNOME-Autostart-enabled=false\n"
            << false;
        QTest::newRow("hidden in another group only")
            << program << head + "Exec=$PROGRAM\n[Desktop Action quit]\nHidden=true\n"
            << true;
        QTest::newRow("program with arguments") << program << head + "Exec=$PROGRAM --tray %U\n" << true;
        QTest::newRow("program gone") << program << head + "Exec=/nonexistent/zentrel\n" << false;
        QTest::newRow("no Exec line") << program << head << false;
        QTest::newRow("program found on PATH") << program << head + "Exec=sh -c true\n" << true;
    }

    void statusReflectsTheEntry() {
        QFETCH(QString, fileName);
        QFETCH(QString, entry);
        const QTemporaryDir dir;
        const QString program = dir.path() + u'/' + fileName;
        QVERIFY(writeProgram(program));
        const LoginItemManager manager(dir.path() + QStringLiteral("/autostart"));
        QVERIFY(QDir().mkpath(manager.autostartFolder()));
        QVERIFY(writeFile(manager.entryPath(),
                          entry.isEmpty() ? AutostartEntry::render(program)
                                          : entry.replace(QStringLiteral("$PROGRAM"), program).toUtf8()));
        QTEST(manager.isEnabled(), "enabled");
        if (entry.isEmpty()) {
            validateEntry(manager.entryPath());
        }
    }

    // Tests run as root, where permission bits block nothing: the failures are made with
    // folders and files standing where the other kind is needed, which stops root too.
    void failedChangesLeaveEverythingAsItWas_data() {
        QTest::addColumn<bool>("autostartIsAFile");
        QTest::addColumn<bool>("enable");
        QTest::newRow("on, autostart folder is a file") << true << true;
        QTest::newRow("off, autostart folder is a file") << true << false;
        QTest::newRow("on, entry is a folder") << false << true;
        QTest::newRow("off, entry is a folder") << false << false;
    }

    void failedChangesLeaveEverythingAsItWas() {
        QFETCH(bool, autostartIsAFile);
        QFETCH(bool, enable);
        const QTemporaryDir dir;
        const LoginItemManager manager(dir.path() + QStringLiteral("/autostart"));
        if (autostartIsAFile) {
            QVERIFY(writeFile(manager.autostartFolder(), "not a folder"));
        } else {
            QVERIFY(QDir().mkpath(manager.entryPath()));
        }
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        QString error;
        const bool changed = manager.setEnabled(enable, &error);
        // Turning off where no entry can exist is not a failure: the result is what was asked.
        QCOMPARE(changed, autostartIsAFile && !enable);
        QCOMPARE(error.isEmpty(), changed);
        QVERIFY(!manager.isEnabled());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        if (autostartIsAFile) {
            QCOMPARE(readFile(manager.autostartFolder()), QByteArray("not a folder"));
        } else {
            QVERIFY(QFileInfo(manager.entryPath()).isDir());
        }
    }
};

QTEST_GUILESS_MAIN(TestLoginItemManager)
#include "tst_loginitemmanager.moc"
