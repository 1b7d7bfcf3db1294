#pragma once

#include "NotificationServerFixture.h"
#include "TestHome.h"
#include "alerts/NotificationManager.h"
#include "model/TrackerState.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>

// One model under test in a home of its own: the real user store below that home, a
// notification manager of its own and a clock the test moves by hand. Alerts reach the given
// notification server on the test's session bus; without one, they go to a bus that is not
// connected and are dropped.
class TrackerHarness {
public:
    explicit TrackerHarness(const NotificationServerFixture* server = nullptr);

    // Writes the store file as another program (or a hand edit) would, before the model loads it.
    void seedStore(const QByteArray& iniLines);
    // A byte blob as a value of the store file, every byte escaped so none is read as syntax.
    static QByteArray iniBytes(const QByteArray& bytes);
    // `count` completed sets an hour apart, the newest at `newest`, newest first.
    static QList<CompletedSet> sampleHistory(int count, const QDateTime& newest);
    std::unique_ptr<TrackerState>
    makeModel(std::chrono::milliseconds pollInterval = std::chrono::seconds(60));

    QString storePath() const;
    // The store as it is on disk now, read by a reader that shares no cache with the model.
    QVariantMap storedValues();
    QVariant stored(const QString& key) { return storedValues().value(key); }
    // Title, body and whether a sound was asked for, of every alert the server received from
    // this harness's model, oldest first.
    QList<QVariantList> alerts() const;

    TestHome home;
    NotificationManager notifications;
    QDateTime clock;

private:
    const NotificationServerFixture* m_server;
    qsizetype m_alertsBefore;
    QTemporaryDir m_scratch;
    int m_reads = 0;
};
