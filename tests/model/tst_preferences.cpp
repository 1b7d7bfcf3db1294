#include "TestFiles.h"
#include "model/PreferenceKeys.h"
#include "model/Preferences.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>

namespace {
const QString key = QStringLiteral("someKey");

template <typename T> QVariant asVariant(const std::optional<T>& value) {
    return value ? QVariant::fromValue(*value) : QVariant();
}
} // namespace

class TestPreferences : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // One row per kind rule: integers from integer text only, booleans from their words or an integer,
    // text never from a list, bytes only from @ByteArray.
    void readsKinds_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QVariant>("integer");
        QTest::addColumn<QVariant>("boolean");
        QTest::addColumn<QVariant>("text");
        const QVariant none;
        QTest::addRow("zero") << QByteArray("0") << QVariant(qint64(0)) << QVariant(false)
                              << QVariant(QStringLiteral("0"));
        QTest::addRow("too large") << QByteArray("9223372036854775808") << none << none
                                   << QVariant(QStringLiteral("9223372036854775808"));
        QTest::addRow("fraction") << QByteArray("12.5") << none << none << QVariant(QStringLiteral("12.5"));
        QTest::addRow("FALSE") << QByteArray("FALSE") << none << QVariant(false)
                               << QVariant(QStringLiteral("FALSE"));
        QTest::addRow("True") << QByteArray("True") << none << QVariant(true)
                              << QVariant(QStringLiteral("True"));
        QTest::addRow("quoted name") << QByteArray("\"Bicep Curls\"") << none << none
                                     << QVariant(QStringLiteral("Bicep Curls"));
        QTest::addRow("list") << QByteArray("Squats, Walking") << none << none << none;
        QTest::addRow("bytes") << QByteArray("@ByteArray(12)") << none << none << none;
    }
    void readsKinds() {
        QFETCH(QByteArray, stored);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("store.conf"));
        QVERIFY(writeFile(path, "[General]\n" + key.toUtf8() + "=" + stored + "\n"));
        const Preferences store(path);
        QTEST(asVariant(store.integer(key)), "integer");
        QTEST(asVariant(store.boolean(key)), "boolean");
        QTEST(asVariant(store.text(key)), "text");
    }

    // A kill between creating the store's lock file and writing into it leaves the lock empty;
    // the next start must not wait out Qt's stale-lock time of 30 s before it can use the store.
    void emptyLockLeftByAKillIsNotWaitedFor() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("store.conf"));
        QVERIFY(writeFile(path + QStringLiteral(".lock"), ""));
        QElapsedTimer started;
        started.start();
        Preferences store(path);
        store.setInteger(PreferenceKeys::totalRequests, 3);
        store.sync();
        QVERIFY2(started.elapsed() < 15000, "waited for the abandoned lock to go stale");
        QVERIFY(readFile(path).contains("totalRequests=3"));
    }

    // Writes wait for sync(), which puts them on disk all at once: one file replacement for a
    // burst of prompts, and never one prompt's total without its day count.
    void writesReachTheFileTogether() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("nested/folder/store.conf"));
        Preferences store(path);
        store.setInteger(PreferenceKeys::totalRequests, 4000000000);
        store.setBoolean(PreferenceKeys::soundEnabled, false);
        store.setText(PreferenceKeys::exerciseType, QStringLiteral("Sit-ups"));
        store.saveDailyPrompts({{QStringLiteral("2026-02-03"), 5}});
        store.saveHistory({});
        QVERIFY(!QFileInfo::exists(path));
        store.sync();
        QCOMPARE(readFile(path), QByteArray("[General]\n"
                                            "completedHistory=@ByteArray([])\n"
                                            R"(dailyPrompts=@ByteArray({\"2026-02-03\":5}))"
                                            "\n"
                                            "exerciseType=Sit-ups\n"
                                            "soundEnabled=false\n"
                                            "totalRequests=4000000000\n"));
    }
};

QTEST_GUILESS_MAIN(TestPreferences)
#include "tst_preferences.moc"
