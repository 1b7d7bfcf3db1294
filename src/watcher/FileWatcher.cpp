#include "FileWatcher.h"

#include "PromptLine.h"
#include "UniqueFd.h"
#include "WatcherLog.h"
#include "WhiteSpace.h"

#include <QFile>
#include <QScopedValueRollback>
#include <fcntl.h>
#include <simdjson.h>
#include <sys/stat.h>
#include <utility>

namespace {

// Non-blocking, so that a pipe named like a transcript can never stall the poll.
int openForReading(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
}

// What reading the open file would return; 0 when it could not be opened or is not a regular file.
std::int64_t readableLength(const UniqueFd& file) {
    struct stat status;
    if (!file.isOpen() || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return 0;
    return status.st_size;
}

std::string rootPath(const QString& root) {
    std::string path = QFile::encodeName(root).toStdString();
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

bool isPromptLine(std::string_view line) {
    // Bytes that are not UTF-8 spoil only their own line. Checked last because it matters only for
    // the few lines that look like prompts.
    return !line.empty() && isUserPrompt(line) && simdjson::validate_utf8(line.data(), line.size());
}

} // namespace

FileWatcher::FileWatcher(std::chrono::milliseconds interval, QObject* parent)
    : QObject(parent)
    , m_interval(interval) {}

void FileWatcher::start(const QString& root) {
    m_watchURL = root;
    m_root = rootPath(root);
    snapshotPositions();
    startPolling();
}

void FileWatcher::restart() {
    ++m_generation;
    if (m_pollTimer)
        m_pollTimer->stop();
    m_filePositions.clear();
    m_tornTailLengths.clear();
    if (m_watchURL) {
        const QString root = *m_watchURL;
        start(root);
    }
}

void FileWatcher::pollNow() {
    if (m_watchURL)
        poll();
}

void FileWatcher::transcriptFiles(const TranscriptTreeWalker::Visitor& visit) {
    m_walker.walk(m_root, visit);
}

void FileWatcher::snapshotPositions() {
    transcriptFiles([this](const std::string& path, std::int64_t length) {
        if (m_filePositions.contains(path))
            return;
        // Opening tells whether the content could be read now; one that cannot is read from its
        // start once it can.
        m_filePositions.emplace(path, length > 0 ? readableLength(UniqueFd(openForReading(path))) : 0);
    });
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
    if (m_polling)
        return;
    const QScopedValueRollback polling(m_polling, true);
    m_pendingReads.clear();
    transcriptFiles([this](const std::string& path, std::int64_t length) { noteGrowth(path, length); });
    const std::uint64_t generation = m_generation;
    for (const PendingRead& read : m_pendingReads) {
        readNewLines(*read.path, *read.position);
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
void FileWatcher::noteGrowth(const std::string& path, std::int64_t length) {
    auto& [key, position] = *m_filePositions.try_emplace(path, 0).first;
    if (position < length && !isUnchangedTornTail(key, length))
        m_pendingReads.push_back({&key, &position});
}

// Moves the position past every run of whole lines before any of them is examined, so whatever a
// callback does, a line is never counted twice.
void FileWatcher::readNewLines(const std::string& path, std::int64_t& position) {
    const UniqueFd file(openForReading(path));
    const std::int64_t length = readableLength(file);
    if (length <= position)
        return;
    const std::uint64_t generation = m_generation;
    m_reader.begin(file.get(), position, length);
    while (const auto lines = m_reader.next()) {
        position = lines->end;
        if (!countPrompts(path, lines->text, generation))
            return; // restarted: path and position are gone
    }
    rememberTornTail(path, position, length);
}

// False when a callback restarted the watcher, which ends this poll.
bool FileWatcher::countPrompts(const std::string& path, std::string_view lines, std::uint64_t generation) {
    while (!lines.empty()) {
        const std::size_t lineFeed = lines.find('\n');
        const std::string_view line = trimWhiteSpace(lines.substr(0, lineFeed));
        lines.remove_prefix(lineFeed == std::string_view::npos ? lines.size() : lineFeed + 1);
        if (!isPromptLine(line))
            continue;
        qCInfo(lcWatcher) << "prompt in" << path.c_str();
        if (onNewRequest) {
            m_requestedThisPoll = true;
            onNewRequest();
        }
        if (m_generation != generation)
            return false;
    }
    return true;
}

bool FileWatcher::isUnchangedTornTail(const std::string& path, std::int64_t length) const {
    const auto tail = m_tornTailLengths.find(path);
    return tail != m_tornTailLengths.end() && tail->second == length;
}

void FileWatcher::rememberTornTail(const std::string& path, std::int64_t position, std::int64_t length) {
    if (position < length)
        m_tornTailLengths.insert_or_assign(path, length);
    else if (!m_tornTailLengths.empty())
        m_tornTailLengths.erase(path);
}
