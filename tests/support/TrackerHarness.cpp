#include "TrackerHarness.h"

#include "TestFiles.h"

#include <QDBusConnection>
#include <QFile>
#include <QSettings>
#include <QTest>

TrackerHarness::TrackerHarness(const NotificationServerFixture* server)
    : notifications(server ? QDBusConnection::sessionBus() : QDBusConnection(QStringLiteral("none")))
    , clock(QDate(2026, 3, 14), QTime(9, 30))
    , m_server(server)
    , m_alertsBefore(server ? server->notifyCalls().size() : 0) {}

QList<QVariantList> TrackerHarness::alerts() const {
    QList<QVariantList> alerts;
    if (!m_server) {
        return alerts;
    }
    for (const auto& call : m_server->notifyCalls().mid(m_alertsBefore)) {
        alerts.append({call.summary, call.body, call.hints.contains(QStringLiteral("sound-name"))});
    }
    return alerts;
}

QString TrackerHarness::storePath() const {
    return home.configHome() + QStringLiteral("/zentrel/zentrel.conf");
}

void TrackerHarness::seedStore(const QByteArray& iniLines) {
    QVERIFY(writeFile(storePath(), "[General]\n" + iniLines + "\n"));
}

QByteArray TrackerHarness::iniBytes(const QByteArray& bytes) {
    QByteArray escaped;
    for (const char byte : bytes) {
        escaped += "\\x" + QByteArray::number(static_cast<uchar>(byte), 16).rightJustified(2, '0');
    }
    return "@ByteArray(" + escaped + ")";
}

QList<CompletedSet> TrackerHarness::sampleHistory(int count, const QDateTime& newest) {
    QList<CompletedSet> history;
    for (int i = 0; i < count; ++i) {
        history.append(
            CompletedSet{QUuid::createUuid(), newest.addSecs(-3600 * i), 10 + i, QStringLiteral("Squats")});
    }
    return history;
}

std::unique_ptr<TrackerState> TrackerHarness::makeModel(std::chrono::milliseconds pollInterval) {
    TrackerState::Environment environment;
    environment.notifications = &notifications;
    environment.clock = [this] { return clock; };
    environment.pollInterval = pollInterval;
    return std::make_unique<TrackerState>(std::move(environment));
}

QVariantMap TrackerHarness::storedValues() {
    // A copy at a path QSettings has never seen in this process, so nothing comes from its cache.
    const QString copy = m_scratch.filePath(QStringLiteral("read%1.conf").arg(++m_reads));
    if (!QFile::copy(storePath(), copy)) {
        return {};
    }
    const QSettings settings(copy, QSettings::IniFormat);
    QVariantMap values;
    for (const QString& key : settings.allKeys()) {
        values.insert(key, settings.value(key));
    }
    return values;
}
