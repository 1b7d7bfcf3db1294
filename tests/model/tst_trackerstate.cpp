#include "NotificationServerFixture.h"
#include "TestFiles.h"
#include "TrackerHarness.h"
#include "model/CollectionJson.h"
#include "model/PreferenceKeys.h"
#include "model/Preferences.h"

#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;

namespace {
const QByteArray promptLine = R"({"type":"user","message":{"role":"user","content":"go on"}})"
                              "\n";

QDateTime utc(const QString& iso) {
    return QDateTime::fromString(iso, Qt::ISODate).toUTC();
}

qint64 storedTotal(const QByteArray& storeFile) {
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("\\ntotalRequests=(\\d+)\\n")).match(QString::fromUtf8(storeFile));
    return match.hasMatch() ? match.captured(1).toLongLong() : 0;
}

} // namespace

class TestTrackerState : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY2(m_server.start(), qPrintable(m_server.errorString())); }

    void storedLimitBelowOneFallsBack() {
        TrackerHarness harness;
        harness.seedStore("promptLimit=0");
        const auto model = harness.makeModel();
        QCOMPARE(model->promptLimit(), 10);
        QCOMPARE(harness.stored(PreferenceKeys::promptLimit), QVariant(QStringLiteral("10")));
    }

    // Prompts of one poll are stored with one sync and prompts recorded on their own each with
    // theirs; either way, alerts are posted only after it, one for each sync that made sets owed,
    // with the numbers of the last of them, not of the prompts after it. The server reads the store
    // file the moment each alert arrives, so an alert that overtook its sync finds an older count.
    void promptsStoredThenAlerted_data() {
        QTest::addColumn<int>("prompts");
        QTest::addColumn<int>("polls"); // none: recorded one at a time
        QTest::addRow("20 recorded one at a time") << 20 << 0;
        QTest::addRow("300 in one poll") << 300 << 1;
        QTest::addRow("45 in three polls") << 45 << 3;
    }
    void promptsStoredThenAlerted() {
        QFETCH(int, prompts);
        QFETCH(int, polls);
        TrackerHarness harness(&m_server);
        m_server.readFileAtEachNotify(harness.storePath());
        const qsizetype filesBefore = m_server.fileAtEachNotify().size();
        const auto model = harness.makeModel(20ms);
        const int perPoll = polls ? prompts / polls : 10;
        if (polls) {
            model->startWatching();
            for (int total = perPoll; total <= prompts; total += perPoll) {
                QVERIFY(writeFile(harness.home.projectsDirectory() + QStringLiteral("/burst.jsonl"),
                                  promptLine.repeated(perPoll), QIODevice::Append));
                QTRY_COMPARE(model->totalRequests(), total);
            }
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

        QList<QVariantList> expected;
        for (int total = perPoll; total <= prompts; total += perPoll) {
            const int owed = total / 10;
            expected.append(
                {QStringLiteral("Time for 10 Pushups"),
                 QStringLiteral("You've sent %1 prompts. %2 set(s) owed.").arg(owed * 10).arg(owed), true});
        }
        QTRY_COMPARE(harness.alerts(), expected);
        const QByteArrayList files = m_server.fileAtEachNotify().mid(filesBefore);
        QCOMPARE(files.size(), expected.size());
        for (int alert = 0; alert < files.size(); ++alert) {
            QVERIFY2(storedTotal(files.at(alert)) >= (alert + 1) * perPoll, files.at(alert).constData());
        }
    }

    void limitZeroOwesNothing() {
        TrackerHarness harness(&m_server);
        harness.seedStore("totalRequests=8");
        const auto model = harness.makeModel();
        model->setPromptLimit(0);
        for (int i = 0; i < 3; ++i) {
            model->recordPrompt();
        }
        QCOMPARE(model->totalRequests(), 11);
        QCOMPARE(model->promptsThisSet(), 0);
        QCOMPARE(model->pendingSets(), 0);
        QVERIFY(harness.alerts().isEmpty());
    }

    // A hand-edited total at the top of the range stays there rather than wrapping negative.
    void totalStopsAtTheTopOfTheRange() {
        TrackerHarness harness;
        harness.seedStore("totalRequests=9223372036854775807\npromptLimit=0");
        const auto model = harness.makeModel();
        model->recordPrompt();
        QCOMPARE(model->totalRequests(), std::numeric_limits<qint64>::max());
    }

    void completeSetWithNothingOwed() {
        TrackerHarness harness;
        const auto model = harness.makeModel();
        model->completeSet();
        QCOMPARE(model->pendingSets(), 0);
        QVERIFY(model->completedHistory().isEmpty());
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
    }

    void resetKeepsDaysAndSettings() {
        TrackerHarness harness;
        const auto model = harness.makeModel();
        model->setPromptLimit(2);
        for (int i = 0; i < 6; ++i) {
            model->recordPrompt();
        }
        model->completeSet();
        model->resetSession();
        QCOMPARE(model->totalRequests(), 0);
        QVERIFY(model->completedHistory().isEmpty());
        QCOMPARE(model->dailyPrompts(), (TrackerState::DailyPrompts{{QStringLiteral("2026-03-14"), 6}}));
        QCOMPARE(harness.stored(PreferenceKeys::completedHistory), QVariant(QByteArray("[]")));
    }

    void projectsDirectoryFromEnvironment_data() {
        QTest::addColumn<QString>("configDir");
        QTest::addColumn<QString>("relative");
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
            model->startWatching();
            QCOMPARE(model->dailyPrompts(), expected);
        }
        const auto restarted = harness.makeModel();
        restarted->setPromptLimit(7);
        restarted->startWatching();
        QCOMPARE(restarted->dailyPrompts(), expected);
    }

    void settingsSignalOnlyOnChange_data() {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("same");
        QTest::addColumn<QVariant>("different");
        QTest::addRow("promptLimit") << QStringLiteral("promptLimit") << QVariant(qint64(10))
                                     << QVariant(qint64(3));
        QTest::addRow("exerciseType") << QStringLiteral("exerciseType") << QVariant(QStringLiteral("Pushups"))
                                      << QVariant(QStringLiteral("Crossword"));
    }
    void settingsSignalOnlyOnChange() {
        QFETCH(QString, property);
        QFETCH(QVariant, same);
        QFETCH(QVariant, different);
        TrackerHarness harness;
        const auto model = harness.makeModel();
        const QByteArray name = property.toLatin1();
        const QMetaObject* meta = model->metaObject();
        QSignalSpy spy(model.get(), meta->property(meta->indexOfProperty(name)).notifySignal());
        QVERIFY(model->setProperty(name, same));
        QCOMPARE(spy.count(), 0);
        QVERIFY(model->setProperty(name, different));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(harness.stored(property).toString(), different.toString());
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
        QCOMPARE(harness.alerts().size(), 2);
        QVERIFY(!QFileInfo::exists(harness.storePath()));

        // Once the folder can be made, the next sync writes everything held so far.
        QVERIFY(blocker.remove());
        model->recordPrompt();
        const QVariantMap stored = harness.storedValues();
        QCOMPARE(stored.value(PreferenceKeys::totalRequests), QVariant(QStringLiteral("21")));
        QCOMPARE(CollectionJson::decodeHistory(stored.value(PreferenceKeys::completedHistory).toByteArray()),
                 model->completedHistory());
    }

private:
    NotificationServerFixture m_server;
};

QTEST_GUILESS_MAIN(TestTrackerState)
#include "tst_trackerstate.moc"
