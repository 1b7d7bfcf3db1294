#pragma once

#include <string_view>

// What the watcher makes of one transcript line: a prompt, or the first rule that turned it
// away, in the order the rules are tried.
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
};

// Exactly the watcher's decision for one trimmed non-empty line, with the first rule that
// turned it away. Slower than isUserPrompt: every line is validated and parsed in full.
LineVerdict classifyLine(std::string_view line) noexcept;

// The reason in words for a person, e.g. "tool results"; "prompt" for a prompt.
std::string_view reasonText(LineVerdict verdict) noexcept;
