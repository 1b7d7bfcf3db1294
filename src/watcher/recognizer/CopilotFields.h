#pragma once

#include "watcher/recognizer/PromptFields.h"

// Copilot CLI's session-state/<id>/events.jsonl, one event a line; resuming appends to the same file.
// Only "content" is what the person typed: "transformedContent" is what the assistant sent on, with
// its own wrappers around it, and is never looked at.
inline constexpr FieldRule copilotMessageFields[] = {
    {"content", Requirement::String, {}, {}, LineVerdict::NoMessage},
    // Autopilot's nudges leave the typed content empty.
    {"content", Requirement::Differs, "", {}, LineVerdict::Nudge},
};

inline constexpr FieldRule copilotRecordFields[] = {
    {"type", Requirement::Equals, "user.message", {}, LineVerdict::NotUserRecord},
    {"data", Requirement::Object, {}, copilotMessageFields, LineVerdict::NoMessage},
};
