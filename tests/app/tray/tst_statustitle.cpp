#include "tray/StatusTitle.h"

#include <QTest>

class TestStatusTitle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Owed sets replace the progress; without any, the progress shows.
    void formats() {
        QCOMPARE(statusTitle(0, 3, 10), QStringLiteral(" 3/10"));
        QCOMPARE(statusTitle(1, 7, 10), QStringLiteral(" 1"));
    }
};

QTEST_APPLESS_MAIN(TestStatusTitle)
#include "tst_statustitle.moc"
