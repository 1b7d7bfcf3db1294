#include "SetAlertContent.h"

#include <QLocale>
#include <QTest>

class TestSetAlertContent : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A locale that groups digits and uses its own separators: the alert's numbers must not follow it.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void compose_data() {
        QTest::addColumn<qint64>("pendingSets");
        QTest::addColumn<qint64>("totalPrompts");
        QTest::addColumn<qint64>("reps");
        QTest::addColumn<QString>("exerciseType");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("body");

        QTest::newRow("first set") << qint64(1) << qint64(10) << qint64(10) << QStringLiteral("Pushups")
                                   << QStringLiteral("Time for 10 Pushups")
                                   << QStringLiteral("You've sent 10 prompts. 1 set(s) owed.");
        QTest::newRow("second set owed") << qint64(2) << qint64(40) << qint64(20) << QStringLiteral("Pushups")
                                         << QStringLiteral("Time for 20 Pushups")
                                         << QStringLiteral("You've sent 40 prompts. 2 set(s) owed.");
        QTest::newRow("name with a space")
            << qint64(3) << qint64(75) << qint64(12) << QStringLiteral("Bicep Curls")
            << QStringLiteral("Time for 12 Bicep Curls")
            << QStringLiteral("You've sent 75 prompts. 3 set(s) owed.");
        QTest::newRow("large counts, no digit grouping")
            << qint64(12) << qint64(1234567) << qint64(1500) << QStringLiteral("Brain Teaser")
            << QStringLiteral("Time for 1500 Brain Teaser")
            << QStringLiteral("You've sent 1234567 prompts. 12 set(s) owed.");
        QTest::newRow("beyond 32 bits") << qint64(5000000000) << qint64(50000000000) << qint64(1)
                                        << QStringLiteral("Walking") << QStringLiteral("Time for 1 Walking")
                                        << QStringLiteral("You've sent 50000000000 prompts. 5000000000 "
                                                          "set(s) owed.");
        QTest::newRow("name kept as given")
            << qint64(1) << qint64(5) << qint64(8) << QStringLiteral("Sit-ups")
            << QStringLiteral("Time for 8 Sit-ups")
            << QStringLiteral("You've sent 5 prompts. 1 set(s) owed.");
    }

    void compose() {
        QFETCH(qint64, pendingSets);
        QFETCH(qint64, totalPrompts);
        QFETCH(qint64, reps);
        QFETCH(QString, exerciseType);

        const SetAlertContent alert = SetAlertContent::compose(pendingSets, totalPrompts, reps, exerciseType);

        QTEST(alert.title, "title");
        QTEST(alert.body, "body");
    }
};

QTEST_GUILESS_MAIN(TestSetAlertContent)
#include "tst_setalertcontent.moc"
