#include "watcher/FileWatcher.h"

#include "watcher/WatcherLog.h"
#include "watcher/reading/TranscriptFile.h"
#include "watcher/reading/TranscriptLines.h"

#include <QFile>
#include <QScopedValueRollback>
#include <algorithm>
#include <iterator>
#include <utility>

namespace {

std::string rootPath(const QString& root) {
    std::string path = QFile::encodeName(root).toStdString();
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

} // namespace

FileWatcher::FileWatcher(std::chrono::milliseconds interval, QObject* parent)
    : QObject(parent)
    , m_interval(interval) {}

void FileWatcher::start(const QString& root) {
    start({WatchedRoot{Assistant::Claude, rootPath(root), {}}});
    m_watchURL = root;
}

void FileWatcher::start(std::vector<WatchedRoot> roots) {
    m_roots = std::move(roots);
    m_watchURL = m_roots.empty() ? QString() : QFile::decodeName(m_roots.front().folder.c_str());
    snapshotPositions({});
    startPolling();
}

void FileWatcher::restart() {
    ++m_generation;
    if (m_pollTimer) {
        m_pollTimer->stop();
    }
    const Positions consumed = std::exchange(m_filePositions, {});
    m_tornTailLengths.clear();
    if (m_watchURL) {
        snapshotPositions(consumed);
        startPolling();
    }
}

void FileWatcher::pollNow() {
    if (m_watchURL && !isIndexingCopies()) {
        poll();
    }
}

// A root that cannot be opened hands out nothing, and the others are walked as ever.
void FileWatcher::transcriptFiles(const LogVisitor& visit) {
    std::vector<bool> present(m_roots.size());
    for (std::size_t index = 0; index < m_roots.size(); ++index) {
        present[index] = walkRoot(m_roots[index], visit);
    }
    if (present != m_presentRoots) {
        m_presentRoots = std::move(present);
        Q_EMIT presentRootsChanged();
    }
}

bool FileWatcher::walkRoot(const WatchedRoot& root, const LogVisitor& visit) {
    const auto visitLog = [&root, &visit](const std::string& path, std::int64_t length) {
        visit(root, path, length);
    };
    return root.pattern.empty() ? m_walker.walk(root.folder, visitLog)
                                : m_patternWalker.walk(root.folder, root.pattern, visitLog);
}

// Whatever lies between what was consumed before (nothing, at a start) and the new position is
// never counted, but its prompts go into the copy index.
void FileWatcher::snapshotPositions(const Positions& consumed) {
    std::vector<CopyIndexBuilder::Range> unread;
    transcriptFiles(
        [this, &consumed, &unread](const WatchedRoot& root, const std::string& path, std::int64_t length) {
            if (m_filePositions.contains(path)) {
                return;
            }
            // Opening tells whether the content could be read now; one that cannot is read from its
            // start once it can.
            const std::int64_t position = length > 0 ? readableLength(openTranscript(path)) : 0;
            m_filePositions.emplace(path, position);
            const auto before = consumed.find(path);
            const std::int64_t from = before == consumed.end() ? 0 : before->second;
            if (from < position) {
                unread.push_back({path, from, position, m_copies.transcriptOf(path), root.assistant});
            }
        });
    indexCopies(std::move(unread));
}

// One builder at a time: what a restart passes over while one runs waits for the next.
void FileWatcher::indexCopies(std::vector<CopyIndexBuilder::Range> ranges) {
    if (m_copyBuilder) {
        std::move(ranges.begin(), ranges.end(), std::back_inserter(m_unindexed));
        return;
    }
    m_copyBuilder = std::make_unique<CopyIndexBuilder>(std::move(ranges), this, [this] { adoptCopies(); });
}

void FileWatcher::adoptCopies() {
    m_copies.add(m_copyBuilder->takeEntries());
    for (const CopyIndex::Transcript transcript : m_copyBuilder->uncountedTranscripts()) {
        m_uncountedTranscripts.insert(transcript);
    }
    m_copyBuilder.reset();
    if (!m_unindexed.empty()) {
        indexCopies(std::exchange(m_unindexed, {}));
        return;
    }
    Q_EMIT copyIndexReady();
}

void FileWatcher::startPolling() {
    if (!m_pollTimer) {
        m_pollTimer = new QTimer(this);
        m_pollTimer->setTimerType(Qt::PreciseTimer);
        m_pollTimer->setInterval(m_interval);
        connect(m_pollTimer, &QTimer::timeout, this, &FileWatcher::pollNow);
    }
    m_pollTimer->start();
}

// Walks first and reads afterwards, so that no callback runs while the walk is under way.
void FileWatcher::poll() {
    // A callback that spins an event loop could let the timer fire again inside this poll.
    if (m_polling) {
        return;
    }
    const QScopedValueRollback polling(m_polling, true);
    m_pendingReads.clear();
    transcriptFiles([this](const WatchedRoot& root, const std::string& path, std::int64_t length) {
        noteGrowth(root, path, length);
    });
    const std::uint64_t generation = m_generation;
    for (const PendingRead& read : m_pendingReads) {
        readNewLines(*read.root, *read.path, *read.position);
        if (m_generation != generation) {
            break;
        }
    }
    if (std::exchange(m_requestedThisPoll, false) && onPollFinished) {
        onPollFinished();
    }
}

// New paths enter at 0, so a transcript created after the start is read from its first byte.
// A file at or below its position (unchanged, or shrunk) is left alone.
void FileWatcher::noteGrowth(const WatchedRoot& root, const std::string& path, std::int64_t length) {
    auto& [key, position] = *m_filePositions.try_emplace(path, 0).first;
    if (position < length && !isUnchangedTornTail(key, length)) {
        m_pendingReads.push_back({&root, &key, &position});
    }
}

// Moves the position past every run of whole lines before any of them is examined, so whatever a
// callback does, a line is never counted twice.
void FileWatcher::readNewLines(const WatchedRoot& root, const std::string& path, std::int64_t& position) {
    const UniqueFd file(openTranscript(path));
    const std::int64_t length = readableLength(file);
    if (length <= position) {
        return;
    }
    const std::uint64_t generation = m_generation;
    const CopyIndex::Transcript transcript = m_copies.transcriptOf(path);
    m_reader.begin(file.get(), position, length);
    while (const auto lines = m_reader.next()) {
        position = lines->end;
        if (!countPrompts(root, path, transcript, lines->text, generation)) {
            return; // restarted: path and position are gone
        }
    }
    rememberTornTail(path, position, length);
}

// False when a callback restarted the watcher, which ends this poll. The lines of a log that said
// it counts nothing are passed over.
bool FileWatcher::countPrompts(const WatchedRoot& root, const std::string& path,
                               CopyIndex::Transcript transcript, std::string_view lines,
                               std::uint64_t generation) {
    bool uncounted = m_uncountedTranscripts.contains(transcript);
    while (!lines.empty() && !uncounted) {
        const LinePrompts found = m_recognizer.recognize(takeLine(lines), root.assistant);
        if (found.uncountedFile) {
            m_uncountedTranscripts.insert(transcript);
            uncounted = true;
        }
        for (const PromptIdentity& identity : found.prompts) {
            if (m_copies.enter(identity, transcript)) {
                qCInfo(lcWatcher) << "copy of an earlier prompt in" << path.c_str();
                continue;
            }
            qCInfo(lcWatcher) << "prompt in" << path.c_str();
            if (onNewRequest) {
                m_requestedThisPoll = true;
                onNewRequest();
            }
            if (m_generation != generation) {
                return false;
            }
        }
    }
    return true;
}

bool FileWatcher::isUnchangedTornTail(const std::string& path, std::int64_t length) const {
    const auto tail = m_tornTailLengths.find(path);
    return tail != m_tornTailLengths.end() && tail->second == length;
}

void FileWatcher::rememberTornTail(const std::string& path, std::int64_t position, std::int64_t length) {
    if (position < length) {
        m_tornTailLengths.insert_or_assign(path, length);
    } else if (!m_tornTailLengths.empty()) {
        m_tornTailLengths.erase(path);
    }
}
