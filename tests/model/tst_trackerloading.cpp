#include "CollectionJson.h"
#include "PreferenceKeys.h"
#include "TrackerHarness.h"

#include <QTest>

namespace {
// One record as an older writer stored it: the id in lower case and no "exerciseType".
QByteArray legacySetJson() {
    const QByteArray id = QUuid::createUuid().toString(QUuid::WithoutBraces).toLower().toUtf8();
    return R"({"id":")" + id + R"(","date":790000000.5,"reps":12})";
}

QByteArray historyBlob(int count) {
    return CollectionJson::encodeHistory(
        TrackerHarness::sampleHistory(count, QDateTime(QDate(2026, 3, 13), QTime(18, 0), Qt::UTC)));
}
} // namespace

class TestTrackerLoading : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loads_data() {
        QTest::addColumn<QByteArray>("store");
        QTest::addColumn<qint64>("totalRequests");
        QTest::addColumn<qint64>("pendingSets");
        QTest::addColumn<qint64>("promptLimit");
        QTest::addColumn<qint64>("pushupsPerSet");
        QTest::addColumn<bool>("soundEnabled");
        QTest::addColumn<QString>("exerciseType");
        QTest::addColumn<int>("historySize");
        QTest::addColumn<int>("daysCounted");
        const QString pushups = QStringLiteral("Pushups");
        QTest::addRow("empty store") << QByteArray() << qint64(0) << qint64(0) << qint64(10) << qint64(10)
                                     << true << pushups << 0 << 0;
        QTest::addRow("all eight") << QByteArray(
                                          "totalRequests=23\npendingSets=2\npromptLimit=5\npushupsPerSet=15\n"
                                          "soundEnabled=false\nexerciseType=Squats\ncompletedHistory=" +
                                          TrackerHarness::iniBytes(historyBlob(3)) + "\ndailyPrompts=" +
                                          TrackerHarness::iniBytes(R"({"2026-03-13":4,"2026-03-14":19})"))
                                   << qint64(23) << qint64(2) << qint64(5) << qint64(15) << false
                                   << QStringLiteral("Squats") << 3 << 2;
        QTest::addRow("limits 0") << QByteArray("promptLimit=0\npushupsPerSet=0") << qint64(0) << qint64(0)
                                  << qint64(10) << qint64(10) << true << pushups << 0 << 0;
        QTest::addRow("limits -3") << QByteArray("promptLimit=-3\npushupsPerSet=-3") << qint64(0) << qint64(0)
                                   << qint64(10) << qint64(10) << true << pushups << 0 << 0;
        QTest::addRow("limits 1") << QByteArray("promptLimit=1\npushupsPerSet=1") << qint64(0) << qint64(0)
                                  << qint64(1) << qint64(1) << true << pushups << 0 << 0;
        QTest::addRow("pendingSets without totalRequests")
            << QByteArray("pendingSets=3") << qint64(0) << qint64(3) << qint64(10) << qint64(10) << true
            << pushups << 0 << 0;
        QTest::addRow("soundEnabled false") << QByteArray("soundEnabled=false") << qint64(0) << qint64(0)
                                            << qint64(10) << qint64(10) << false << pushups << 0 << 0;
        QTest::addRow("exercise outside the catalogue")
            << QByteArray("exerciseType=Jumping Jacks") << qint64(0) << qint64(0) << qint64(10) << qint64(10)
            << true << QStringLiteral("Jumping Jacks") << 0 << 0;
        QTest::addRow("counters as quoted text")
            << QByteArray("totalRequests=\"12\"\npendingSets=\" 1\"") << qint64(12) << qint64(1) << qint64(10)
            << qint64(10) << true << pushups << 0 << 0;
        QTest::addRow("words where numbers belong")
            << QByteArray("totalRequests=abc\npendingSets=1.5\npromptLimit=abc\npushupsPerSet=7, 8")
            << qint64(0) << qint64(0) << qint64(10) << qint64(10) << true << pushups << 0 << 0;
        QTest::addRow("soundEnabled neither true nor false")
            << QByteArray("soundEnabled=maybe") << qint64(0) << qint64(0) << qint64(10) << qint64(10) << true
            << pushups << 0 << 0;
        QTest::addRow("soundEnabled as number") << QByteArray("soundEnabled=0") << qint64(0) << qint64(0)
                                                << qint64(10) << qint64(10) << false << pushups << 0 << 0;
        QTest::addRow("exerciseType a list")
            << QByteArray("exerciseType=Squats, Walking") << qint64(0) << qint64(0) << qint64(10)
            << qint64(10) << true << pushups << 0 << 0;
        QTest::addRow("exerciseType bytes")
            << QByteArray("exerciseType=@ByteArray(Squats)") << qint64(0) << qint64(0) << qint64(10)
            << qint64(10) << true << pushups << 0 << 0;
        QTest::addRow("blobs as text") << QByteArray(R"(completedHistory="[]"
dailyPrompts="{}")") << qint64(0) << qint64(0)
                                       << qint64(10) << qint64(10) << true << pushups << 0 << 0;
        QTest::addRow("blobs malformed")
            << QByteArray("completedHistory=" + TrackerHarness::iniBytes("[{") +
                          "\ndailyPrompts=" + TrackerHarness::iniBytes("{\"2026-01-01\":1.5}"))
            << qint64(0) << qint64(0) << qint64(10) << qint64(10) << true << pushups << 0 << 0;
        QTest::addRow("counts at the top of the range")
            << QByteArray("totalRequests=9223372036854775807\npendingSets=-9223372036854775808")
            << std::numeric_limits<qint64>::max() << std::numeric_limits<qint64>::min() << qint64(10)
            << qint64(10) << true << pushups << 0 << 0;
    }
    void loads() {
        QFETCH(QByteArray, store);
        TrackerHarness harness;
        if (!store.isEmpty())
            harness.seedStore(store);
        const auto model = harness.makeModel();
        QTEST(model->totalRequests(), "totalRequests");
        QTEST(model->pendingSets(), "pendingSets");
        QTEST(model->promptLimit(), "promptLimit");
        QTEST(model->pushupsPerSet(), "pushupsPerSet");
        QTEST(model->soundEnabled(), "soundEnabled");
        QTEST(model->exerciseType(), "exerciseType");
        QTEST(int(model->completedHistory().size()), "historySize");
        QTEST(int(model->dailyPrompts().size()), "daysCounted");
        QCOMPARE(model->sessionStartDate(), harness.clock);
        // The two limits are always written back, as loaded.
        QCOMPARE(harness.stored(PreferenceKeys::promptLimit),
                 QVariant(QString::number(model->promptLimit())));
        QCOMPARE(harness.stored(PreferenceKeys::pushupsPerSet),
                 QVariant(QString::number(model->pushupsPerSet())));
    }

    void emptyStoreHoldsOnlyTheLimits() {
        TrackerHarness harness;
        const auto model = harness.makeModel();
        const QVariantMap expected{{PreferenceKeys::promptLimit, QStringLiteral("10")},
                                   {PreferenceKeys::pushupsPerSet, QStringLiteral("10")}};
        QCOMPARE(harness.storedValues(), expected);
    }

    // Values taken from the store are written straight back; values that were not taken stay as found.
    void writtenBackAsLoaded() {
        TrackerHarness harness;
        harness.seedStore("totalRequests=abc\npendingSets=3\nsoundEnabled=false\nexerciseType=Sudoku\n"
                          "dailyPrompts=" +
                          TrackerHarness::iniBytes(R"({ "2026-03-14" : 2 })"));
        const auto model = harness.makeModel();
        const QVariantMap stored = harness.storedValues();
        QCOMPARE(stored.value(PreferenceKeys::totalRequests), QVariant(QStringLiteral("abc")));
        QCOMPARE(stored.value(PreferenceKeys::pendingSets), QVariant(QStringLiteral("3")));
        QCOMPARE(stored.value(PreferenceKeys::soundEnabled), QVariant(QStringLiteral("false")));
        QCOMPARE(stored.value(PreferenceKeys::exerciseType), QVariant(QStringLiteral("Sudoku")));
        QCOMPARE(stored.value(PreferenceKeys::dailyPrompts), QVariant(QByteArray(R"({"2026-03-14":2})")));
    }

    void historyRewrittenInOwnForm() {
        TrackerHarness harness;
        const QByteArray lowerCaseWithoutExercise = legacySetJson();
        harness.seedStore("completedHistory=" +
                          TrackerHarness::iniBytes("[" + lowerCaseWithoutExercise + "]"));
        const auto model = harness.makeModel();
        QCOMPARE(model->completedHistory().size(), 1);
        const QByteArray stored = harness.stored(PreferenceKeys::completedHistory).toByteArray();
        const QByteArray id = model->completedHistory().first().id.toString(QUuid::WithoutBraces).toUtf8();
        QVERIFY2(stored.contains("\"id\":\"" + id.toUpper() + "\""), stored.constData());
        QVERIFY2(stored.contains("\"exerciseType\":\"Pushups\""), stored.constData());
        QCOMPARE(CollectionJson::decodeHistory(stored), model->completedHistory());
    }

    void longHistoryTrimmedAtNextCompletion() {
        TrackerHarness harness;
        harness.seedStore("pendingSets=1\ncompletedHistory=" + TrackerHarness::iniBytes(historyBlob(60)));
        const auto model = harness.makeModel();
        QCOMPARE(model->completedHistory().size(), 60);
        const QList<CompletedSet> loaded = model->completedHistory();
        QCOMPARE(CollectionJson::decodeHistory(harness.stored(PreferenceKeys::completedHistory).toByteArray())
                     ->size(),
                 60);

        model->completeSet();
        QCOMPARE(model->completedHistory().size(), TrackerState::historyLimit);
        QCOMPARE(model->completedHistory().first().date, harness.clock);
        QCOMPARE(model->completedHistory().mid(1), loaded.first(TrackerState::historyLimit - 1));
        QCOMPARE(
            CollectionJson::decodeHistory(harness.stored(PreferenceKeys::completedHistory).toByteArray()),
            model->completedHistory());
    }

    void badHistoryStaysUntilNextCompletion() {
        TrackerHarness harness;
        QByteArrayList records;
        for (int i = 0; i < 10; ++i)
            records.append(i == 4 ? R"({"id":"not-an-id","date":1,"reps":1})" : legacySetJson());
        const QByteArray bad = "[" + records.join(',') + "]";
        harness.seedStore("pendingSets=2\ncompletedHistory=" + TrackerHarness::iniBytes(bad));
        const auto model = harness.makeModel();
        QVERIFY(model->completedHistory().isEmpty());
        model->recordPrompt();
        QCOMPARE(harness.stored(PreferenceKeys::completedHistory), QVariant(bad));

        model->completeSet();
        const auto stored =
            CollectionJson::decodeHistory(harness.stored(PreferenceKeys::completedHistory).toByteArray());
        QVERIFY(stored.has_value());
        QCOMPARE(stored->size(), 1);
        QCOMPARE(*stored, model->completedHistory());
    }

    void badDailyCountsStayUntilNextPrompt() {
        TrackerHarness harness;
        const QByteArray bad = R"({"2026-03-13":"four"})";
        harness.seedStore("dailyPrompts=" + TrackerHarness::iniBytes(bad));
        const auto model = harness.makeModel();
        model->startWatching();
        QVERIFY(model->dailyPrompts().isEmpty());
        QCOMPARE(harness.stored(PreferenceKeys::dailyPrompts), QVariant(bad));

        model->recordPrompt();
        QCOMPARE(harness.stored(PreferenceKeys::dailyPrompts), QVariant(QByteArray(R"({"2026-03-14":1})")));
    }

    // With the day counts unreadable, the history rebuilds them at the next start.
    void badDailyCountsRebuiltFromHistory() {
        TrackerHarness harness;
        harness.seedStore("dailyPrompts=" + TrackerHarness::iniBytes("[]") +
                          "\ncompletedHistory=" + TrackerHarness::iniBytes(historyBlob(2)));
        const auto model = harness.makeModel();
        QVERIFY(model->dailyPrompts().isEmpty());
        model->startWatching();
        qint64 total = 0;
        for (const qint64 count : model->dailyPrompts())
            total += count;
        QCOMPARE(total, 2 * model->promptLimit());
    }
};

QTEST_GUILESS_MAIN(TestTrackerLoading)
#include "tst_trackerloading.moc"
