#include "NotificationServerFixture.h"
#include "model/PreferenceKeys.h"
#include "model/Preferences.h"

#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <thread>

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
    // Blocks until the program has printed text; no event loop, so it returns the moment it has.
    bool waitForOutput(const QByteArray& text) {
        const QDeadlineTimer deadline(processTimeoutMs);
        while (!m_output.contains(text)) {
            if (!m_process.waitForReadyRead(int(deadline.remainingTime()))) {
                return false;
            }
        }
        return true;
    }
    // SIGKILL: no handler, no flush, no clean-up gets to run.
    void kill() {
        if (m_process.state() == QProcess::NotRunning) {
            return;
        }
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
    for (int i = 0; i < count; ++i) {
        QCOMPARE(file.write(promptLine), promptLine.size());
    }
}
} // namespace

class TestCrashRecovery : public QObject {
    Q_OBJECT

public:
    // What the store below a home holds, as a new store object reads it from a copy of the file as
    // it is now: prompts by total and by the sum of the day counts (a run may straddle midnight),
    // sets owed and sets cleared.
    struct Counts {
        qint64 total = 0;
        qint64 days = 0;
        qint64 owed = 0;
        qsizetype cleared = 0;
    };
    Counts storedCounts(const QString& home) {
        const QString copy = m_home.filePath(QStringLiteral("read%1.conf").arg(++m_reads));
        if (!QFile::copy(home + QStringLiteral("/.config/zentrel/zentrel.conf"), copy)) {
            return {};
        }
        const Preferences store(copy);
        Counts counts{store.integer(PreferenceKeys::totalRequests).value_or(0), 0,
                      store.integer(PreferenceKeys::pendingSets).value_or(0),
                      store.history().value_or(QList<CompletedSet>()).size()};
        for (const qint64 prompts : store.dailyPrompts().value_or(QMap<QString, qint64>())) {
            counts.days += prompts;
        }
        return counts;
    }

    static QString transcript(const QString& home) {
        return home + QStringLiteral("/.claude/projects/work/session.jsonl");
    }

private Q_SLOTS:
    void initTestCase() {
        if (!QDBusConnection::sessionBus().isConnected()) {
            QSKIP("needs a private session bus (dbus-run-session)");
        }
        QVERIFY(m_home.isValid());
        for (const QString& home : {m_home.path(), m_home.filePath(QStringLiteral("bursts"))}) {
            QVERIFY(QDir(home).mkpath(QStringLiteral(".claude/projects/work")));
        }
        QVERIFY2(m_server.start(), qPrintable(m_server.errorString()));
    }

    void countsSurviveKill() {
        const QString home = m_home.path();
        {
            ProgramRun first(home);
            QTRY_VERIFY_WITH_TIMEOUT(first.isWatching() || !first.isRunning(), processTimeoutMs);
            QVERIFY2(first.isWatching(), first.output().constData());
            appendPrompts(transcript(home), 10);
            QTRY_COMPARE_WITH_TIMEOUT(m_server.notifyCalls().size(), 1, processTimeoutMs);
            QCOMPARE(m_server.notifyCalls().last().body,
                     QStringLiteral("You've sent 10 prompts. 1 set(s) owed."));
            first.kill();
        }
        const Counts killed = storedCounts(home);
        QCOMPARE(killed.total, 10);
        QCOMPARE(killed.owed, 1);
        QCOMPARE(killed.days, 10);

        ProgramRun second(home);
        QTRY_VERIFY_WITH_TIMEOUT(second.isWatching() || !second.isRunning(), processTimeoutMs);
        QVERIFY2(second.isWatching(), second.output().constData());
        // What the transcript held before this start is skipped; only new prompts count.
        appendPrompts(transcript(home), 10);
        QTRY_COMPARE_WITH_TIMEOUT(m_server.notifyCalls().size(), 2, processTimeoutMs);
        QCOMPARE(m_server.notifyCalls().last().body,
                 QStringLiteral("You've sent 20 prompts. 2 set(s) owed."));

        // A set cleared from the alert is on disk before anything else can happen.
        m_server.emitActionInvoked(m_server.notifyCalls().last().id, QStringLiteral("MARK_COMPLETE"));
        QTRY_COMPARE_WITH_TIMEOUT(storedCounts(home).cleared, 1, processTimeoutMs);
        second.kill();
        const Counts cleared = storedCounts(home);
        QCOMPARE(cleared.owed, 1);
        QCOMPARE(cleared.cleared, 1);
    }

    // A kill at any moment while a burst is handled leaves whole prompts in the store or none of
    // them: never a total without its day count or its owed set. The moments are random, from the
    // first prompt the program reports to a little after its poll has stored them all.
    void killsDuringBurstsLeaveTheStoreWhole() {
        const QString home = m_home.filePath(QStringLiteral("bursts"));
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        qint64 before = 0;
        for (int round = 0; round < 8; ++round) {
            ProgramRun run(home);
            QTRY_VERIFY_WITH_TIMEOUT(run.isWatching() || !run.isRunning(), processTimeoutMs);
            QVERIFY2(run.isWatching(), run.output().constData());
            appendPrompts(transcript(home), 150);
            QVERIFY2(run.waitForOutput("prompt in"), run.output().constData());
            // Not a wait for something: the delay picks the moment of the kill.
            std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(60000)));
            run.kill();

            const Counts stored = storedCounts(home);
            const QByteArray context =
                "seed " + QByteArray::number(seed) + ", round " + QByteArray::number(round);
            QVERIFY2(stored.total == stored.days, context.constData());
            QVERIFY2(stored.owed == stored.total / 10, context.constData());
            QVERIFY2(stored.total >= before && stored.total <= before + 150, context.constData());
            before = stored.total;
        }
    }

private:
    QTemporaryDir m_home;
    NotificationServerFixture m_server;
    int m_reads = 0;
};

QTEST_GUILESS_MAIN(TestCrashRecovery)
#include "tst_crashrecovery.moc"
