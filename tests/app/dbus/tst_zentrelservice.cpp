#include "TestFiles.h"
#include "TrackerHarness.h"
#include "app/dbus/ZentrelService.h"
#include "common/ZentrelBus.h"
#include "model/CollectionJson.h"
#include "propertiesproxy.h"
#include "zentrelproxy.h"

#include <QDBusPendingReply>
#include <QSignalSpy>
#include <QTest>
#include <functional>

namespace {
using Operation = std::function<void(TrackerState&)>;

const QString clientName = QStringLiteral("client");

QByteArray storedHistory(int sets) {
    return "completedHistory=" +
           TrackerHarness::iniBytes(CollectionJson::encodeHistory(
               TrackerHarness::sampleHistory(sets, QDateTime(QDate(2026, 3, 13), QTime(18, 0)))));
}

template <typename Reply> bool finished(const Reply& reply) {
    return QTest::qWaitFor([&reply] { return reply.isFinished(); });
}

// A model in a temporary home served on the test run's bus, and a bar's view of it: a second
// connection that calls the service by its connection's unique name and records its signals.
struct ServedModel {
    explicit ServedModel(const QByteArray& store, const QDateTime& clock = {}) {
        if (clock.isValid()) {
            harness.clock = clock;
        }
        harness.seedStore(store);
        model = harness.makeModel();
        service.serve(*model);
    }
    ~ServedModel() { QDBusConnection::disconnectFromBus(clientName); }

    QByteArray storeBytes() const { return readFile(harness.storePath()); }
    QVariantMap changed(int signal) const { return changes.at(signal).at(1).value<QVariantMap>(); }

    TrackerHarness harness;
    std::unique_ptr<TrackerState> model;
    ZentrelService service{QDBusConnection::sessionBus()};
    QDBusConnection client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, clientName);
    const QString server = QDBusConnection::sessionBus().baseService();
    PropertiesProxy properties{server, ZentrelBus::objectPath, client};
    ZentrelProxy zentrel{server, ZentrelBus::objectPath, client};
    QSignalSpy changes{&properties, &PropertiesProxy::PropertiesChanged};
};
} // namespace

Q_DECLARE_METATYPE(Operation)

class TestZentrelService : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs a session bus"); }

    // The model's clock says 2026-03-14; the 7 prompts of the day before are not today's.
    void propertiesFollowTheModel() {
        ServedModel served("promptLimit=4\npushupsPerSet=15\nexerciseType=Squats\n" + storedHistory(3) +
                           "\ndailyPrompts=" + TrackerHarness::iniBytes(R"({"2026-03-13":7})"));
        for (int i = 0; i < 5; ++i) {
            served.model->recordPrompt();
        }
        const QDBusPendingReply<QVariantMap> all = served.properties.GetAll(ZentrelBus::interface);
        QVERIFY(finished(all));
        const QVariantMap expected{
            {QStringLiteral("TotalPrompts"), 5LL}, {QStringLiteral("PromptsThisSet"), 1LL},
            {QStringLiteral("PromptLimit"), 4LL},  {QStringLiteral("PendingSets"), 1LL},
            {QStringLiteral("RepsPerSet"), 15LL},  {QStringLiteral("Exercise"), QStringLiteral("Squats")},
            {QStringLiteral("TodayPrompts"), 5LL}, {QStringLiteral("CompletedSets"), 3LL}};
        QCOMPARE(all.value(), expected);
    }

    void onePropertiesChangedPerOperation_data() {
        QTest::addColumn<QByteArray>("store");
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<QVariantMap>("expected");
        const auto prompts = [](int count) {
            return Operation([count](TrackerState& state) {
                for (int i = 0; i < count; ++i) {
                    state.recordPrompt();
                }
            });
        };
        const QString total = QStringLiteral("TotalPrompts");
        const QString pending = QStringLiteral("PendingSets");
        const QString today = QStringLiteral("TodayPrompts");
        QTest::newRow("one prompt") << QByteArray() << prompts(1)
                                    << QVariantMap{{total, 1LL},
                                                   {QStringLiteral("PromptsThisSet"), 1LL},
                                                   {today, 1LL}};
        // Progress runs from 0 round to 0 again, so it is not among the changes.
        QTest::newRow("a poll of ten prompts")
            << QByteArray() << prompts(10) << QVariantMap{{total, 10LL}, {pending, 1LL}, {today, 10LL}};
        QTest::newRow("a completed set")
            << QByteArray("pendingSets=1") << Operation(&TrackerState::completeSet)
            << QVariantMap{{pending, 0LL}, {QStringLiteral("CompletedSets"), 1LL}};
        QTest::newRow("the 51st completed set")
            << QByteArray("pendingSets=1\n" + storedHistory(50)) << Operation(&TrackerState::completeSet)
            << QVariantMap{{pending, 0LL}};
        QTest::newRow("a setting given its own value")
            << QByteArray() << Operation([](TrackerState& state) { state.setPromptLimit(10); })
            << QVariantMap();
    }

    // A later change, queued behind the operation, closes the operation's announcements: every
    // signal before its own belongs to the operation.
    void onePropertiesChangedPerOperation() {
        QFETCH(QByteArray, store);
        QFETCH(Operation, operation);
        QFETCH(QVariantMap, expected);
        ServedModel served(store);
        TrackerState& model = *served.model;
        operation(model);
        QMetaObject::invokeMethod(
            &model, [&model] { model.setPushupsPerSet(99); }, Qt::QueuedConnection);
        const QVariantMap closing{{QStringLiteral("RepsPerSet"), 99LL}};
        QVERIFY(QTest::qWaitFor([&] {
            return !served.changes.isEmpty() && served.changed(served.changes.size() - 1) == closing;
        }));
        QCOMPARE(served.changes.size(), expected.isEmpty() ? 1 : 2);
        if (!expected.isEmpty()) {
            QCOMPARE(served.changes.first().at(0).toString(), ZentrelBus::interface);
            QCOMPARE(served.changed(0), expected);
        }
    }

    // Today's count starts again at local midnight, with no prompt to announce it.
    void todayPromptsAnnouncedAtMidnight() {
        const QDate day(2026, 3, 14);
        ServedModel served("dailyPrompts=" + TrackerHarness::iniBytes(R"({"2026-03-14":7})"),
                           QDateTime(day, QTime(23, 59, 59, 700)));
        served.harness.clock = QDateTime(day.addDays(1), QTime(0, 0, 1));
        QVERIFY(served.changes.wait(5000));
        QCOMPARE(served.changed(0), (QVariantMap{{QStringLiteral("TodayPrompts"), 0LL}}));
    }

    void completeSet_data() {
        QTest::addColumn<int>("owed");
        QTest::addColumn<QString>("error");
        QTest::addColumn<qint64>("owedAfter");
        QTest::addColumn<qint64>("completedAfter");
        QTest::newRow("nothing owed") << 0 << ZentrelBus::nothingOwedError << 0LL << 0LL;
        QTest::newRow("two owed") << 2 << QString() << 1LL << 1LL;
    }

    void completeSet() {
        QFETCH(int, owed);
        QFETCH(QString, error);
        QFETCH(qint64, owedAfter);
        QFETCH(qint64, completedAfter);
        ServedModel served("pendingSets=" + QByteArray::number(owed));
        const QByteArray storeBefore = served.storeBytes();
        const QDBusPendingReply<> reply = served.zentrel.CompleteSet();
        QVERIFY(finished(reply));
        QCOMPARE(reply.error().name(), error);
        QCOMPARE(served.model->pendingSets(), owedAfter);
        QCOMPARE(served.model->completedHistory().size(), completedAfter);
        if (!error.isEmpty()) {
            QCOMPARE(served.storeBytes(), storeBefore);
        }
    }
};

QTEST_MAIN(TestZentrelService)
#include "tst_zentrelservice.moc"
