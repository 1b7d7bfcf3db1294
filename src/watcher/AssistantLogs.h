#pragma once

#include "watcher/WatchedRoot.h"

#include <QString>
#include <string_view>
#include <vector>

// Where the assistants besides Claude Code keep their logs, as each documents it.
struct AssistantLog {
    Assistant assistant;
    std::string_view variable; // moves the folder when set and not empty
    std::string_view folder;   // below the home folder, or below the variable's folder when homeVariable
    bool homeVariable;         // the variable names a home folder rather than the assistant's own
    std::string_view pattern;  // the logs below the folder (WatchedRoot::pattern)
};

inline constexpr AssistantLog assistantLogs[] = {
    {Assistant::Codex, "CODEX_HOME", ".codex", false, "history.jsonl"},
    {Assistant::Copilot, "COPILOT_HOME", ".copilot", false, "session-state/*/events.jsonl"},
    {Assistant::Qwen, "QWEN_RUNTIME_DIR", ".qwen", false, "projects/*/chats/*.jsonl"},
    // Sessions of v0.38 and older are .json files, rewritten whole on every update: left out.
    {Assistant::Gemini, "GEMINI_CLI_HOME", ".gemini", true, "tmp/*/chats/session-*.jsonl"},
};

// Claude Code's transcripts below projectsDirectory first, then every other assistant's folder as
// the environment places it, present or not.
std::vector<WatchedRoot> watchedRoots(const QString& projectsDirectory);
