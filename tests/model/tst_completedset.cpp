#include "CollectionJson.h"
#include "CompletedSet.h"
#include "ExerciseCatalogue.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {
const QString sampleId = QStringLiteral("3F2504E0-4F89-41D3-9A0C-0305E82C3301");

QDateTime utc(const QString& iso) {
    return QDateTime::fromString(iso, Qt::ISODateWithMs).toUTC();
}

QJsonObject object(const QByteArray& json) {
    return QJsonDocument::fromJson(json).object();
}

// A stored record as other writers of the store produce it, its members as raw JSON text.
// `key` gets `value` instead; an empty value leaves the key out.
QByteArray record(const QByteArray& key = {}, const QByteArray& value = {}) {
    const QList<std::pair<QByteArray, QByteArray>> members{{"id", '"' + sampleId.toUtf8() + '"'},
                                                           {"date", "700000000.25"},
                                                           {"reps", "10"},
                                                           {"exerciseType", "\"Squats\""}};
    QByteArrayList written;
    for (const auto& [name, json] : members) {
        if (name != key)
            written.append('"' + name + "\":" + json);
        else if (!value.isEmpty())
            written.append('"' + name + "\":" + value);
    }
    return '{' + written.join(',') + '}';
}

QByteArray historyOf(const QList<QByteArray>& records) {
    return "[" + records.join(',') + "]";
}
} // namespace

class TestCompletedSet : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void catalogueNamesInOrder() {
        const QStringList expected{QStringLiteral("Pushups"),     QStringLiteral("Sit-ups"),
                                   QStringLiteral("Squats"),      QStringLiteral("Walking"),
                                   QStringLiteral("Bicep Curls"), QStringLiteral("Sudoku"),
                                   QStringLiteral("Crossword"),   QStringLiteral("Brain Teaser")};
        QCOMPARE(exerciseTypes, expected);
        QCOMPARE(defaultExerciseType(), QStringLiteral("Pushups"));
    }

    void roundTrip_data() {
        QTest::addColumn<CompletedSet>("set");
        QTest::addRow("fresh") << CompletedSet{QUuid::createUuid(),
                                               utc(QStringLiteral("2026-05-04T13:14:15.678Z")), 10,
                                               QStringLiteral("Pushups")};
        QTest::addRow("before reference date")
            << CompletedSet{QUuid::createUuid(), utc(QStringLiteral("1999-12-31T23:59:59.001Z")), 1,
                            QStringLiteral("Brain Teaser")};
        QTest::addRow("exactly reference date")
            << CompletedSet{QUuid::createUuid(), utc(QStringLiteral("2001-01-01T00:00:00.000Z")), 0,
                            QStringLiteral("Sit-ups")};
        QTest::addRow("far future, big reps")
            << CompletedSet{QUuid::createUuid(), utc(QStringLiteral("2999-06-30T12:00:00.999Z")),
                            (qint64(1) << 53) + 1, QStringLiteral("Walking")};
        QTest::addRow("negative reps, name outside catalogue")
            << CompletedSet{QUuid::createUuid(), utc(QStringLiteral("2024-02-29T00:00:00.500Z")), -5,
                            QStringLiteral("Hula Hoop \u00e9\u00e8")};
        QTest::addRow("nil id") << CompletedSet{QUuid(), utc(QStringLiteral("2024-01-01T00:00:00.000Z")), 3,
                                                QStringLiteral("")};
    }
    void roundTrip() {
        QFETCH(CompletedSet, set);
        const QByteArray json = QJsonDocument(set.toJson()).toJson();
        const auto read = CompletedSet::fromJson(object(json));
        QVERIFY(read.has_value());
        QCOMPARE(read->id, set.id);
        QCOMPARE(read->date.toMSecsSinceEpoch(), set.date.toMSecsSinceEpoch());
        QCOMPARE(read->reps, set.reps);
        QCOMPARE(read->exerciseType, set.exerciseType);
    }

    void writtenForm() {
        const CompletedSet set{QUuid::fromString(sampleId.toLower()),
                               utc(QStringLiteral("2001-01-02T00:00:01.500Z")), 12, QStringLiteral("Sudoku")};
        const QJsonObject json = set.toJson();
        QCOMPARE(json.keys(), (QStringList{QStringLiteral("date"), QStringLiteral("exerciseType"),
                                           QStringLiteral("id"), QStringLiteral("reps")}));
        QCOMPARE(json.value(QStringLiteral("id")).toString(), sampleId);
        QCOMPARE(json.value(QStringLiteral("date")).toDouble(), 86401.5);
        QCOMPARE(json.value(QStringLiteral("exerciseType")).toString(), QStringLiteral("Sudoku"));
        QCOMPARE(json.value(QStringLiteral("reps")).toVariant(), QVariant(qint64(12)));
        QVERIFY(QJsonDocument(json).toJson(QJsonDocument::Compact).endsWith("\"reps\":12}"));
    }

    void readable_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<qint64>("reps");
        QTest::addColumn<QString>("exerciseType");
        const QString squats = QStringLiteral("Squats");
        const QString pushups = QStringLiteral("Pushups");
        QTest::addRow("as written") << record() << qint64(10) << squats;
        QTest::addRow("lower-case id")
            << record("id", "\"" + sampleId.toLower().toUtf8() + "\"") << qint64(10) << squats;
        QTest::addRow("exerciseType missing") << record("exerciseType") << qint64(10) << pushups;
        QTest::addRow("exerciseType null") << record("exerciseType", "null") << qint64(10) << pushups;
        QTest::addRow("exerciseType empty") << record("exerciseType", "\"\"") << qint64(10) << QString();
        QTest::addRow("unknown keys") << QByteArray(R"({"extra":[1,2],"id":")" + sampleId.toUtf8() +
                                                    R"(","date":1,"reps":7,"note":null})")
                                      << qint64(7) << pushups;
        // JSON has one kind of number: a zero fraction is still the whole number it writes.
        QTest::addRow("reps 10.0") << record("reps", "10.0") << qint64(10) << squats;
        QTest::addRow("reps 1e1") << record("reps", "1e1") << qint64(10) << squats;
        QTest::addRow("reps negative") << record("reps", "-3") << qint64(-3) << squats;
        QTest::addRow("reps beyond double precision")
            << record("reps", "9007199254740993") << qint64(9007199254740993) << squats;
        QTest::addRow("reps largest")
            << record("reps", "9223372036854775807") << std::numeric_limits<qint64>::max() << squats;
    }
    void readable() {
        QFETCH(QByteArray, json);
        QFETCH(qint64, reps);
        QFETCH(QString, exerciseType);
        const auto set = CompletedSet::fromJson(object(json));
        QVERIFY2(set.has_value(), json.constData());
        QCOMPARE(set->id, QUuid::fromString(sampleId));
        QCOMPARE(set->reps, reps);
        QCOMPARE(set->exerciseType, exerciseType);
        QCOMPARE(set->toJson().value(QStringLiteral("id")).toString(), sampleId);
    }

    void unreadable_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addRow("id missing") << record("id");
        QTest::addRow("id number") << record("id", "5");
        QTest::addRow("id null") << record("id", "null");
        QTest::addRow("id in braces") << record("id", "\"{" + sampleId.toUtf8() + "}\"");
        QTest::addRow("id without hyphens") << record("id", "\"" + sampleId.toUtf8().replace("-", "") + "\"");
        QTest::addRow("id one digit short") << record("id", "\"" + sampleId.toUtf8().chopped(1) + "\"");
        QTest::addRow("id not hex") << record("id", "\"3F2504E0-4F89-41D3-9A0C-0305E82C33G1\"");
        QTest::addRow("id hyphen misplaced") << record("id", "\"3F2504E04-F89-41D3-9A0C-0305E82C3301\"");
        QTest::addRow("id with spaces") << record("id", "\" " + sampleId.toUtf8() + "\"");
        QTest::addRow("date missing") << record("date");
        QTest::addRow("date text") << record("date", "\"2024-01-01\"");
        QTest::addRow("date null") << record("date", "null");
        QTest::addRow("date far beyond any calendar") << record("date", "1e300");
        QTest::addRow("reps missing") << record("reps");
        QTest::addRow("reps fraction") << record("reps", "10.5");
        QTest::addRow("reps text") << record("reps", "\"10\"");
        QTest::addRow("reps boolean") << record("reps", "true");
        QTest::addRow("reps beyond 64 bits") << record("reps", "1e19");
        QTest::addRow("exerciseType number") << record("exerciseType", "5");
        QTest::addRow("exerciseType boolean") << record("exerciseType", "false");
        QTest::addRow("exerciseType array") << record("exerciseType", "[\"Squats\"]");
        QTest::addRow("exerciseType object") << record("exerciseType", "{}");
    }
    void unreadable() {
        QFETCH(QByteArray, json);
        QVERIFY2(!QJsonDocument::fromJson(json).isNull(), json.constData());
        QVERIFY2(!CompletedSet::fromJson(object(json)).has_value(), json.constData());
    }

    // Milliseconds survive exactly; finer fractions written by other programs round to the nearest.
    void datePrecision_data() {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<qint64>("msecsSinceReference");
        QTest::addRow("whole") << 800000000.0 << qint64(800000000000);
        QTest::addRow("milliseconds") << 800000000.123 << qint64(800000000123);
        QTest::addRow("rounds down") << 800000000.1234 << qint64(800000000123);
        QTest::addRow("rounds up") << 800000000.1236 << qint64(800000000124);
        QTest::addRow("negative") << -86400.25 << qint64(-86400250);
        QTest::addRow("tiny") << 0.0004 << qint64(0);
    }
    void datePrecision() {
        QFETCH(double, seconds);
        QFETCH(qint64, msecsSinceReference);
        const QJsonObject json{
            {QStringLiteral("id"), sampleId}, {QStringLiteral("date"), seconds}, {QStringLiteral("reps"), 1}};
        const auto set = CompletedSet::fromJson(json);
        QVERIFY(set.has_value());
        const QDateTime reference = utc(QStringLiteral("2001-01-01T00:00:00.000Z"));
        QCOMPARE(reference.msecsTo(set->date), msecsSinceReference);
    }

    void everyMillisecondSurvives() {
        const QDateTime start = utc(QStringLiteral("2026-03-01T08:00:00.000Z"));
        for (qint64 step = 0; step < 5000; step += 7) {
            const CompletedSet set{QUuid::createUuid(), start.addMSecs(step * 1000003), 1, QString()};
            const auto read = CompletedSet::fromJson(object(QJsonDocument(set.toJson()).toJson()));
            QVERIFY(read.has_value());
            QCOMPARE(read->date, set.date);
        }
    }

    void historyDecodes_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<int>("size");
        QTest::addRow("empty array") << QByteArray("[]") << 0;
        QTest::addRow("ten good") << historyOf(QList<QByteArray>(10, record())) << 10;
        QTest::addRow("white space") << QByteArray(" [\n " + record() + " \n] \n") << 1;
    }
    void historyDecodes() {
        QFETCH(QByteArray, json);
        QFETCH(int, size);
        const auto history = CollectionJson::decodeHistory(json);
        QVERIFY(history.has_value());
        QCOMPARE(history->size(), size);
    }

    void historyRejected_data() {
        QTest::addColumn<QByteArray>("json");
        QList<QByteArray> tenWithOneBad(10, record());
        tenWithOneBad[6] = record("reps", "\"ten\"");
        QTest::addRow("one bad record among ten") << historyOf(tenWithOneBad);
        QList<QByteArray> tenWithOneMissingId(10, record());
        tenWithOneMissingId[9] = record("id");
        QTest::addRow("last record without id") << historyOf(tenWithOneMissingId);
        QTest::addRow("element not an object") << historyOf({record(), "3"});
        QTest::addRow("object instead of array") << record();
        QTest::addRow("truncated") << historyOf({record()}).chopped(2);
        QTest::addRow("trailing garbage") << historyOf({record()}) + "x";
        QTest::addRow("empty bytes") << QByteArray();
        QTest::addRow("not UTF-8 JSON") << QByteArray("\xff\xfe[]");
    }
    void historyRejected() {
        QFETCH(QByteArray, json);
        QVERIFY(!CollectionJson::decodeHistory(json).has_value());
    }

    void historyRoundTripKeepsOrder() {
        QList<CompletedSet> history;
        for (int i = 0; i < 3; ++i)
            history.append(CompletedSet{QUuid::createUuid(),
                                        utc(QStringLiteral("2026-01-01T00:00:00.000Z")).addDays(-i), 10 + i,
                                        exerciseTypes.at(i)});
        QCOMPARE(CollectionJson::decodeHistory(CollectionJson::encodeHistory(history)), history);
        QCOMPARE(CollectionJson::encodeHistory({}), QByteArray("[]"));
    }

    void dailyPromptsRoundTrip() {
        const QMap<QString, qint64> daily{{QStringLiteral("2026-01-01"), 3},
                                          {QStringLiteral("2026-01-02"), 4000000000},
                                          {QStringLiteral("2025-12-31"), 1}};
        const QByteArray json = CollectionJson::encodeDailyPrompts(daily);
        QVERIFY(json.contains("\"2026-01-02\":4000000000"));
        QCOMPARE(CollectionJson::decodeDailyPrompts(json), daily);
        QCOMPARE(
            CollectionJson::decodeDailyPrompts(R"({"2026-01-02" : 2.0 , "2026-01-01":1})"),
            (QMap<QString, qint64>{{QStringLiteral("2026-01-01"), 1}, {QStringLiteral("2026-01-02"), 2}}));
    }

    void dailyPromptsRejected_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addRow("fraction") << QByteArray(R"({"2026-01-01":1,"2026-01-02":2.5})");
        QTest::addRow("text count") << QByteArray(R"({"2026-01-01":"3"})");
        QTest::addRow("null count") << QByteArray(R"({"2026-01-01":null})");
        QTest::addRow("array") << QByteArray(R"([["2026-01-01",3]])");
        QTest::addRow("malformed") << QByteArray(R"({"2026-01-01":3)");
    }
    void dailyPromptsRejected() {
        QFETCH(QByteArray, json);
        QVERIFY(!CollectionJson::decodeDailyPrompts(json).has_value());
    }
};

QTEST_GUILESS_MAIN(TestCompletedSet)
#include "tst_completedset.moc"
