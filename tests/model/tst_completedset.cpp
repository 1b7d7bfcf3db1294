#include "model/CollectionJson.h"
#include "model/CompletedSet.h"

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
        if (name != key) {
            written.append('"' + name + "\":" + json);
        } else if (!value.isEmpty()) {
            written.append('"' + name + "\":" + value);
        }
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
    void writtenForm() {
        const CompletedSet set{QUuid::fromString(sampleId.toLower()),
                               utc(QStringLiteral("2001-01-02T00:00:01.500Z")), 12, QStringLiteral("Sudoku")};
        const QByteArray json = QJsonDocument(set.toJson()).toJson(QJsonDocument::Compact);
        QCOMPARE(json, "{\"date\":86401.5,\"exerciseType\":\"Sudoku\",\"id\":\"" + sampleId.toUtf8() +
                           "\",\"reps\":12}");
    }

    // Records written by other programs: what reads, with which values, and what is refused.
    void decode_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<qint64>("reps");
        QTest::addColumn<QString>("exerciseType");
        const QString pushups = QStringLiteral("Pushups");
        QTest::addRow("exerciseType missing") << record("exerciseType") << true << qint64(10) << pushups;
        QTest::addRow("exerciseType null") << record("exerciseType", "null") << true << qint64(10) << pushups;
        QTest::addRow("id missing") << record("id") << false << qint64(0) << QString();
        QTest::addRow("reps fraction") << record("reps", "10.5") << false << qint64(0) << QString();
        QTest::addRow("reps beyond 64 bits") << record("reps", "1e19") << false << qint64(0) << QString();
        QTest::addRow("exerciseType number")
            << record("exerciseType", "5") << false << qint64(0) << QString();
    }
    void decode() {
        QFETCH(QByteArray, json);
        QFETCH(bool, readable);
        QFETCH(qint64, reps);
        QFETCH(QString, exerciseType);
        const auto set = CompletedSet::fromJson(object(json));
        QCOMPARE(set.has_value(), readable);
        if (readable) {
            QCOMPARE(set->id, QUuid::fromString(sampleId));
            QCOMPARE(set->reps, reps);
            QCOMPARE(set->exerciseType, exerciseType);
        }
    }

    // Milliseconds survive exactly; finer fractions written by other programs round to the nearest.
    void datePrecision_data() {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<qint64>("msecsSinceReference");
        QTest::addRow("rounds up") << 800000000.1236 << qint64(800000000124);
    }
    void datePrecision() {
        QFETCH(double, seconds);
        QFETCH(qint64, msecsSinceReference);
        const QJsonObject json{
            {QStringLiteral("id"), sampleId}, {QStringLiteral("date"), seconds}, {QStringLiteral("reps"), 1}};
        const auto set = CompletedSet::fromJson(json);
        QVERIFY(set.has_value());
        QCOMPARE(utc(QStringLiteral("2001-01-01T00:00:00.000Z")).msecsTo(set->date), msecsSinceReference);
    }

    // One bad element refuses the whole blob, so the caller keeps its default instead of half a list.
    void historyDecodes_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<int>("size");
        QList<QByteArray> tenWithOneBad(10, record());
        tenWithOneBad[6] = record("reps", "\"ten\"");
        QTest::addRow("white space") << QByteArray(" [\n " + record() + " \n] \n") << 1;
        QTest::addRow("one bad record among ten") << historyOf(tenWithOneBad) << -1;
    }
    void historyDecodes() {
        QFETCH(QByteArray, json);
        QFETCH(int, size);
        const auto history = CollectionJson::decodeHistory(json);
        QCOMPARE(history ? int(history->size()) : -1, size);
    }

    void dailyPrompts_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<bool>("readable");
        QTest::addRow("zero fraction, spaces")
            << QByteArray(R"({"2026-01-02" : 2.0 , "2026-01-01":1})") << true;
        QTest::addRow("fraction") << QByteArray(R"({"2026-01-01":1,"2026-01-02":2.5})") << false;
    }
    void dailyPrompts() {
        QFETCH(QByteArray, json);
        QFETCH(bool, readable);
        const auto daily = CollectionJson::decodeDailyPrompts(json);
        QCOMPARE(daily.has_value(), readable);
        if (readable) {
            QCOMPARE(*daily, (QMap<QString, qint64>{{QStringLiteral("2026-01-01"), 1},
                                                    {QStringLiteral("2026-01-02"), 2}}));
        }
        const QMap<QString, qint64> large{{QStringLiteral("2026-01-02"), 4000000000}};
        QCOMPARE(CollectionJson::decodeDailyPrompts(CollectionJson::encodeDailyPrompts(large)), large);
    }
};

QTEST_GUILESS_MAIN(TestCompletedSet)
#include "tst_completedset.moc"
