#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>

// Polls a directory tree of JSON Lines transcripts and runs onNewRequest once for every
// prompt line appended after start(). Everything runs on the thread that owns it.
class FileWatcher : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds defaultInterval{2000};

    explicit FileWatcher(std::chrono::milliseconds interval = defaultInterval, QObject* parent = nullptr);

    // Run once per recognised prompt line, synchronously, in file and discovery order.
    std::function<void()> onNewRequest;

    void start(const QString& root);
    void restart();

    const std::unordered_map<std::string, std::int64_t>& filePositions() const { return m_filePositions; }
    const std::optional<QString>& watchURL() const { return m_watchURL; }
    const QTimer* pollTimer() const { return m_pollTimer; }

    // One poll right now, as a timer firing would run it; for benchmarks and diagnostics.
    void pollNow();
    // Transcript bytes read since construction; an idle poll adds nothing.
    std::uint64_t contentBytesRead() const { return m_contentBytesRead; }

private:
    // (implementation-defined private members and steps: transcriptFiles, snapshotPositions,
    //  startPolling, poll, readNewLines)
    std::chrono::milliseconds m_interval;
    QTimer* m_pollTimer = nullptr;
    std::unordered_map<std::string, std::int64_t> m_filePositions;
    std::optional<QString> m_watchURL;
    std::uint64_t m_contentBytesRead = 0;
};
