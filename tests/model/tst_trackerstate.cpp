#include "CollectionJson.h"
#include "FileWatcher.h"
#include "NotificationServerFixture.h"
#include "PreferenceKeys.h"
#include "Preferences.h"
#include "TrackerHarness.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;

namespace {
const QByteArray promptLine = R"({"type":"user","message":{"role":"user","content":"go on"}})"
                              "\n";

void append(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    QCOMPARE(file.write(bytes), bytes.size());
}

QDateTime utc(const QString& iso) {
    return QDateTime::fromString(iso, Qt::ISODate).toUTC();
}

qint64 storedTotal(const QByteArray& storeFile) {
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("\\ntotalRequests=(\\d+)\\n")).match(QString::fromUtf8(storeFile));
    return match.hasMatch() ? match.captured(1).toLongLong() : 0;
}

// Records every change signal of the model by name, in order.
class SignalLog {
public:
    explicit SignalLog(const TrackerState& model) {
        const QMetaObject* meta = model.metaObject();
        for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            m_spies.emplace_back(property.name(),
                                 std::make_unique<QSignalSpy>(&model, property.notifySignal()));
        }
    }
    QStringList names() const {
        QStringList names;
        for (const auto& [name, spy] : m_spies)
            for (qsizetype i = 0; i < spy->count(); ++i)
                names.append(QString::fromLatin1(name));
        return names;
    }
    void clear() {
        for (auto& entry : m_spies)
            entry.second->clear();
    }

private:
    std::vector<std::pair<const char*, std::unique_ptr<QSignalSpy>>> m_spies;
};
} // namespace

class TestTrackerState : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY2(m_server.start(), qPrintable(m_server.errorString())); }

    // Prompts of one poll are stored with one sync and prompts recorded on their own each with
    // theirs; either way, alerts are posted only after it. The server reads the store file the
    // moment each alert arrives, so an alert that overtook its sync finds an older count there.
    void promptsStoredThenAlerted_data() {
        QTest::addColumn<int>("prompts");
        QTest::addColumn<bool>("polled");
        QTest::addRow("20 recorded one at a time") << 20 << false;
        QTest::addRow("300 in one poll") << 300 << true;
    }
    void promptsStoredThenAlerted() {
        QFETCH(int, prompts);
        QFETCH(bool, polled);
        TrackerHarness harness(&m_server);
        m_server.readFileAtEachNotify(harness.storePath());
        const qsizetype filesBefore = m_server.fileAtEachNotify().size();
        const auto model = harness.makeModel(20ms);
        if (polled) {
            model->startWatching();
            append(harness.home.projectsDirectory() + QStringLiteral("/burst.jsonl"),
                   promptLine.repeated(prompts));
            QTRY_COMPARE(model->totalRequests(), prompts);
        } else {
            for (int prompt = 1; prompt <= prompts; ++prompt) {
                model->recordPrompt();
                QCOMPARE(model->promptsThisSet(), prompt % 10);
                QCOMPARE(model->pendingSets(), prompt / 10);
            }
        }
        const QVariantMap stored = harness.storedValues();
        QCOMPARE(stored.value(PreferenceKeys::totalRequests), QVariant(QString::number(prompts)));
        QCOMPARE(stored.value(PreferenceKeys::pendingSets), QVariant(QString::number(prompts / 10)));
        QCOMPARE(stored.value(PreferenceKeys::dailyPrompts),
                 QVariant(QByteArray(R"({"2026-03-14":)" + QByteArray::number(prompts) + "}")));

        // One alert per set, in order, each with the numbers of the moment its set became owed.
        QList<QVariantList> expected;
        for (int set = 1; set <= prompts / 10; ++set) {
            expected.append({QStringLiteral("Time for 10 Pushups"),
                             QStringLiteral("You've sent %1 prompts. %2 set(s) owed.").arg(set * 10).arg(set),
                             true});
        }
        QCOMPARE(harness.alerts(), expected);
        const QByteArrayList files = m_server.fileAtEachNotify().mid(filesBefore);
        QCOMPARE(files.size(), expected.size());
        for (int set = 1; set <= prompts / 10; ++set) {
            QVERIFY2(storedTotal(files.at(set - 1)) >= set * 10, files.at(set - 1).constData());
        }
    }

    void alertCarriesSettings_data() {
        QTest::addColumn<qint64>("reps");
        QTest::addColumn<QString>("exercise");
        QTest::addColumn<bool>("sound");
        QTest::addColumn<QString>("title");
        QTest::addRow("squats, silent")
            << qint64(20) << QStringLiteral("Squats") << false << QStringLiteral("Time for 20 Squats");
        QTest::addRow("outside catalogue") << qint64(0) << QStringLiteral("Jumping Jacks") << true
                                           << QStringLiteral("Time for 0 Jumping Jacks");
    }
    void alertCarriesSettings() {
        QFETCH(qint64, reps);
        QFETCH(QString, exercise);
        QFETCH(bool, sound);
        QFETCH(QString, title);
        TrackerHarness harness(&m_server);
        const auto model = harness.makeModel();
        model->setPromptLimit(3);
        model->setPushupsPerSet(reps);
        model->setExerciseType(exercise);
        model->setSoundEnabled(sound);
        for (int i = 0; i < 3; ++i)
            model->recordPrompt();
        QCOMPARE(
            harness.alerts(),
            (QList<QVariantList>{{title, QStringLiteral("You've sent 3 prompts. 1 set(s) owed."), sound}}));
    }

    // Boundaries sit on multiples of the limit of the running total, not on a count since the last set.
    void limitLoweredMidSet() {
        TrackerHarness harness(&m_server);
        const auto model = harness.makeModel();
        for (int i = 0; i < 7; ++i)
            model->recordPrompt();
        QSignalSpy progress(model.get(), &TrackerState::promptsThisSetChanged);
        model->setPromptLimit(5);
        QCOMPARE(model->promptsThisSet(), 2);
        QCOMPARE(progress.count(), 1);
        QCOMPARE(model->pendingSets(), 0);
        model->recordPrompt();
        model->recordPrompt();
        QCOMPARE(model->pendingSets(), 0);
        model->recordPrompt();
        QCOMPARE(model->totalRequests(), 10);
        QCOMPARE(model->pendingSets(), 1);
        QCOMPARE(harness.alerts().size(), 1);
        QCOMPARE(harness.alerts().first().at(1).toString(),
                 QStringLiteral("You've sent 10 prompts. 1 set(s) owed."));
        QCOMPARE(harness.stored(PreferenceKeys::promptLimit), QVariant(QStringLiteral("5")));
    }

    void limitBelowOneOwesNothing_data() {
        QTest::addColumn<qint64>("limit");
        QTest::addRow("zero") << qint64(0);
        QTest::addRow("negative") << qint64(-4);
    }
    void limitBelowOneOwesNothing() {
        QFETCH(qint64, limit);
        TrackerHarness harness(&m_server);
        harness.seedStore("totalRequests=8");
        const auto model = harness.makeModel();
        model->setPromptLimit(limit);
        for (int i = 0; i < 3; ++i)
            model->recordPrompt();
        QCOMPARE(model->promptLimit(), limit);
        QCOMPARE(model->totalRequests(), 11);
        QCOMPARE(model->promptsThisSet(), 0);
        QCOMPARE(model->pendingSets(), 0);
        QCOMPARE(model->dailyPrompts().value(QStringLiteral("2026-03-14")), 3);
        QVERIFY(harness.alerts().isEmpty());
        QCOMPARE(harness.stored(PreferenceKeys::promptLimit), QVariant(QString::number(limit)));
    }

    void completeSetWithNothingOwed() {
        TrackerHarness harness;
        const auto model = harness.makeModel();
        const QVariantMap before = harness.storedValues();
        SignalLog log(*model);
        model->completeSet();
        QCOMPARE(model->pendingSets(), 0);
        QVERIFY(model->completedHistory().isEmpty());
        QVERIFY(log.names().isEmpty());
        QCOMPARE(harness.storedValues(), before);
    }

    void completeSetRecordsOneEntry() {
        TrackerHarness harness;
        harness.seedStore("pendingSets=2");
        const auto model = harness.makeModel();
        SignalLog log(*model);
        model->completeSet();
        QCOMPARE(log.names(),
                 (QStringList{QStringLiteral("pendingSets"), QStringLiteral("completedHistory")}));
        QCOMPARE(model->pendingSets(), 1);
        QCOMPARE(model->completedHistory().size(), 1);
        const CompletedSet& set = model->completedHistory().first();
        QVERIFY(!set.id.isNull());
        QCOMPARE(set.id.version(), QUuid::Random);
        QCOMPARE(set.date, harness.clock);
        QCOMPARE(harness.stored(PreferenceKeys::pendingSets), QVariant(QStringLiteral("1")));
        QCOMPARE(
            CollectionJson::decodeHistory(harness.stored(PreferenceKeys::completedHistory).toByteArray()),
            model->completedHistory());
    }

    void fiftyFirstSetDropsTheOldest() {
        TrackerHarness harness;
        const QList<CompletedSet> earlier = TrackerHarness::sampleHistory(49, harness.clock.addDays(-1));
        harness.seedStore("pendingSets=2\ncompletedHistory=" +
                          TrackerHarness::iniBytes(CollectionJson::encodeHistory(earlier)));
        const auto model = harness.makeModel();
        model->completeSet();
        QCOMPARE(model->completedHistory().size(), 50);
        QCOMPARE(model->completedHistory().mid(1), earlier);

        harness.clock = harness.clock.addSecs(60);
        model->completeSet();
        QCOMPARE(model->pendingSets(), 0);
        QCOMPARE(model->completedHistory().size(), 50);
        QCOMPARE(model->completedHistory().at(0).date, harness.clock);
        QCOMPARE(model->completedHistory().at(1).date, harness.clock.addSecs(-60));
        QCOMPARE(model->completedHistory().mid(2), earlier.first(48));
        QCOMPARE(
            CollectionJson::decodeHistory(harness.stored(PreferenceKeys::completedHistory).toByteArray()),
            model->completedHistory());
    }

    // A set records what is in force when it is cleared, not when it became owed.
    void settingsCapturedWhenCleared() {
        TrackerHarness harness(&m_server);
        harness.seedStore("totalRequests=9");
        const auto model = harness.makeModel();
        model->recordPrompt();
        QCOMPARE(harness.alerts().first().at(0).toString(), QStringLiteral("Time for 10 Pushups"));
        model->setPushupsPerSet(25);
        model->setExerciseType(QStringLiteral("Squats"));
        model->completeSet();
        QCOMPARE(model->completedHistory().first().reps, 25);
        QCOMPARE(model->completedHistory().first().exerciseType, QStringLiteral("Squats"));
    }

    void resetKeepsDaysAndSettings() {
        TrackerHarness harness;
        const auto model = harness.makeModel();
        model->setPromptLimit(2);
        model->setPushupsPerSet(12);
        model->setExerciseType(QStringLiteral("Walking"));
        model->setSoundEnabled(false);
        for (int i = 0; i < 6; ++i)
            model->recordPrompt();
        model->completeSet();
        harness.clock = harness.clock.addSecs(3600);
        SignalLog log(*model);

        model->resetSession();
        QCOMPARE(log.names(),
                 (QStringList{QStringLiteral("totalRequests"), QStringLiteral("pendingSets"),
                              QStringLiteral("completedHistory"), QStringLiteral("sessionStartDate")}));
        QCOMPARE(model->totalRequests(), 0);
        QCOMPARE(model->pendingSets(), 0);
        QVERIFY(model->completedHistory().isEmpty());
        QCOMPARE(model->sessionStartDate(), harness.clock);
        QCOMPARE(model->dailyPrompts(), (TrackerState::DailyPrompts{{QStringLiteral("2026-03-14"), 6}}));
        QCOMPARE(model->promptLimit(), 2);
        QCOMPARE(model->pushupsPerSet(), 12);
        QCOMPARE(model->exerciseType(), QStringLiteral("Walking"));
        QCOMPARE(model->soundEnabled(), false);
        const QVariantMap stored = harness.storedValues();
        QCOMPARE(stored.value(PreferenceKeys::totalRequests), QVariant(QStringLiteral("0")));
        QCOMPARE(stored.value(PreferenceKeys::pendingSets), QVariant(QStringLiteral("0")));
        QCOMPARE(stored.value(PreferenceKeys::completedHistory), QVariant(QByteArray("[]")));
        QCOMPARE(stored.value(PreferenceKeys::dailyPrompts), QVariant(QByteArray(R"({"2026-03-14":6})")));
    }

    // The watcher starts over from the transcripts' current lengths: a prompt written before the
    // reset but not yet polled is never counted.
    void resetRestartsTheWatcher() {
        TrackerHarness harness;
        const auto model = harness.makeModel(20ms);
        model->startWatching();
        const QString transcript = harness.home.projectsDirectory() + QStringLiteral("/session.jsonl");
        append(transcript, promptLine);
        QTRY_COMPARE(model->totalRequests(), 1);

        append(transcript, promptLine);
        model->resetSession();
        QCOMPARE(model->totalRequests(), 0);
        append(transcript, promptLine);
        QTRY_VERIFY(model->totalRequests() >= 1);
        QCOMPARE(model->totalRequests(), 1);
        QCOMPARE(model->dailyPrompts().value(QStringLiteral("2026-03-14")), 2);
    }

    void startWatching() {
        TrackerHarness harness;
        harness.seedStore("totalRequests=4");
        const auto model = harness.makeModel(25ms);
        QCOMPARE(model->projectsDirectory(), harness.home.projectsDirectory());
        QCOMPARE(model->fileWatcher(), nullptr);
        // Content already there when watching starts is never counted.
        const QString existing = harness.home.projectsDirectory() + QStringLiteral("/a/old.jsonl");
        QDir().mkpath(QFileInfo(existing).absolutePath());
        append(existing, promptLine + promptLine);

        QLoggingCategory::setFilterRules(QStringLiteral("zentrel.model.info=true"));
        QTest::ignoreMessage(QtInfoMsg,
                             qPrintable(QStringLiteral("watching ") + harness.home.projectsDirectory()));
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("^prompt counted")));
        model->startWatching();
        QLoggingCategory::setFilterRules(QString());
        QVERIFY(model->fileWatcher());
        QCOMPARE(model->fileWatcher()->watchURL(), harness.home.projectsDirectory());
        QCOMPARE(model->fileWatcher()->pollTimer()->interval(), 25);

        QLoggingCategory::setFilterRules(QStringLiteral("zentrel.model.info=true"));
        append(existing, promptLine);
        QTRY_COMPARE(model->totalRequests(), 5);
        QLoggingCategory::setFilterRules(QString());

        // A second call must not start a second watcher that counts everything twice.
        FileWatcher* watcher = model->fileWatcher();
        model->startWatching();
        QCOMPARE(model->fileWatcher(), watcher);
    }

    void projectsDirectoryFromEnvironment_data() {
        QTest::addColumn<QString>("configDir");
        QTest::addColumn<QString>("relative");
        QTest::addRow("unset") << QString() << QStringLiteral(".claude/projects");
        QTest::addRow("relocated") << QStringLiteral("elsewhere/conf")
                                   << QStringLiteral("elsewhere/conf/projects");
        QTest::addRow("relocated, trailing slash")
            << QStringLiteral("cfg/") << QStringLiteral("cfg/projects");
    }
    void projectsDirectoryFromEnvironment() {
        QFETCH(QString, configDir);
        QFETCH(QString, relative);
        TestHome home;
        const QByteArray previous = qgetenv("CLAUDE_CONFIG_DIR");
        qputenv("CLAUDE_CONFIG_DIR",
                configDir.isEmpty() ? QByteArray() : (home.path() + '/' + configDir).toUtf8());
        const QString directory = TrackerState::projectsDirectoryFromEnvironment();
        qputenv("CLAUDE_CONFIG_DIR", previous);
        QCOMPARE(directory, home.path() + '/' + relative);
    }

    // The test runs with TZ five and a half hours east of UTC, so local and UTC days differ.
    void promptsEitherSideOfMidnight() {
        TrackerHarness harness;
        const auto model = harness.makeModel();
        harness.clock = utc(QStringLiteral("2026-03-14T18:29:59Z"));
        model->recordPrompt();
        harness.clock = utc(QStringLiteral("2026-03-14T18:30:01Z"));
        model->recordPrompt();
        QCOMPARE(model->dailyPrompts(), (TrackerState::DailyPrompts{{QStringLiteral("2026-03-14"), 1},
                                                                    {QStringLiteral("2026-03-15"), 1}}));
    }

    void backfillFromHistory() {
        TrackerHarness harness;
        // Three sets: two on the local 10 March (one of them on 9 March in UTC), one on 12 March.
        QByteArrayList records;
        for (const QString& iso :
             {QStringLiteral("2026-03-12T08:00:00Z"), QStringLiteral("2026-03-10T12:00:00Z"),
              QStringLiteral("2026-03-09T19:00:00Z")})
            records.append(
                QJsonDocument(
                    CompletedSet{QUuid::createUuid(), utc(iso), 10, QStringLiteral("Squats")}.toJson())
                    .toJson(QJsonDocument::Compact));
        harness.seedStore("completedHistory=" + TrackerHarness::iniBytes("[" + records.join(',') + "]"));
        const TrackerState::DailyPrompts expected{{QStringLiteral("2026-03-10"), 20},
                                                  {QStringLiteral("2026-03-12"), 10}};
        {
            const auto model = harness.makeModel();
            QCOMPARE(model->completedHistory().size(), 3);
            QVERIFY(model->dailyPrompts().isEmpty());
            model->startWatching();
            QCOMPARE(model->dailyPrompts(), expected);
        }
        QCOMPARE(
            CollectionJson::decodeDailyPrompts(harness.stored(PreferenceKeys::dailyPrompts).toByteArray()),
            expected);
        const auto restarted = harness.makeModel();
        restarted->setPromptLimit(7);
        restarted->startWatching();
        QCOMPARE(restarted->dailyPrompts(), expected);
    }

    void settingsSignalOnlyOnChange_data() {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("same");
        QTest::addColumn<QVariant>("different");
        QTest::addColumn<QString>("storedAfter");
        QTest::addRow("promptLimit") << QStringLiteral("promptLimit") << QVariant(qint64(10))
                                     << QVariant(qint64(3)) << QStringLiteral("3");
        QTest::addRow("pushupsPerSet") << QStringLiteral("pushupsPerSet") << QVariant(qint64(10))
                                       << QVariant(qint64(-2)) << QStringLiteral("-2");
        QTest::addRow("soundEnabled")
            << QStringLiteral("soundEnabled") << QVariant(true) << QVariant(false) << QStringLiteral("false");
        QTest::addRow("exerciseType") << QStringLiteral("exerciseType") << QVariant(QStringLiteral("Pushups"))
                                      << QVariant(QStringLiteral("Crossword")) << QStringLiteral("Crossword");
    }
    void settingsSignalOnlyOnChange() {
        QFETCH(QString, property);
        QFETCH(QVariant, same);
        QFETCH(QVariant, different);
        QFETCH(QString, storedAfter);
        TrackerHarness harness;
        const auto model = harness.makeModel();
        const QByteArray name = property.toLatin1();
        // Take the key out of the file behind the model's back: only a real write puts it back.
        harness.seedStore(QByteArray());
        SignalLog log(*model);

        QVERIFY(model->setProperty(name, same));
        QVERIFY(log.names().isEmpty());
        QCOMPARE(harness.stored(property).toString(), same.toString());

        QVERIFY(model->setProperty(name, different));
        QCOMPARE(model->property(name), different);
        QCOMPARE(log.names().count(property), 1);
        QCOMPARE(harness.stored(property).toString(), storedAfter);
    }

    void promptsThisSetSignal_data() {
        QTest::addColumn<int>("prompts");
        QTest::addColumn<qint64>("newLimit");
        QTest::addColumn<bool>("signalled");
        QTest::addRow("7: 10 -> 5 moves 7 to 2") << 7 << qint64(5) << true;
        QTest::addRow("20: 10 -> 5 stays 0") << 20 << qint64(5) << false;
        QTest::addRow("7: 10 -> 0 moves 7 to 0") << 7 << qint64(0) << true;
        QTest::addRow("0: 10 -> -1 stays 0") << 0 << qint64(-1) << false;
        QTest::addRow("3: 10 -> 4 stays 3") << 3 << qint64(4) << false;
    }
    void promptsThisSetSignal() {
        QFETCH(int, prompts);
        QFETCH(qint64, newLimit);
        TrackerHarness harness;
        harness.seedStore("totalRequests=" + QByteArray::number(prompts));
        const auto model = harness.makeModel();
        QSignalSpy progress(model.get(), &TrackerState::promptsThisSetChanged);
        model->setPromptLimit(newLimit);
        QTEST(progress.count() == 1, "signalled");
    }

    void promptSignals() {
        TrackerHarness harness;
        const auto model = harness.makeModel();
        model->setPromptLimit(2);
        SignalLog log(*model);
        model->recordPrompt();
        QCOMPARE(log.names(), (QStringList{QStringLiteral("totalRequests"), QStringLiteral("dailyPrompts"),
                                           QStringLiteral("promptsThisSet")}));
        log.clear();
        model->recordPrompt();
        QCOMPARE(log.names(),
                 (QStringList{QStringLiteral("totalRequests"), QStringLiteral("pendingSets"),
                              QStringLiteral("dailyPrompts"), QStringLiteral("promptsThisSet")}));
    }

    void propertiesReadable() {
        TrackerHarness harness;
        const auto model = harness.makeModel();
        model->setPromptLimit(1);
        model->recordPrompt();
        model->recordPrompt();
        model->completeSet();
        QCOMPARE(model->property("totalRequests").value<qint64>(), 2);
        QCOMPARE(model->property("pendingSets").value<qint64>(), 1);
        QCOMPARE(model->property("completedHistory").value<QList<CompletedSet>>(), model->completedHistory());
        QCOMPARE(model->property("dailyPrompts").value<TrackerState::DailyPrompts>(), model->dailyPrompts());
        QCOMPARE(model->property("sessionStartDate").toDateTime(), harness.clock);
        QCOMPARE(model->property("promptsThisSet").value<qint64>(), 0);
    }

    // Root may write anywhere, so a plain file where the store's folder belongs makes it unwritable.
    void unwritableStoreKeepsCounting() {
        TrackerHarness harness(&m_server);
        QFile blocker(harness.home.configHome() + QStringLiteral("/zentrel"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        const auto model = harness.makeModel();
        for (int i = 0; i < 20; ++i)
            model->recordPrompt();
        model->completeSet();
        model->setExerciseType(QStringLiteral("Sudoku"));
        QCOMPARE(model->totalRequests(), 20);
        QCOMPARE(model->pendingSets(), 1);
        QCOMPARE(model->completedHistory().size(), 1);
        QCOMPARE(model->dailyPrompts().value(QStringLiteral("2026-03-14")), 20);
        QCOMPARE(harness.alerts().size(), 2);
        QVERIFY(!QFileInfo::exists(harness.storePath()));

        // Once the folder can be made, the next sync writes everything held so far.
        QVERIFY(blocker.remove());
        model->recordPrompt();
        const QVariantMap stored = harness.storedValues();
        QCOMPARE(stored.value(PreferenceKeys::totalRequests), QVariant(QStringLiteral("21")));
        QCOMPARE(stored.value(PreferenceKeys::pendingSets), QVariant(QStringLiteral("1")));
        QCOMPARE(stored.value(PreferenceKeys::exerciseType), QVariant(QStringLiteral("Sudoku")));
        QCOMPARE(stored.value(PreferenceKeys::dailyPrompts), QVariant(QByteArray(R"({"2026-03-14":21})")));
        QCOMPARE(CollectionJson::decodeHistory(stored.value(PreferenceKeys::completedHistory).toByteArray()),
                 model->completedHistory());
    }

    void markCompleteReachesTheModelWhileItLives() {
        TrackerHarness harness;
        harness.seedStore("pendingSets=2");
        auto model = harness.makeModel();
        QVERIFY(harness.notifications.onMarkComplete);
        harness.notifications.onMarkComplete();
        QCOMPARE(model->pendingSets(), 1);
        model->startWatching();
        const auto onNewRequest = model->fileWatcher()->onNewRequest;
        const auto onPollFinished = model->fileWatcher()->onPollFinished;
        onNewRequest();
        onPollFinished();
        QCOMPARE(model->totalRequests(), 1);

        model.reset();
        harness.notifications.onMarkComplete();
        onNewRequest();
        onPollFinished();
        QCOMPARE(harness.stored(PreferenceKeys::pendingSets), QVariant(QStringLiteral("1")));
        QCOMPARE(harness.stored(PreferenceKeys::totalRequests), QVariant(QStringLiteral("1")));
    }

private:
    NotificationServerFixture m_server;
};

QTEST_GUILESS_MAIN(TestTrackerState)
#include "tst_trackerstate.moc"
