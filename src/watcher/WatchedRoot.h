#pragma once

#include "watcher/recognizer/Assistant.h"

#include <string>

// A folder an assistant keeps its logs in, and which files below it are logs.
struct WatchedRoot {
    Assistant assistant;
    std::string folder; // as the file system spells it, without a trailing slash
    // One glob (fnmatch) per path component below the folder, e.g. "session-state/*/events.jsonl".
    // Empty: every transcript of the tree, however deep (TranscriptTreeWalker).
    std::string pattern;
};
