#pragma once

#include "watcher/recognizer/PromptIdentity.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// The prompts read so far, by their copy keys (PromptIdentity), to tell which prompt records are
// copies of earlier ones. Resuming or forking a conversation starts a new transcript that repeats
// the earlier records, and some versions write one message again as one record per content
// block. A prompt is a copy when a prompt read before carried its canonical uuid or its moment,
// or when a prompt of another transcript carried its uuid and timestamp. The last pair recurring
// within one transcript makes no copy (hand-written transcripts repeat lines with made-up ids),
// unless another transcript carries it as well.
//
// Kept compact for large histories: the prompts read in bulk (what the transcripts held at a
// start, or what a restart passed over) sit in one sorted array of 16 bytes a key, those read one
// by one by polls in a hash map.
class CopyIndex {
public:
    using Key = std::uint64_t;
    using Transcript = std::uint32_t;
    struct Entry {
        Key key;
        Transcript transcript;
        auto operator<=>(const Entry&) const = default;
    };

    // Appends the keys of one prompt read in bulk.
    static void collect(const PromptIdentity& identity, Transcript transcript, std::vector<Entry>& entries);
    // Sorts entries and merges those of one key; done where they were read, so that add() is
    // cheap for the thread that owns the index.
    static void prepare(std::vector<Entry>& entries);

    // The number standing for a transcript's path, the same for the life of the index.
    Transcript transcriptOf(const std::string& path);
    // Adds prompts read in bulk; `entries` went through prepare().
    void add(std::vector<Entry> entries);
    // Records a prompt of `transcript`. True when it is a copy of one read before.
    bool enter(const PromptIdentity& identity, Transcript transcript);

private:
    // Owner of a key that prompts of two or more transcripts carry.
    static constexpr Transcript several = UINT32_MAX;

    // Whose prompts carry a key: either any transcript's, or only other transcripts' count.
    enum class Scope { AnyTranscript, OtherTranscripts };

    static void mergeRuns(std::vector<Entry>& sorted);
    bool enterKey(Key key, Transcript transcript, Scope scope);
    std::optional<Transcript> bulkOwner(Key key) const;

    std::unordered_map<std::string, Transcript> m_transcripts;
    std::vector<Entry> m_bulk; // sorted by key, one entry per key
    std::unordered_map<Key, Transcript> m_counted;
};
