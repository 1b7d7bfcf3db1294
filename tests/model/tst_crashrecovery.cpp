#include "NotificationServerFixture.h"
#include "StoreSnapshot.h"

#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
// Starting the program under the sanitizers takes a few seconds on a busy machine.
constexpr int processTimeoutMs = 30000;
const QByteArray promptLine = R"({"type":"user","message":{"role":"user","content":"next step"}})"
                              "\n";

// The real program, run as a user would, and everything it prints.
class ProgramRun : public QObject {
public:
    explicit ProgramRun(const QString& home) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home);
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
        environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("zentrel.*.info=true"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.remove(QStringLiteral("CLAUDE_CONFIG_DIR"));
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        connect(&m_process, &QProcess::readyRead, this, [this] { m_output += m_process.readAll(); });
        m_process.start(QStringLiteral(ZENTREL_EXECUTABLE), {});
    }
    ~ProgramRun() override { kill(); }

    bool isWatching() const { return m_output.contains("watching "); }
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    QByteArray output() const { return m_output; }
    // SIGKILL: no handler, no flush, no clean-up gets to run.
    void kill() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.kill();
        m_process.waitForFinished();
    }

private:
    QProcess m_process;
    QByteArray m_output;
};

void appendPrompts(const QString& path, int count) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    for (int i = 0; i < count; ++i)
        QCOMPARE(file.write(promptLine), promptLine.size());
}
} // namespace

class TestCrashRecovery : public QObject {
    Q_OBJECT

public:
    // The store as it is on disk, read through a copy this process has never opened.
    QVariantMap storedValues() {
        return storeSnapshot(storePath(), m_home.filePath(QStringLiteral("read%1.conf").arg(++m_reads)));
    }

    // Prompts counted over all days; a run may straddle midnight.
    qint64 storedDailyTotal() {
        const QJsonObject days =
            QJsonDocument::fromJson(storedValues().value(QStringLiteral("dailyPrompts")).toByteArray())
                .object();
        qint64 total = 0;
        for (auto day = days.constBegin(); day != days.constEnd(); ++day)
            total += day.value().toInteger();
        return total;
    }

    int storedHistorySize() {
        return int(
            QJsonDocument::fromJson(storedValues().value(QStringLiteral("completedHistory")).toByteArray())
                .array()
                .size());
    }

    QString storePath() const { return m_home.filePath(QStringLiteral(".config/zentrel/zentrel.conf")); }
    QString transcript() const {
        return m_home.filePath(QStringLiteral(".claude/projects/work/session.jsonl"));
    }

private Q_SLOTS:
    void initTestCase() {
        if (!QDBusConnection::sessionBus().isConnected())
            QSKIP("needs a private session bus (dbus-run-session)");
        QVERIFY(m_home.isValid());
        QVERIFY(QDir(m_home.path()).mkpath(QStringLiteral(".claude/projects/work")));
        QVERIFY(QDir(m_home.path()).mkpath(QStringLiteral(".config")));
        QVERIFY2(m_server.start(), qPrintable(m_server.errorString()));
    }

    void countsSurviveKill() {
        {
            ProgramRun first(m_home.path());
            QTRY_VERIFY_WITH_TIMEOUT(first.isWatching() || !first.isRunning(), processTimeoutMs);
            QVERIFY2(first.isWatching(), first.output().constData());
            appendPrompts(transcript(), 10);
            QTRY_COMPARE_WITH_TIMEOUT(m_server.notifyCalls().size(), 1, processTimeoutMs);
            QCOMPARE(m_server.notifyCalls().last().body,
                     QStringLiteral("You've sent 10 prompts. 1 set(s) owed."));
            first.kill();
        }
        const QVariantMap stored = storedValues();
        QCOMPARE(stored.value(QStringLiteral("totalRequests")).toString(), QStringLiteral("10"));
        QCOMPARE(stored.value(QStringLiteral("pendingSets")).toString(), QStringLiteral("1"));
        QCOMPARE(storedDailyTotal(), 10);

        ProgramRun second(m_home.path());
        QTRY_VERIFY_WITH_TIMEOUT(second.isWatching() || !second.isRunning(), processTimeoutMs);
        QVERIFY2(second.isWatching(), second.output().constData());
        // What the transcript held before this start is skipped; only new prompts count.
        appendPrompts(transcript(), 10);
        QTRY_COMPARE_WITH_TIMEOUT(m_server.notifyCalls().size(), 2, processTimeoutMs);
        QCOMPARE(m_server.notifyCalls().last().body,
                 QStringLiteral("You've sent 20 prompts. 2 set(s) owed."));
        QCOMPARE(storedValues().value(QStringLiteral("totalRequests")).toString(), QStringLiteral("20"));
        QCOMPARE(storedDailyTotal(), 20);

        // A set cleared from the alert is on disk before anything else can happen.
        m_server.emitActionInvoked(m_server.notifyCalls().last().id, QStringLiteral("MARK_COMPLETE"));
        QTRY_COMPARE_WITH_TIMEOUT(storedHistorySize(), 1, processTimeoutMs);
        second.kill();
        QCOMPARE(storedValues().value(QStringLiteral("pendingSets")).toString(), QStringLiteral("1"));
        QCOMPARE(storedHistorySize(), 1);
    }

private:
    QTemporaryDir m_home;
    NotificationServerFixture m_server;
    int m_reads = 0;
};

QTEST_GUILESS_MAIN(TestCrashRecovery)
#include "tst_crashrecovery.moc"
