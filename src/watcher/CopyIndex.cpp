#include "CopyIndex.h"

#include <algorithm>
#include <iterator>

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

bool CopyIndex::enter(Key key, Transcript transcript) {
    bool copy = isElsewhereInBulk(key, transcript);
    const auto [owner, added] = m_counted.try_emplace(key, transcript);
    if (!added && owner->second != transcript) {
        owner->second = several;
        copy = true;
    }
    return copy;
}

bool CopyIndex::isElsewhereInBulk(Key key, Transcript transcript) const {
    const auto entry = std::lower_bound(m_bulk.begin(), m_bulk.end(), key,
                                        [](const Entry& e, Key wanted) { return e.key < wanted; });
    return entry != m_bulk.end() && entry->key == key && entry->transcript != transcript;
}
