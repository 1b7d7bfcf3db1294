#pragma once

#include <string_view>

// What the line rules make of one transcript line: a prompt, or the first rule that turned it
// away, in the order the rules are tried; or, for a prompt read before, a copy.
enum class LineVerdict {
    Prompt,
    InvalidUtf8,
    InvalidJson,
    NotObject,
    NotUserRecord,
    Sidechain,
    AssistantRecord,
    OtherUserType,
    NoMessage,
    NotUserRole,
    ToolResult,
    InterruptMarker,
    CommandOutput,
    TaskNotice,
    OtherAgent,
    Nudge,
    NoId,
    Copy,
};

// The reason in words for a person, e.g. "tool results"; "prompt" for a prompt.
std::string_view reasonText(LineVerdict verdict) noexcept;
