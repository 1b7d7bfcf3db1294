#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// Which transcripts hold the prompts that carry a "uuid" and a "timestamp", by the key of that
// pair (promptIdKey). Resuming or forking a conversation starts a new transcript that repeats the
// earlier records with their uuid and timestamp, so a prompt whose pair a prompt of another
// transcript carries too is a copy. The same pair recurring within one transcript makes no copy
// (hand-written transcripts repeat lines), unless another transcript carries it as well.
//
// Kept compact for large histories: the prompts read in bulk (what the transcripts held at a
// start, or what a restart passed over) sit in one sorted array of 16 bytes each, those read one
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

    // Sorts entries and merges those of one key; done where they were read, so that add() is
    // cheap for the thread that owns the index.
    static void prepare(std::vector<Entry>& entries);

    // The number standing for a transcript's path, the same for the life of the index.
    Transcript transcriptOf(const std::string& path);
    // Adds prompts read in bulk; `entries` went through prepare().
    void add(std::vector<Entry> entries);
    // Records that a prompt of `transcript` carries `key`. True when a prompt of another
    // transcript carries it too: this one is a copy.
    bool enter(Key key, Transcript transcript);

private:
    // Owner of a key that prompts of two or more transcripts carry.
    static constexpr Transcript several = UINT32_MAX;

    static void mergeRuns(std::vector<Entry>& sorted);
    bool isElsewhereInBulk(Key key, Transcript transcript) const;

    std::unordered_map<std::string, Transcript> m_transcripts;
    std::vector<Entry> m_bulk; // sorted by key, one entry per key
    std::unordered_map<Key, Transcript> m_counted;
};
