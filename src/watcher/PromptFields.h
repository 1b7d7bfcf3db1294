#pragma once

#include "LineVerdict.h"

#include <span>
#include <string_view>

// What one field of a transcript record must hold for the record to remain a prompt.
enum class Requirement {
    Equals,         // the string `value`; an absent field or any other value fails
    EqualsIfString, // the string `value` when it is a string at all; absent or not a string passes
    NotTrue,        // anything but the literal true; absent passes
    Object,         // an object whose fields meet `fields`; absent or not an object fails
    NotListOf,      // anything but a list made only of objects meeting `fields`, an empty one included
};

struct FieldRule {
    std::string_view key;
    Requirement requirement;
    std::string_view value;
    std::span<const FieldRule> fields;
    // Why a record is not a prompt when this field fails, unless a nested field names a reason.
    LineVerdict failure;
};

// The prompt rules as data, read by both the On-Demand screen and the DOM rules, so a change in
// the transcript format is made here once. Rows are tried in order and the first failing one gives
// the reason. Every lookup takes the first field of a name, as simdjson's own lookups do.

// A content block that misses this is text the user typed, so it names no reason.
inline constexpr FieldRule toolResultBlockFields[] = {
    {"type", Requirement::Equals, "tool_result", {}, LineVerdict::Prompt},
};

inline constexpr FieldRule messageFields[] = {
    {"role", Requirement::Equals, "user", {}, LineVerdict::NotUserRole},
    {"content", Requirement::NotListOf, {}, toolResultBlockFields, LineVerdict::ToolResult},
};

// Caveats, command expansions and compaction summaries are written by the assistant itself.
inline constexpr FieldRule promptRecordFields[] = {
    {"type", Requirement::Equals, "user", {}, LineVerdict::NotUserRecord},
    {"isSidechain", Requirement::NotTrue, {}, {}, LineVerdict::Sidechain},
    {"isMeta", Requirement::NotTrue, {}, {}, LineVerdict::AssistantRecord},
    {"isCompactSummary", Requirement::NotTrue, {}, {}, LineVerdict::AssistantRecord},
    {"userType", Requirement::EqualsIfString, "external", {}, LineVerdict::OtherUserType},
    {"message", Requirement::Object, {}, messageFields, LineVerdict::NoMessage},
};

constexpr bool isRequired(const FieldRule& rule) {
    return rule.requirement == Requirement::Equals || rule.requirement == Requirement::Object;
}
