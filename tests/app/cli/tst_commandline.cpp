#include "StatusNotifierWatcherStandIn.h"
#include "TestFiles.h"
#include "TrackerHarness.h"
#include "ZentrelProcess.h"
#include "common/AppIdentity.h"

#include <QDBusConnectionInterface>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

namespace {
const QByteArray promptLine = R"({"type":"user","message":{"role":"user","content":"and now the tests"}})"
                              "\n";

// Counted by hand: prompts on lines 1 and 7, line 4 blank, two records of another type, one line
// for each of three other reasons.
const QByteArray handCounted =
    R"({"type":"user","message":{"role":"user","content":"secret one"},"uuid":"u1","timestamp":"2026-01-01T00:00:00Z"})"
    "\n"
    R"({"type":"assistant","message":{"role":"assistant","content":[{"type":"text","text":"secret two"}]}})"
    "\n"
    R"({"type":"user","message":{"role":"user","content":[{"type":"tool_result","tool_use_id":"t","content":"x"}]}})"
    "\n\n"
    "secret three, not JSON\n"
    R"({"type":"user","isMeta":true,"message":{"role":"user","content":"secret four"}})"
    "\n"
    R"({"type":"user","message":{"role":"user","content":"secret five"}})"
    "\n"
    R"({"type":"system","content":"secret six"})"
    "\n";

// Every file below `root` with its bytes.
QMap<QString, QByteArray> filesBelow(const QString& root) {
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        files.insert(file.fileName(),
                     file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable"));
    }
    return files;
}

bool busNameHasOwner() {
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(AppIdentity::busName).value();
}

QJsonObject lineObject(const QString& line) {
    return QJsonDocument::fromJson(line.toUtf8()).object();
}

// Checks each line against the JSON schema of the status with Debian's python3-jsonschema.
QString schemaViolations(const QStringList& lines) {
    QProcess python;
    python.start(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral("-c"),
         QStringLiteral(
             "import json, sys, jsonschema\n"
             "schema = json.load(open(sys.argv[1]))\n"
             "for line in sys.stdin:\n"
             "    jsonschema.validate(json.loads(line), schema, jsonschema.Draft202012Validator)\n"),
         qEnvironmentVariable("ZENTREL_SOURCE_DIR") + QStringLiteral("/tests/app/cli/status.schema.json")});
    python.write(lines.join(QLatin1Char('\n')).toUtf8() + '\n');
    python.closeWriteChannel();
    if (!python.waitForFinished(ZentrelProcess::timeoutMs) || python.exitCode() != 0) {
        return QString::fromUtf8(python.readAllStandardError()) + python.errorString();
    }
    return {};
}
} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs a session bus"); }

    void withoutAnInstance_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("variables");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("error");
        const QStringList none;
        const QStringList noDisplay{QStringLiteral("QT_QPA_PLATFORM="), QStringLiteral("DISPLAY="),
                                    QStringLiteral("WAYLAND_DISPLAY=")};
        const QString cannotOpenTheDisplay = QStringLiteral("zentrel: cannot open the display\n");
        QTest::newRow("status") << QStringList{QStringLiteral("status")} << none << 0
                                << QStringLiteral("7/10 prompts · 1 set owed · 15 squats · not running\n")
                                << QString();
        QTest::newRow("status as JSON")
            << QStringList{QStringLiteral("status"), QStringLiteral("--json")} << none << 0
            << QStringLiteral(
                   R"({"class":"owed","exercise":"Squats","pendingSets":1,"percentage":70,)"
                   R"("promptLimit":10,"promptsThisSet":7,"repsPerSet":15,"running":false,"text":"1",)"
                   R"("tooltip":"1 set of 15 squats owed\nZentrel is not running","totalPrompts":27})"
                   "\n")
            << QString();
        QTest::newRow("complete") << QStringList{QStringLiteral("complete")} << none << 1 << QString()
                                  << QStringLiteral("zentrel: Zentrel is not running\n");
        QTest::newRow("version") << QStringList{QStringLiteral("--version")} << none << 0
                                 << QStringLiteral("zentrel " ZENTREL_VERSION "\n") << QString();
        QTest::newRow("unknown command")
            << QStringList{QStringLiteral("stats")} << none << 2 << QString()
            << QStringLiteral("zentrel: Unknown command 'stats'.\nTry 'zentrel --help'.\n");
        QTest::newRow("option of another command")
            << QStringList{QStringLiteral("complete"), QStringLiteral("--follow")} << none << 2 << QString()
            << QStringLiteral("zentrel: --follow goes with status.\nTry 'zentrel --help'.\n");
        QTest::newRow("no display") << QStringList() << noDisplay << 1 << QString() << cannotOpenTheDisplay;
        QTest::newRow("show, X display not running")
            << QStringList{QStringLiteral("show")}
            << QStringList{QStringLiteral("QT_QPA_PLATFORM=xcb"), QStringLiteral("DISPLAY=:97")} << 1
            << QString() << cannotOpenTheDisplay;
    }

    // Nothing runs, so the commands read the store, and must leave it, its folder and the home as
    // they were: not even a lock file may come and go.
    void withoutAnInstance() {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, variables);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QFETCH(QString, error);
        TrackerHarness harness;
        harness.seedStore("totalRequests=27\npendingSets=1\npushupsPerSet=15\nexerciseType=Squats");
        const QMap<QString, QByteArray> before = filesBelow(harness.home.path());
        const QString storeFolder = QFileInfo(harness.storePath()).absolutePath();
        const QDateTime folderModified = QFileInfo(storeFolder).lastModified();
        ZentrelProcess command(harness.home, variables);
        QCOMPARE(command.run(arguments), exitCode);
        QCOMPARE(command.output(), output);
        QCOMPARE(command.log(), error);
        QCOMPARE(filesBelow(harness.home.path()), before);
        QCOMPARE(QFileInfo(storeFolder).lastModified(), folderModified);
        QVERIFY(!busNameHasOwner());
    }

    void helpNamesTheProgramAsItIsCalled() {
        TestHome home;
        ZentrelProcess help(home);
        QCOMPARE(help.run({QStringLiteral("--help")}), 0);
        QVERIFY2(help.output().startsWith(QLatin1String("Usage: zentrel [options] [command] [FILE...]\n")),
                 qPrintable(help.output()));
    }

    // A bar follows from before Zentrel starts until after it quits, while a script shows the
    // panel, clears the owed set, fails to clear another, and a prompt is typed.
    void againstARunningInstance() {
        TrackerHarness harness;
        harness.seedStore("totalRequests=9\npendingSets=1");
        ZentrelProcess follow(harness.home);
        QVERIFY(
            follow.start({QStringLiteral("status"), QStringLiteral("--follow"), QStringLiteral("--json")}));
        QVERIFY2(follow.waitForLines(1), qPrintable(follow.log()));
        QCOMPARE(lineObject(follow.lines().at(0)).value(QLatin1String("running")), false);

        StatusNotifierWatcherStandIn tray; // without a tray the panel would open at start
        QVERIFY(tray.start());
        ZentrelProcess zentrel(harness.home);
        QVERIFY(zentrel.start());
        QVERIFY2(follow.waitForLines(2), qPrintable(zentrel.log()));
        QVERIFY2(zentrel.waitForLog(QStringLiteral("tray item registered after")), qPrintable(zentrel.log()));
        QVERIFY(!zentrel.log().contains(QLatin1String("panel shown")));
        QCOMPARE(lineObject(follow.lines().at(1)).value(QLatin1String("running")), true);
        QCOMPARE(lineObject(follow.lines().at(1)).value(QLatin1String("pendingSets")), 1);

        ZentrelProcess show(harness.home);
        QCOMPARE(show.run({QStringLiteral("show")}), 0);
        QVERIFY2(zentrel.waitForLog(QStringLiteral("panel shown")), qPrintable(zentrel.log()));

        ZentrelProcess complete(harness.home);
        QCOMPARE(complete.run({QStringLiteral("complete")}), 0);
        QCOMPARE(complete.output(), QStringLiteral("9/10 prompts · no set owed · 10 pushups\n"));
        QVERIFY(follow.waitForLines(3));
        QCOMPARE(lineObject(follow.lines().at(2)).value(QLatin1String("pendingSets")), 0);

        ZentrelProcess nothingOwed(harness.home);
        QCOMPARE(nothingOwed.run({QStringLiteral("complete")}), 1);
        QCOMPARE(nothingOwed.log(), QStringLiteral("zentrel: no set is owed\n"));
        QCOMPARE(nothingOwed.output(), QString());

        QVERIFY(writeFile(harness.home.projectsDirectory() + QStringLiteral("/project/session.jsonl"),
                          promptLine));
        QVERIFY(follow.waitForLines(4));
        QCOMPARE(lineObject(follow.lines().at(3)).value(QLatin1String("totalPrompts")), 10);
        QCOMPARE(lineObject(follow.lines().at(3)).value(QLatin1String("class")), QLatin1String("owed"));

        zentrel.terminate();
        QVERIFY(follow.waitForLines(5));
        const QJsonObject stored = lineObject(follow.lines().at(4));
        QCOMPARE(stored.value(QLatin1String("running")), false);
        QCOMPARE(stored.value(QLatin1String("totalPrompts")), 10);
        QCOMPARE(follow.lines().size(), 5);
        const QString violations = schemaViolations(follow.lines());
        QVERIFY2(violations.isEmpty(), qPrintable(violations));
    }

    // A file that cannot be read is told on standard error; the others are still explained, and
    // never with the text of a line.
    void explainsAHandCountedTranscript() {
        TestHome home;
        const QString transcript = home.path() + QStringLiteral("/session.jsonl");
        QFile file(transcript);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(handCounted), handCounted.size());
        file.close();
        const QString missing = home.path() + QStringLiteral("/missing.jsonl");
        const auto line = [](int number, const char* verdict) {
            return QJsonObject{{QStringLiteral("line"), number},
                               {QStringLiteral("verdict"), QLatin1String(verdict)}};
        };
        const QJsonObject expected{
            {QStringLiteral("file"), transcript},
            {QStringLiteral("prompts"), 2},
            {QStringLiteral("ignored"), QJsonObject{{QStringLiteral("not a user record"), 2},
                                                    {QStringLiteral("tool results"), 1},
                                                    {QStringLiteral("invalid JSON"), 1},
                                                    {QStringLiteral("the assistant's own records"), 1}}},
            {QStringLiteral("lines"),
             QJsonArray{line(1, "prompt"), line(2, "not a user record"), line(3, "tool results"),
                        line(5, "invalid JSON"), line(6, "the assistant's own records"), line(7, "prompt"),
                        line(8, "not a user record")}},
        };
        ZentrelProcess json(home);
        QCOMPARE(json.run({QStringLiteral("explain"), QStringLiteral("--json"), QStringLiteral("--lines"),
                           transcript, missing}),
                 1);
        QCOMPARE(QJsonDocument::fromJson(json.output().toUtf8()).array(), QJsonArray{expected});
        QCOMPARE(json.log(),
                 QStringLiteral("zentrel: cannot read %1: No such file or directory\n").arg(missing));
        ZentrelProcess words(home);
        QCOMPARE(words.run({QStringLiteral("explain"), QStringLiteral("--lines"), transcript}), 0);
        QVERIFY2(words.output().startsWith(transcript + QStringLiteral(": 2 prompts, 5 other lines\n")),
                 qPrintable(words.output()));
        QVERIFY(!json.output().contains(QLatin1String("secret")) &&
                !words.output().contains(QLatin1String("secret")));
    }

    void showStartsZentrelWithItsPanelOpen() {
        TestHome home;
        StatusNotifierWatcherStandIn tray;
        QVERIFY(tray.start());
        ZentrelProcess zentrel(home);
        QVERIFY(zentrel.start({QStringLiteral("show")}));
        QVERIFY2(zentrel.waitForLog(QStringLiteral("panel shown")), qPrintable(zentrel.log()));
        QVERIFY(busNameHasOwner());
    }
};

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
