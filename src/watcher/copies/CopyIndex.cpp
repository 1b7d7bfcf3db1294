#include "watcher/copies/CopyIndex.h"

#include <algorithm>
#include <iterator>

void CopyIndex::collect(const PromptIdentity& identity, Transcript transcript, std::vector<Entry>& entries) {
    for (const auto& key : {identity.uuid, identity.moment, identity.uuidAndTime}) {
        if (key) {
            entries.push_back({*key, transcript});
        }
    }
}

void CopyIndex::prepare(std::vector<Entry>& entries) {
    std::sort(entries.begin(), entries.end());
    mergeRuns(entries);
    entries.shrink_to_fit();
}

// Sorted by key and then transcript, a run of one key names two transcripts or more exactly when
// its first and last entries differ.
void CopyIndex::mergeRuns(std::vector<Entry>& sorted) {
    auto out = sorted.begin();
    for (auto run = sorted.begin(); run != sorted.end();) {
        const auto end =
            std::find_if(run, sorted.end(), [key = run->key](const Entry& e) { return e.key != key; });
        *out++ = {run->key, std::prev(end)->transcript == run->transcript ? run->transcript : several};
        run = end;
    }
    sorted.erase(out, sorted.end());
}

CopyIndex::Transcript CopyIndex::transcriptOf(const std::string& path) {
    return m_transcripts.try_emplace(path, static_cast<Transcript>(m_transcripts.size())).first->second;
}

void CopyIndex::add(std::vector<Entry> entries) {
    if (m_bulk.empty()) {
        m_bulk = std::move(entries);
        return;
    }
    std::vector<Entry> merged;
    merged.reserve(m_bulk.size() + entries.size());
    std::merge(m_bulk.begin(), m_bulk.end(), entries.begin(), entries.end(), std::back_inserter(merged));
    mergeRuns(merged);
    m_bulk = std::move(merged);
}

// Every key is entered, copy or not, so that a copy of a copy is known too.
bool CopyIndex::enter(const PromptIdentity& identity, Transcript transcript) {
    bool copy = false;
    for (const auto& key : {identity.uuid, identity.moment}) {
        if (key && enterKey(*key, transcript, Scope::AnyTranscript)) {
            copy = true;
        }
    }
    const auto& pair = identity.uuidAndTime;
    if (pair && enterKey(*pair, transcript, Scope::OtherTranscripts)) {
        copy = true;
    }
    return copy;
}

bool CopyIndex::enterKey(Key key, Transcript transcript, Scope scope) {
    const std::optional<Transcript> bulk = bulkOwner(key);
    const auto [owner, added] = m_counted.try_emplace(key, transcript);
    bool elsewhere = bulk && *bulk != transcript;
    if (!added && owner->second != transcript) {
        owner->second = several;
        elsewhere = true;
    }
    return scope == Scope::AnyTranscript ? bulk || !added : elsewhere;
}

std::optional<CopyIndex::Transcript> CopyIndex::bulkOwner(Key key) const {
    const auto entry = std::lower_bound(m_bulk.begin(), m_bulk.end(), key,
                                        [](const Entry& e, Key wanted) { return e.key < wanted; });
    if (entry == m_bulk.end() || entry->key != key) {
        return std::nullopt;
    }
    return entry->transcript;
}
