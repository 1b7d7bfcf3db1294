#pragma once

#include "LineVerdict.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

// What the watcher makes of a whole transcript, line by line, as if the file had just appeared.
struct TranscriptExplanation {
    std::int64_t prompts = 0;
    // Lines that are not prompts, by the first rule that turned them away.
    std::map<LineVerdict, std::int64_t> ignored;
    // Every non-blank line with its 1-based number; filled only when asked for.
    std::vector<std::pair<std::int64_t, LineVerdict>> lines;
    // False when the path is not a regular file that could be opened.
    bool readable = false;
};

// Reads the file from its first byte to its end the way the watcher reads a new transcript. A
// last line without a line feed that is not yet a complete JSON value is left out, as the watcher
// leaves it for a later read; blank lines are neither prompts nor ignored.
TranscriptExplanation explainTranscript(const std::string& path, bool withLines);
