#include "AppIdentity.h"
#include "TestHome.h"
#include "autostart/AutostartEntry.h"
#include "autostart/LoginItemManager.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool writeFile(const QString& path, const QByteArray& contents) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

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
    const QList<QByteArray> lines = entry.split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith("Exec=")) {
            return QString::fromUtf8(line.mid(5));
        }
    }
    return {};
}

} // namespace

class TestLoginItemManager : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void enableWritesAnEntryThatStartsUs();
    void disableRemovesTheEntry();
    void anAppImageIsStartedAsTheImage();
    void statusReflectsTheEntry_data();
    void statusReflectsTheEntry();
    void execSurvivesUnusualPaths_data();
    void execSurvivesUnusualPaths();
    void failedChangesLeaveEverythingAsItWas_data();
    void failedChangesLeaveEverythingAsItWas();
    void sharedFollowsTheConfigHome();
};

void TestLoginItemManager::enableWritesAnEntryThatStartsUs() {
    const TestHome home;
    const LoginItemManager manager;
    const QString entryPath = home.configHome() + QStringLiteral("/autostart/app.zentrel.Zentrel.desktop");
    QVERIFY(!manager.isEnabled());

    QString error;
    QVERIFY2(manager.setEnabled(true, &error), qPrintable(error));

    QCOMPARE(manager.entryPath(), entryPath);
    const QByteArray entry = readFile(entryPath);
    QCOMPARE(execLine(entry), QCoreApplication::applicationFilePath());
    QVERIFY(QDir::isAbsolutePath(execLine(entry)));
    for (const char* line : {"[Desktop Entry]\n", "Type=Application\n", "Name=Zentrel\n",
                             "Icon=app.zentrel.Zentrel\n", "X-GNOME-Autostart-enabled=true\n"}) {
        QVERIFY2(entry.contains(line), line);
    }
    QVERIFY(manager.isEnabled());
    validateEntry(entryPath);
}

void TestLoginItemManager::disableRemovesTheEntry() {
    const TestHome home;
    const LoginItemManager manager;
    QVERIFY(manager.setEnabled(true));
    QVERIFY(QFile::exists(manager.entryPath()));

    QString error;
    QVERIFY2(manager.setEnabled(false, &error), qPrintable(error));
    QVERIFY(!QFile::exists(manager.entryPath()));
    QVERIFY(!manager.isEnabled());
    QVERIFY2(manager.setEnabled(false, &error), "turning off twice is no failure");
}

void TestLoginItemManager::anAppImageIsStartedAsTheImage() {
    const TestHome home;
    const QString image = home.path() + QStringLiteral("/Zentrel-x86_64.AppImage");
    QVERIFY(writeProgram(image));
    qputenv("APPIMAGE", image.toUtf8());
    const LoginItemManager manager;
    const bool enabled = manager.setEnabled(true);
    qunsetenv("APPIMAGE");

    QVERIFY(enabled);
    QCOMPARE(execLine(readFile(manager.entryPath())), image);
    QVERIFY(manager.isEnabled());
}

void TestLoginItemManager::statusReflectsTheEntry_data() {
    QTest::addColumn<QString>("entry"); // $PROGRAM stands for an existing executable
    QTest::addColumn<bool>("enabled");

    const QString head = QStringLiteral("[Desktop Entry]\nType=Application\nName=Zentrel\n");
    QTest::newRow("as we write it") << QString::fromUtf8(AutostartEntry::render(QStringLiteral("$PROGRAM")))
                                    << true;
    QTest::newRow("hidden") << head + QStringLiteral("Exec=$PROGRAM\nHidden=true\n") << false;
    QTest::newRow("not hidden") << head + QStringLiteral("Exec=$PROGRAM\nHidden=false\n") << true;
    QTest::newRow("hidden, spaced") << head + QStringLiteral("Exec=$PROGRAM\nHidden = true\n") << false;
    QTest::newRow("autostart disabled")
        << head + QStringLiteral("Exec=$PROGRAM\nX-GNOME-Autostart-enabled=false\n") << false;
    QTest::newRow("autostart disabled as 0")
        << head + QStringLiteral("Exec=$PROGRAM\nX-GNOME-Autostart-enabled=0\n") << false;
    QTest::newRow("hidden in another group only")
        << head + QStringLiteral("Exec=$PROGRAM\n[Desktop Action quit]\nHidden=true\n") << true;
    QTest::newRow("program with arguments and field codes")
        << head + QStringLiteral("Exec=$PROGRAM --tray %U\n") << true;
    QTest::newRow("program gone") << head + QStringLiteral("Exec=/nonexistent/zentrel\n") << false;
    QTest::newRow("program is a folder") << head + QStringLiteral("Exec=/\n") << false;
    QTest::newRow("no Exec line") << head << false;
    QTest::newRow("program found on PATH") << head + QStringLiteral("Exec=sh -c true\n") << true;
    QTest::newRow("program not on PATH")
        << head + QStringLiteral("Exec=zentrel-not-installed-here\n") << false;
    QTest::newRow("not a desktop entry") << QStringLiteral("\x01\x02garbage") << false;
}

void TestLoginItemManager::statusReflectsTheEntry() {
    QFETCH(QString, entry);
    QFETCH(bool, enabled);
    const QTemporaryDir dir;
    const QString program = dir.path() + QStringLiteral("/zentrel");
    QVERIFY(writeProgram(program));
    const LoginItemManager manager(dir.path() + QStringLiteral("/autostart"));
    QVERIFY(QDir().mkpath(manager.autostartDirectory()));
    QVERIFY(writeFile(manager.entryPath(), entry.replace(QStringLiteral("$PROGRAM"), program).toUtf8()));

    QCOMPARE(manager.isEnabled(), enabled);
}

void TestLoginItemManager::execSurvivesUnusualPaths_data() {
    QTest::addColumn<QString>("fileName");
    QTest::newRow("space") << "Zentrel app";
    QTest::newRow("double quote") << "zen\"trel";
    QTest::newRow("single quote") << "zen'trel";
    QTest::newRow("dollar and backtick") << "$HOME`id`";
    QTest::newRow("backslash") << "zen\\trel";
    QTest::newRow("percent") << "100%zentrel %U";
    QTest::newRow("shell operators") << "a;b|c&d>e<f";
    QTest::newRow("non-ASCII") << "Zéntrel ✓";
}

void TestLoginItemManager::execSurvivesUnusualPaths() {
    QFETCH(QString, fileName);
    const QTemporaryDir dir;
    const QString program = dir.path() + u'/' + fileName;
    QVERIFY(writeProgram(program));

    const AutostartEntry entry = AutostartEntry::parse(AutostartEntry::render(program));
    QCOMPARE(entry.program(), program);

    const LoginItemManager manager(dir.path() + QStringLiteral("/autostart"));
    QVERIFY(QDir().mkpath(manager.autostartDirectory()));
    QVERIFY(writeFile(manager.entryPath(), AutostartEntry::render(program)));
    QVERIFY(manager.isEnabled());
    validateEntry(manager.entryPath());
}

// Tests run as root, where permission bits block nothing: the failures are made with
// folders and files standing where the other kind is needed, which stops root too.
void TestLoginItemManager::failedChangesLeaveEverythingAsItWas_data() {
    QTest::addColumn<bool>("autostartIsAFile");
    QTest::addColumn<bool>("enable");
    QTest::newRow("on, autostart folder is a file") << true << true;
    QTest::newRow("off, autostart folder is a file") << true << false;
    QTest::newRow("on, entry is a folder") << false << true;
    QTest::newRow("off, entry is a folder") << false << false;
}

void TestLoginItemManager::failedChangesLeaveEverythingAsItWas() {
    QFETCH(bool, autostartIsAFile);
    QFETCH(bool, enable);
    const QTemporaryDir dir;
    const LoginItemManager manager(dir.path() + QStringLiteral("/autostart"));
    if (autostartIsAFile) {
        QVERIFY(writeFile(manager.autostartDirectory(), "not a folder"));
    } else {
        QVERIFY(QDir().mkpath(manager.entryPath()));
    }
    const QStringList before =
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

    QString error;
    const bool changed = manager.setEnabled(enable, &error);

    // Turning off where no entry can exist is not a failure: the result is what was asked.
    QCOMPARE(changed, autostartIsAFile && !enable);
    QCOMPARE(error.isEmpty(), changed);
    QVERIFY(!manager.isEnabled());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
    if (autostartIsAFile) {
        QCOMPARE(readFile(manager.autostartDirectory()), QByteArray("not a folder"));
    } else {
        QVERIFY(QFileInfo(manager.entryPath()).isDir());
        QVERIFY(QDir(manager.autostartDirectory()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }
}

void TestLoginItemManager::sharedFollowsTheConfigHome() {
    QCOMPARE(&LoginItemManager::shared(), &LoginItemManager::shared());
    const TestHome home;
    QCOMPARE(LoginItemManager::shared().entryPath(),
             home.configHome() + QStringLiteral("/autostart/") + AppIdentity::desktopEntryName);
    QVERIFY(LoginItemManager::shared().setEnabled(true));
    QVERIFY(QFile::exists(home.configHome() + QStringLiteral("/autostart/app.zentrel.Zentrel.desktop")));
}

QTEST_GUILESS_MAIN(TestLoginItemManager)
#include "tst_loginitemmanager.moc"
