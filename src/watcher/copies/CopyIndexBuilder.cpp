#include "watcher/copies/CopyIndexBuilder.h"

#include "watcher/WatcherLog.h"
#include "watcher/reading/TranscriptFile.h"
#include "watcher/reading/TranscriptLines.h"

#include <chrono>

CopyIndexBuilder::CopyIndexBuilder(std::vector<Range> ranges, QObject* receiver,
                                   std::function<void()> finished)
    : m_ranges(std::move(ranges))
    , m_thread([this, receiver, finished = std::move(finished)](std::stop_token stop) {
        run(stop, receiver, finished);
    }) {}

std::vector<CopyIndex::Entry> CopyIndexBuilder::takeEntries() {
    m_thread.join();
    return std::move(m_entries);
}

void CopyIndexBuilder::run(const std::stop_token& stop, QObject* receiver,
                           const std::function<void()>& finished) {
    const auto begin = std::chrono::steady_clock::now();
    for (const Range& range : m_ranges) {
        if (!read(range, stop)) {
            return;
        }
    }
    CopyIndex::prepare(m_entries);
    const auto took =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - begin);
    qCInfo(lcWatcher, "indexed %zu copy keys of %zu transcripts in %lld ms", m_entries.size(),
           m_ranges.size(), static_cast<long long>(took.count()));
    QMetaObject::invokeMethod(receiver, finished, Qt::QueuedConnection);
}

// False when asked to stop. A log that says it counts nothing is left there.
bool CopyIndexBuilder::read(const Range& range, const std::stop_token& stop) {
    const UniqueFd file(openTranscript(range.path));
    m_reader.begin(file.get(), range.from, range.to);
    while (const auto lines = m_reader.next()) {
        if (stop.stop_requested()) {
            return false;
        }
        for (std::string_view text = lines->text; !text.empty();) {
            const LinePrompts found = m_recognizer.recognize(takeLine(text), range.assistant);
            if (found.uncountedFile) {
                m_uncounted.push_back(range.transcript);
                return true;
            }
            for (const PromptIdentity& identity : found.prompts) {
                CopyIndex::collect(identity, range.transcript, m_entries);
            }
        }
    }
    return true;
}
