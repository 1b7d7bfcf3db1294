#include "update/VersionComparison.h"

#include <QTest>

namespace {

int sign(std::strong_ordering order) {
    if (order < 0) {
        return -1;
    }
    return order > 0 ? 1 : 0;
}

} // namespace

class TestVersionComparison : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void compares_data();
    void compares();
    void sortsAReleaseHistory();
};

void TestVersionComparison::compares_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("expected");

    QTest::newRow("patch release is newer") << "1.5.1"
                                            << "1.5" << 1;
    QTest::newRow("release beats its beta") << "1.5"
                                            << "1.5b3" << 1;
    QTest::newRow("patch beats an earlier beta") << "1.5.1"
                                                 << "1.5b3" << 1;
    QTest::newRow("numbers, not text") << "1.10"
                                       << "1.9" << 1;
    QTest::newRow("identical") << "2.0"
                               << "2.0" << 0;
    QTest::newRow("missing zero component") << "1.0"
                                            << "1.0.0" << 0;
    QTest::newRow("two missing zeros") << "1"
                                       << "1.0.0" << 0;
    QTest::newRow("missing zero with a later beta") << "1.0b1"
                                                    << "1.0.0b1" << 0;
    QTest::newRow("release candidate is older") << "1.0rc1"
                                                << "1.0" << -1;
    QTest::newRow("alpha before beta") << "1.0a1"
                                       << "1.0b1" << -1;
    QTest::newRow("beta numbers as numbers") << "1.5b10"
                                             << "1.5b9" << 1;
    QTest::newRow("beta before release candidate") << "2.0b2"
                                                   << "2.0rc1" << -1;
    QTest::newRow("leading zeros are the same number") << "1.05"
                                                       << "1.5" << 0;
    QTest::newRow("numbers longer than 64 bits") << "1.123456789012345678901"
                                                 << "1.123456789012345678900" << 1;
    QTest::newRow("major wins") << "2.0"
                                << "1.99.99" << 1;
    QTest::newRow("point release beats pre-release of it") << "1.0.1"
                                                           << "1.0.1b1" << 1;
    QTest::newRow("dot beats text in the same place") << "1.0.1"
                                                      << "1.0b1" << 1;
    QTest::newRow("build metadata after a dash is ignored") << "1.2-20240101"
                                                            << "1.2" << 0;
    QTest::newRow("empty is older than anything") << ""
                                                  << "0.1" << -1;
    QTest::newRow("both empty") << ""
                                << "" << 0;
}

void TestVersionComparison::compares() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, expected);
    QCOMPARE(sign(VersionComparison::compareVersions(a, b)), expected);
    QCOMPARE(sign(VersionComparison::compareVersions(b, a)), -expected);
}

void TestVersionComparison::sortsAReleaseHistory() {
    const QStringList ordered = {QStringLiteral("0.9"),    QStringLiteral("1.0a1"), QStringLiteral("1.0b2"),
                                 QStringLiteral("1.0rc1"), QStringLiteral("1.0"),   QStringLiteral("1.0.1"),
                                 QStringLiteral("1.2"),    QStringLiteral("1.10"),  QStringLiteral("2.0")};
    QStringList shuffled = {ordered[5], ordered[0], ordered[8], ordered[2], ordered[7],
                            ordered[1], ordered[4], ordered[6], ordered[3]};
    std::sort(shuffled.begin(), shuffled.end(), [](const QString& a, const QString& b) {
        return VersionComparison::compareVersions(a, b) < 0;
    });
    QCOMPARE(shuffled, ordered);
}

QTEST_GUILESS_MAIN(TestVersionComparison)
#include "tst_versioncomparison.moc"
