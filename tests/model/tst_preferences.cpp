#include "CompletedSet.h"
#include "PreferenceKeys.h"
#include "Preferences.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {
const QString key = QStringLiteral("someKey");

void writeFile(const QString& path, const QByteArray& contents) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

template <typename T> QVariant asVariant(const std::optional<T>& value) {
    return value ? QVariant::fromValue(*value) : QVariant();
}
} // namespace

class TestPreferences : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void userStoreFollowsEnvironment() {
        TestHome home;
        {
            Preferences store;
            store.setInteger(PreferenceKeys::promptLimit, 7);
            store.sync();
        }
        QVERIFY(
            readFile(home.configHome() + QStringLiteral("/zentrel/zentrel.conf")).contains("promptLimit=7"));

        TestHome second;
        QCOMPARE(Preferences::userFileName(), second.configHome() + QStringLiteral("/zentrel/zentrel.conf"));
        QVERIFY(!Preferences().integer(PreferenceKeys::promptLimit));
    }

    void readsKinds_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QVariant>("integer");
        QTest::addColumn<QVariant>("boolean");
        QTest::addColumn<QVariant>("text");
        const QVariant none;
        QTest::addRow("integer") << QByteArray("12") << QVariant(qint64(12)) << QVariant(true)
                                 << QVariant(QStringLiteral("12"));
        QTest::addRow("negative") << QByteArray("-3") << QVariant(qint64(-3)) << QVariant(true)
                                  << QVariant(QStringLiteral("-3"));
        QTest::addRow("zero") << QByteArray("0") << QVariant(qint64(0)) << QVariant(false)
                              << QVariant(QStringLiteral("0"));
        QTest::addRow("padded") << QByteArray("  42  ") << QVariant(qint64(42)) << QVariant(true)
                                << QVariant(QStringLiteral("42"));
        QTest::addRow("largest") << QByteArray("9223372036854775807")
                                 << QVariant(std::numeric_limits<qint64>::max()) << QVariant(true)
                                 << QVariant(QStringLiteral("9223372036854775807"));
        QTest::addRow("too large") << QByteArray("9223372036854775808") << none << none
                                   << QVariant(QStringLiteral("9223372036854775808"));
        QTest::addRow("word") << QByteArray("abc") << none << none << QVariant(QStringLiteral("abc"));
        QTest::addRow("fraction") << QByteArray("12.5") << none << none << QVariant(QStringLiteral("12.5"));
        QTest::addRow("hexadecimal") << QByteArray("0x10") << none << none
                                     << QVariant(QStringLiteral("0x10"));
        QTest::addRow("true") << QByteArray("true") << none << QVariant(true)
                              << QVariant(QStringLiteral("true"));
        QTest::addRow("FALSE") << QByteArray("FALSE") << none << QVariant(false)
                               << QVariant(QStringLiteral("FALSE"));
        QTest::addRow("quoted name") << QByteArray("\"Bicep Curls\"") << none << none
                                     << QVariant(QStringLiteral("Bicep Curls"));
        QTest::addRow("empty") << QByteArray("") << none << none << QVariant(QString());
        QTest::addRow("list") << QByteArray("Squats, Walking") << none << none << none;
        QTest::addRow("bytes") << QByteArray("@ByteArray(12)") << none << none << none;
        QTest::addRow("invalid") << QByteArray("@Invalid()") << none << none << none;
    }
    void readsKinds() {
        QFETCH(QByteArray, stored);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("store.conf"));
        writeFile(path, "[General]\n" + key.toUtf8() + "=" + stored + "\n");
        const Preferences store(path);
        QTEST(asVariant(store.integer(key)), "integer");
        QTEST(asVariant(store.boolean(key)), "boolean");
        QTEST(asVariant(store.text(key)), "text");
    }

    void absentKeyReadsNothing() {
        QTemporaryDir dir;
        const Preferences store(dir.filePath(QStringLiteral("missing.conf")));
        QVERIFY(!store.integer(key) && !store.boolean(key) && !store.text(key));
        QVERIFY(!store.history() && !store.dailyPrompts());
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

    // QSettings shares one cache per file within a process: a second store on the same file sees
    // what the first wrote with its original types, and must read it like the text on disk.
    void valuesWrittenInThisProcessReadBack() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("store.conf"));
        Preferences writer(path);
        writer.setInteger(PreferenceKeys::pendingSets, 3);
        writer.setBoolean(PreferenceKeys::soundEnabled, false);
        writer.setText(PreferenceKeys::exerciseType, QStringLiteral("Squats"));
        const Preferences reader(path);
        QCOMPARE(reader.integer(PreferenceKeys::pendingSets), qint64(3));
        QCOMPARE(reader.boolean(PreferenceKeys::soundEnabled), false);
        QCOMPARE(reader.text(PreferenceKeys::exerciseType), QStringLiteral("Squats"));
        QCOMPARE(writer.integer(PreferenceKeys::pendingSets), qint64(3));
    }

    void valuesReadBack_data() {
        QTest::addColumn<QString>("text");
        QTest::addRow("catalogue name") << QStringLiteral("Brain Teaser");
        QTest::addRow("comma") << QStringLiteral("Squats, Walking");
        QTest::addRow("at sign") << QStringLiteral("@ByteArray(x)");
        QTest::addRow("digits") << QStringLiteral("12");
        QTest::addRow("non-ASCII") << QStringLiteral("Liegest\u00fctze \u2713");
        QTest::addRow("quotes and backslash") << QStringLiteral("a \"b\" \\c;d=e");
    }
    void valuesReadBack() {
        QFETCH(QString, text);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("store.conf"));
        const QList<CompletedSet> history{
            {QUuid::createUuid(), QDateTime::fromMSecsSinceEpoch(1767225600123, Qt::UTC), 12, text}};
        const QMap<QString, qint64> daily{{QStringLiteral("2026-01-01"), 9},
                                          {QStringLiteral("2026-01-02"), 1}};
        {
            Preferences store(path);
            store.setText(PreferenceKeys::exerciseType, text);
            store.setInteger(PreferenceKeys::pendingSets, -7);
            store.setBoolean(PreferenceKeys::soundEnabled, true);
            store.saveHistory(history);
            store.saveDailyPrompts(daily);
            store.sync();
        }
        // A reader that shares nothing with the writer: the raw file, parsed afresh.
        const QString copy = dir.filePath(QStringLiteral("copy.conf"));
        QVERIFY(QFile::copy(path, copy));
        const Preferences store(copy);
        QCOMPARE(store.text(PreferenceKeys::exerciseType), text);
        QCOMPARE(store.integer(PreferenceKeys::pendingSets), qint64(-7));
        QCOMPARE(store.boolean(PreferenceKeys::soundEnabled), true);
        QCOMPARE(store.history(), history);
        QCOMPARE(store.dailyPrompts(), daily);
    }

    void undecodableBlobsStayInPlace_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addRow("malformed JSON") << QByteArray("@ByteArray([{\"id\")");
        QTest::addRow("wrong top-level type") << QByteArray("@ByteArray(\"text\")");
        QTest::addRow("text, not bytes") << QByteArray("\"[]\"");
    }
    void undecodableBlobsStayInPlace() {
        QFETCH(QByteArray, stored);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("store.conf"));
        writeFile(path, "[General]\ncompletedHistory=" + stored + "\ndailyPrompts=" + stored + "\n");
        const auto valueOf = [](const QString& file, const QString& name) {
            return QSettings(file, QSettings::IniFormat).value(name);
        };
        const QVariant before = valueOf(path, PreferenceKeys::completedHistory);
        Preferences store(path);
        QVERIFY(!store.history());
        QVERIFY(!store.dailyPrompts());
        store.setInteger(PreferenceKeys::totalRequests, 1);
        store.sync();
        const QString copy = dir.filePath(QStringLiteral("copy.conf"));
        QVERIFY(QFile::copy(path, copy));
        QCOMPARE(valueOf(copy, PreferenceKeys::totalRequests), QVariant(QStringLiteral("1")));
        QCOMPARE(valueOf(copy, PreferenceKeys::completedHistory), before);
        QCOMPARE(valueOf(copy, PreferenceKeys::dailyPrompts), before);
    }

    // Root may write anywhere, so the store is made unwritable by putting a plain file where its
    // folder should be: nothing can be created below it.
    void unwritableStoreIsQuiet() {
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("blocker")), "not a folder");
        const QString path = dir.filePath(QStringLiteral("blocker/zentrel/zentrel.conf"));
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        Preferences store(path);
        for (qint64 count = 1; count <= 3; ++count) {
            store.setInteger(PreferenceKeys::totalRequests, count);
            store.saveDailyPrompts({{QStringLiteral("2026-01-01"), count}});
            store.sync();
        }
        QVERIFY(!QFileInfo::exists(path));
    }
};

QTEST_GUILESS_MAIN(TestPreferences)
#include "tst_preferences.moc"
