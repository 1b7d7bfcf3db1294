#pragma once

#include "watcher/recognizer/Assistant.h"
#include "watcher/recognizer/LineVerdict.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

// What the watcher makes of a whole transcript, line by line.
struct TranscriptExplanation {
    std::string path;
    // Whose log it is, by its place or its first record; its lines are judged by that one's rules.
    Assistant assistant = Assistant::Claude;
    std::int64_t prompts = 0;
    // Lines that are not prompts, by the first rule that turned them away.
    std::map<LineVerdict, std::int64_t> ignored;
    // Every non-blank line with its 1-based number; filled only when asked for.
    std::vector<std::pair<std::int64_t, LineVerdict>> lines;
    // Why the path could not be read (an errno value), or 0.
    int error = 0;
};

// Reads transcripts the way the watcher reads new ones, as if they had been written one after the
// other in the order of their first records, so that a prompt repeating one read before is told
// as a copy. A folder stands for every transcript below it. A last line without a line feed that
// is not yet a complete JSON value is left out, as the watcher leaves it for a later read; blank
// lines are neither prompts nor ignored. A line that holds several records (a message list written
// again) gives a verdict for each.
std::vector<TranscriptExplanation> explainTranscripts(const std::vector<std::string>& paths, bool withLines);
