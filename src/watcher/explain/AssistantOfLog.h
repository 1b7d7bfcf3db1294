#pragma once

#include "watcher/recognizer/Assistant.h"

#include <string>

// Which assistant wrote a log: by its place, when the end of its path matches one of the patterns of
// assistantLogs, else by the shape of its first record; Claude Code's when neither tells.
Assistant assistantOfLog(const std::string& path);
