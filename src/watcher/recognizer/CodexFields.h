#pragma once

#include "watcher/recognizer/PromptFields.h"

// Codex CLI's history.jsonl: the terminal app appends one line per prompt submitted,
// {"session_id", "ts", "text"} (some versions add "conversation_id"), and nothing else. Its
// session rollouts are left alone: forks and sub-agents copy the parent's prompts into them
// re-stamped with a new time.
inline constexpr FieldRule codexRecordFields[] = {
    {"text", Requirement::String, {}, {}, LineVerdict::NoMessage},
};
