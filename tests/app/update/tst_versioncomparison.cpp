#include "app/update/VersionComparison.h"

#include <QTest>

class TestVersionComparison : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void compares_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("order"); // the sign of a compared with b
        const auto row = [](const char* name, const char* a, const char* b, int order) {
            QTest::newRow(name) << QString::fromUtf8(a) << QString::fromUtf8(b) << order;
        };
        row("patch release is newer", "1.5.1", "1.5", 1);
        row("release beats its beta", "1.5", "1.5b3", 1);
        row("dot beats text in the same place", "1.0.1", "1.0b1", 1);
        row("release candidate beats beta", "2.0rc1", "2.0b2", 1);
        row("numbers, not text", "1.10", "1.9", 1);
        row("beta numbers as numbers", "1.5b10", "1.5b9", 1);
        row("numbers longer than 64 bits", "1.123456789012345678901", "1.123456789012345678900", 1);
        row("anything beats an empty one", "0.1", "", 1);
        row("missing zero component", "1.0", "1.0.0", 0);
        row("build metadata after a dash", "1.2-20240101", "1.2", 0);
    }

    void compares() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, order);
        const auto sign = [](std::strong_ordering o) { return o < 0 ? -1 : o > 0 ? 1 : 0; };
        QCOMPARE(sign(VersionComparison::compareVersions(a, b)), order);
        QCOMPARE(sign(VersionComparison::compareVersions(b, a)), -order);
    }
};

QTEST_GUILESS_MAIN(TestVersionComparison)
#include "tst_versioncomparison.moc"
