#pragma once

#include "watcher/copies/CopyIndex.h"
#include "watcher/reading/AppendedLineReader.h"
#include "watcher/recognizer/LineRecognizer.h"

#include <QObject>
#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

// Reads the prompts of transcript content that was there before it was watched, on a thread of its
// own, so that starting never waits for it. The thread only reads files and collects entries; the
// thread that owns the index adopts them once told.
class CopyIndexBuilder {
public:
    // The bytes [from, to) of one transcript.
    struct Range {
        std::string path;
        std::int64_t from;
        std::int64_t to;
        CopyIndex::Transcript transcript;
        Assistant assistant;
    };

    // Starts reading at once. `finished` runs on `receiver`'s thread when every range is read.
    CopyIndexBuilder(std::vector<Range> ranges, QObject* receiver, std::function<void()> finished);

    // Once `finished` has run: the prompts found, ready for CopyIndex::add().
    std::vector<CopyIndex::Entry> takeEntries();
    // Once `finished` has run: the logs that said they count nothing.
    const std::vector<CopyIndex::Transcript>& uncountedTranscripts() const { return m_uncounted; }

private:
    void run(const std::stop_token& stop, QObject* receiver, const std::function<void()>& finished);
    bool read(const Range& range, const std::stop_token& stop);

    std::vector<Range> m_ranges;
    std::vector<CopyIndex::Entry> m_entries;
    std::vector<CopyIndex::Transcript> m_uncounted;
    AppendedLineReader m_reader;
    LineRecognizer m_recognizer;
    // Declared last: it starts once the members it uses exist, and its destructor, which asks the
    // reading to stop and waits for it, runs before they go.
    std::jthread m_thread;
};
