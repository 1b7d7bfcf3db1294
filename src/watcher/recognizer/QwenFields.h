#pragma once

#include "watcher/recognizer/PromptFields.h"

// Qwen Code's projects/<folder>/chats/<session>.jsonl. Every record says where it came from; tool
// results are user-role messages of their own type, and slash commands, scheduled prompts and
// notifications are system records.
inline constexpr FieldRule qwenRecordFields[] = {
    {"type", Requirement::Differs, "tool_result", {}, LineVerdict::ToolResult},
    {"type", Requirement::Equals, "user", {}, LineVerdict::NotUserRecord},
    {"provenance", Requirement::Equals, "real_user", {}, LineVerdict::OtherAgent},
};
