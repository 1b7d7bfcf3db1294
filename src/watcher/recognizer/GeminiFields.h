#pragma once

#include "watcher/recognizer/PromptFields.h"

// Gemini CLI's tmp/<project>/chats/session-*.jsonl (v0.39 and later): a metadata line, then
// messages. A message is appended again, with the same "id", each time its tool calls progress,
// and {"$set": {...}} lines update the metadata or hold the whole message list again.
inline constexpr AssistantMarker geminiMarkers[] = {
    {"[Function Response:", false, LineVerdict::ToolResult},
    {"<session_context>", false, LineVerdict::AssistantRecord},
    {"<hook_context>", false, LineVerdict::AssistantRecord},
    // Sent by the assistant itself when a turn ends without an answer.
    {"Please continue.", true, LineVerdict::Nudge},
    {"System: Please continue.", true, LineVerdict::Nudge},
};

inline constexpr FieldRule geminiRecordFields[] = {
    {"type", Requirement::Equals, "user", {}, LineVerdict::NotUserRecord},
    {"id", Requirement::String, {}, {}, LineVerdict::NoId},
    {"content", Requirement::Parts, "functionResponse", {}, LineVerdict::ToolResult},
};

// A sub-agent's session says so in its metadata line; what the main agent asked it is no prompt.
inline constexpr FieldRule geminiSubagentFields[] = {
    {"kind", Requirement::Equals, "subagent", {}, LineVerdict::Sidechain},
};
