#include "CollectionJson.h"
#include "NotificationServerFixture.h"
#include "PreferenceKeys.h"
#include "Preferences.h"
#include "TrackerHarness.h"

#include <QFile>
#include <QJsonDocument>
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
        for (const auto& [name, spy] : m_spies) {
            for (qsizetype i = 0; i < spy->count(); ++i) {
                names.append(QString::fromLatin1(name));
            }
        }
        return names;
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
    // Every key absent, each kind rule broken, blobs that don't decode, a history over the limit.
    void loads_data() {
        QTest::addColumn<QByteArray>("store");
        QTest::addColumn<qint64>("totalRequests");
        QTest::addColumn<qint64>("pendingSets");
        QTest::addColumn<qint64>("promptLimit");
        QTest::addColumn<bool>("soundEnabled");
        QTest::addColumn<QString>("exerciseType");
        QTest::addColumn<int>("historySize");
        const QString pushups = QStringLiteral("Pushups");
        const QByteArray long60 = CollectionJson::encodeHistory(
            TrackerHarness::sampleHistory(60, utc(QStringLiteral("2026-03-13T18:00:00Z"))));
        QTest::addRow("empty store") << QByteArray() << qint64(0) << qint64(0) << qint64(10) << true
                                     << pushups << 0;
        QTest::addRow("limits 0") << QByteArray("promptLimit=0") << qint64(0) << qint64(0) << qint64(10)
                                  << true << pushups << 0;
        QTest::addRow("words where numbers belong")
            << QByteArray("totalRequests=abc\npendingSets=1.5\npromptLimit=7, 8") << qint64(0) << qint64(0)
            << qint64(10) << true << pushups << 0;
        QTest::addRow("soundEnabled as number")
            << QByteArray("soundEnabled=0") << qint64(0) << qint64(0) << qint64(10) << false << pushups << 0;
        QTest::addRow("exerciseType bytes") << QByteArray("exerciseType=@ByteArray(Squats)") << qint64(0)
                                            << qint64(0) << qint64(10) << true << pushups << 0;
        QTest::addRow("blobs malformed") << QByteArray("completedHistory=" + TrackerHarness::iniBytes("[{"))
                                         << qint64(0) << qint64(0) << qint64(10) << true << pushups << 0;
        QTest::addRow("history over 50") << QByteArray("completedHistory=" + TrackerHarness::iniBytes(long60))
                                         << qint64(0) << qint64(0) << qint64(10) << true << pushups << 60;
        QTest::addRow("counts at the top of the range")
            << QByteArray("totalRequests=9223372036854775807\npendingSets=-9223372036854775808")
            << std::numeric_limits<qint64>::max() << std::numeric_limits<qint64>::min() << qint64(10) << true
            << pushups << 0;
    }
    void loads() {
        QFETCH(QByteArray, store);
        TrackerHarness harness;
        if (!store.isEmpty()) {
            harness.seedStore(store);
        }
        const auto model = harness.makeModel();
        QTEST(model->totalRequests(), "totalRequests");
        QTEST(model->pendingSets(), "pendingSets");
        QTEST(model->promptLimit(), "promptLimit");
        QTEST(model->soundEnabled(), "soundEnabled");
        QTEST(model->exerciseType(), "exerciseType");
        QTEST(int(model->completedHistory().size()), "historySize");
        QCOMPARE(harness.stored(PreferenceKeys::promptLimit),
                 QVariant(QString::number(model->promptLimit())));
    }

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
        for (int i = 0; i < 3; ++i) {
            model->recordPrompt();
        }
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

    void fiftyFirstSetDropsTheOldest() {
        TrackerHarness harness;
        const QList<CompletedSet> earlier = TrackerHarness::sampleHistory(49, harness.clock.addDays(-1));
        harness.seedStore("pendingSets=2\ncompletedHistory=" +
                          TrackerHarness::iniBytes(CollectionJson::encodeHistory(earlier)));
        const auto model = harness.makeModel();
        model->completeSet();

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

    void resetKeepsDaysAndSettings() {
        TrackerHarness harness;
        const auto model = harness.makeModel();
        model->setPromptLimit(2);
        for (int i = 0; i < 6; ++i) {
            model->recordPrompt();
        }
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
        const QVariantMap stored = harness.storedValues();
        QCOMPARE(stored.value(PreferenceKeys::totalRequests), QVariant(QStringLiteral("0")));
        QCOMPARE(stored.value(PreferenceKeys::pendingSets), QVariant(QStringLiteral("0")));
        QCOMPARE(stored.value(PreferenceKeys::completedHistory), QVariant(QByteArray("[]")));
        QCOMPARE(stored.value(PreferenceKeys::dailyPrompts), QVariant(QByteArray(R"({"2026-03-14":6})")));
    }

    void projectsDirectoryFromEnvironment_data() {
        QTest::addColumn<QString>("configDir");
        QTest::addColumn<QString>("relative");
        QTest::addRow("unset") << QString() << QStringLiteral(".claude/projects");
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
              QStringLiteral("2026-03-09T19:00:00Z")}) {
            records.append(
                QJsonDocument(
                    CompletedSet{QUuid::createUuid(), utc(iso), 10, QStringLiteral("Squats")}.toJson())
                    .toJson(QJsonDocument::Compact));
        }
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

    // Root may write anywhere, so a plain file where the store's folder belongs makes it unwritable.
    void unwritableStoreKeepsCounting() {
        TrackerHarness harness(&m_server);
        QFile blocker(harness.home.configHome() + QStringLiteral("/zentrel"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        const auto model = harness.makeModel();
        for (int i = 0; i < 20; ++i) {
            model->recordPrompt();
        }
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

private:
    NotificationServerFixture m_server;
};

QTEST_GUILESS_MAIN(TestTrackerState)
#include "tst_trackerstate.moc"
