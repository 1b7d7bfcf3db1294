#pragma once

#include "watcher/WatchedRoot.h"
#include "watcher/copies/CopyIndex.h"
#include "watcher/copies/CopyIndexBuilder.h"
#include "watcher/reading/AppendedLineReader.h"
#include "watcher/recognizer/LineRecognizer.h"
#include "watcher/walking/PatternWalker.h"
#include "watcher/walking/TranscriptTreeWalker.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// Polls the JSON Lines logs of one or more assistants (WatchedRoot) and runs onNewRequest once for
// every prompt appended after start(), by the rules of the assistant whose log it is, except copies
// of prompts read before (see CopyIndex). A root whose folder is missing is simply empty until it
// appears; a log that appears after the start is read from its first byte. Everything runs on the thread that
// owns it, but for the one-off reading of the content present at a start, which a CopyIndexBuilder does
// meanwhile; until it is done polls read nothing, so what is written in the meantime is read, whole, by the
// first poll after it.
class FileWatcher : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds defaultInterval{2000};

    explicit FileWatcher(std::chrono::milliseconds interval = defaultInterval, QObject* parent = nullptr);

    // Run once per recognised prompt line, synchronously, in file and discovery order.
    std::function<void()> onNewRequest;
    // Run once at the end of every poll that ran onNewRequest, so that what the poll's prompts
    // changed can be handled as one.
    std::function<void()> onPollFinished;

    // Claude Code's transcripts below `root`.
    void start(const QString& root);
    // The first root is the one watchURL() names.
    void start(std::vector<WatchedRoot> roots);
    // A fresh snapshot, as start() takes. The copy index is kept, and the content the snapshot
    // passes over unread is added to it, so no prompt written before a restart counts later as new.
    void restart();

    const std::unordered_map<std::string, std::int64_t>& filePositions() const { return m_filePositions; }
    const std::optional<QString>& watchURL() const { return m_watchURL; }
    const std::vector<WatchedRoot>& roots() const { return m_roots; }
    // For each root, whether its folder could be opened by the last walk.
    const std::vector<bool>& presentRoots() const { return m_presentRoots; }
    const QTimer* pollTimer() const { return m_pollTimer; }

    // One poll right now, as a timer firing would run it; for benchmarks and diagnostics.
    void pollNow();
    // Transcript bytes read by polls since construction; an idle poll adds nothing.
    std::uint64_t contentBytesRead() const { return m_reader.bytesRead(); }
    // While true, the content present at the last start or restart is still being indexed.
    bool isIndexingCopies() const { return m_copyBuilder != nullptr; }

Q_SIGNALS:
    // The content present at the last start or restart is indexed; polls read again.
    void copyIndexReady();
    // A root's folder appeared or went away (and once at the start).
    void presentRootsChanged();

private:
    // A file that grew past its position, found by a walk and read once the walk is over. The
    // pointers lead into m_filePositions, whose elements stay put while entries are added.
    struct PendingRead {
        const WatchedRoot* root;
        const std::string* path;
        std::int64_t* position;
    };

    using Positions = std::unordered_map<std::string, std::int64_t>;
    using LogVisitor =
        std::function<void(const WatchedRoot& root, const std::string& path, std::int64_t length)>;

    void transcriptFiles(const LogVisitor& visit);
    bool walkRoot(const WatchedRoot& root, const LogVisitor& visit);
    void snapshotPositions(const Positions& consumed);
    void indexCopies(std::vector<CopyIndexBuilder::Range> ranges);
    void adoptCopies();
    void startPolling();
    void poll();
    void noteGrowth(const WatchedRoot& root, const std::string& path, std::int64_t length);
    void readNewLines(const WatchedRoot& root, const std::string& path, std::int64_t& position);
    bool countPrompts(const WatchedRoot& root, const std::string& path, CopyIndex::Transcript transcript,
                      std::string_view lines, std::uint64_t generation);
    bool isUnchangedTornTail(const std::string& path, std::int64_t length) const;
    void rememberTornTail(const std::string& path, std::int64_t position, std::int64_t length);

    std::chrono::milliseconds m_interval;
    QTimer* m_pollTimer = nullptr;
    Positions m_filePositions;
    std::optional<QString> m_watchURL;
    std::vector<WatchedRoot> m_roots;
    std::vector<bool> m_presentRoots;
    TranscriptTreeWalker m_walker;
    PatternWalker m_patternWalker;
    AppendedLineReader m_reader;
    LineRecognizer m_recognizer;
    std::vector<PendingRead> m_pendingReads;
    // Files whose last piece was left unconsumed, with the length they had then: read again only
    // once they have changed, so an abandoned half line costs nothing per poll.
    Positions m_tornTailLengths;
    // Bumped by restart(), which empties m_filePositions under a poll that a callback interrupted.
    std::uint64_t m_generation = 0;
    bool m_polling = false;
    bool m_requestedThisPoll = false;
    CopyIndex m_copies;
    // Logs that said they count nothing (a sub-agent's session), by their CopyIndex number.
    std::unordered_set<CopyIndex::Transcript> m_uncountedTranscripts;
    // Content passed over by a restart while a builder was still running; read by the next one.
    std::vector<CopyIndexBuilder::Range> m_unindexed;
    // Declared last, so that its thread has stopped before anything else goes.
    std::unique_ptr<CopyIndexBuilder> m_copyBuilder;
};
