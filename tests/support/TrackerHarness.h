#pragma once

#include "NotificationManager.h"
#include "TestHome.h"
#include "TrackerState.h"

#include <QDateTime>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>

// One model under test in a home of its own: the real user store below that home, a
// notification manager on a bus that is not connected (alerts are seen through
// setAlertRequested) and a clock the test moves by hand.
class TrackerHarness {
public:
    TrackerHarness();

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
    // What the alerts requested so far: title, body, sound.
    QList<QList<QVariant>> alerts() const { return *m_alerts; }

    TestHome home;
    NotificationManager notifications;
    QDateTime clock;

private:
    QTemporaryDir m_scratch;
    int m_reads = 0;
    std::unique_ptr<QSignalSpy> m_alerts;
};
