#include "DelegateHarness.h"
#include "tray/StatusItem.h"
#include "tray/StatusTitle.h"

#include <QTest>

class TestStatusTitle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void formats_data() {
        QTest::addColumn<qint64>("pending");
        QTest::addColumn<qint64>("promptsThisSet");
        QTest::addColumn<qint64>("promptLimit");
        QTest::addColumn<QString>("title");
        QTest::newRow("progress") << qint64(0) << qint64(3) << qint64(10) << QStringLiteral(" 3/10");
        QTest::newRow("fresh start") << qint64(0) << qint64(0) << qint64(10) << QStringLiteral(" 0/10");
        QTest::newRow("limit zero") << qint64(0) << qint64(0) << qint64(0) << QStringLiteral(" 0/0");
        QTest::newRow("one owed") << qint64(1) << qint64(0) << qint64(10) << QStringLiteral(" 1");
        QTest::newRow("two owed hides progress")
            << qint64(2) << qint64(7) << qint64(10) << QStringLiteral(" 2");
        QTest::newRow("owed with limit zero") << qint64(2) << qint64(0) << qint64(0) << QStringLiteral(" 2");
        QTest::newRow("large numbers")
            << qint64(0) << qint64(149) << qint64(150) << QStringLiteral(" 149/150");
    }

    void formats() {
        QFETCH(qint64, pending);
        QFETCH(qint64, promptsThisSet);
        QFETCH(qint64, promptLimit);
        QFETCH(QString, title);
        QCOMPARE(statusTitle(pending, promptsThisSet, promptLimit), title);
    }

    // The model's own arithmetic through the delegate: totals 23 and 0, limits 10 and 0, owed 0 and 2.
    void followsTheModel_data() {
        QTest::addColumn<int>("prompts");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<int>("completed");
        QTest::addColumn<QString>("title");
        QTest::newRow("23 prompts, limit 10, both sets done")
            << 23 << qint64(10) << 2 << QStringLiteral(" 3/10");
        QTest::newRow("23 prompts, limit 10, two owed") << 23 << qint64(10) << 0 << QStringLiteral(" 2");
        QTest::newRow("no prompts, limit 10") << 0 << qint64(10) << 0 << QStringLiteral(" 0/10");
        QTest::newRow("no prompts, limit 0") << 0 << qint64(0) << 0 << QStringLiteral(" 0/0");
        QTest::newRow("23 prompts, limit 0") << 23 << qint64(0) << 0 << QStringLiteral(" 0/0");
    }

    void followsTheModel() {
        QFETCH(int, prompts);
        QFETCH(qint64, limit);
        QFETCH(int, completed);
        QFETCH(QString, title);
        DelegateHarness harness(QDBusConnection(QStringLiteral("none")));
        TrackerState& state = harness.state();
        state.setPromptLimit(limit);
        for (int i = 0; i < prompts; ++i)
            state.recordPrompt();
        for (int i = 0; i < completed; ++i)
            state.completeSet();
        QTRY_COMPARE(harness.delegate().statusItem()->title(), title);
    }

    void changesWithTheLimitAlone() {
        DelegateHarness harness(QDBusConnection(QStringLiteral("none")));
        TrackerState& state = harness.state();
        for (int i = 0; i < 3; ++i)
            state.recordPrompt();
        const StatusItem* item = harness.delegate().statusItem();
        QTRY_COMPARE(item->title(), QStringLiteral(" 3/10"));
        state.setPromptLimit(2);
        QTRY_COMPARE(item->title(), QStringLiteral(" 1/2"));
        state.setPromptLimit(0);
        QTRY_COMPARE(item->title(), QStringLiteral(" 0/0"));
        state.setPromptLimit(25);
        QTRY_COMPARE(item->title(), QStringLiteral(" 3/25"));
        QCOMPARE(state.totalRequests(), qint64(3));
    }

    void showsOwedSetsUntilCleared() {
        DelegateHarness harness(QDBusConnection(QStringLiteral("none")));
        TrackerState& state = harness.state();
        state.setPromptLimit(2);
        state.recordPrompt();
        state.recordPrompt();
        const StatusItem* item = harness.delegate().statusItem();
        QTRY_COMPARE(item->title(), QStringLiteral(" 1"));
        state.completeSet();
        QTRY_COMPARE(item->title(), QStringLiteral(" 0/2"));
    }
};

QTEST_MAIN(TestStatusTitle)
#include "tst_statustitle.moc"
