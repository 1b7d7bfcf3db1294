#pragma once

#include "PromptIdentity.h"

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
    InterruptMarker,
    CommandOutput,
    TaskNotice,
    OtherAgent,
    Copy,
};

// Exactly the line rules' decision for one trimmed non-empty line, with the first rule that
// turned it away, and what identifies the prompt when the line is one. Never Copy: whether a
// prompt repeats an earlier one depends on what was read before (CopyIndex). Slower than
// recognising: every line is validated and parsed in full.
struct ClassifiedLine {
    LineVerdict verdict;
    PromptIdentity identity;
};
ClassifiedLine classifyLine(std::string_view line) noexcept;

// The reason in words for a person, e.g. "tool results"; "prompt" for a prompt.
std::string_view reasonText(LineVerdict verdict) noexcept;
