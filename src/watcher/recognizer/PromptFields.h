#pragma once

#include "watcher/recognizer/LineVerdict.h"

#include <optional>
#include <span>
#include <string_view>

// What one field of a transcript record must hold for the record to remain a prompt.
enum class Requirement {
    Equals,         // the string `value`; an absent field or any other value fails
    EqualsIfString, // the string `value` when it is a string at all; absent or not a string passes
    Differs,        // anything but the string `value`; absent passes
    NotTrue,        // anything but the literal true; absent passes
    Object,         // an object whose fields meet `fields`; absent or not an object fails
    IfObject,       // when an object, one whose fields meet `fields`; absent or anything else passes
    // Not a list made only of objects meeting `fields` (an empty one included), and not text that
    // one of the table's markers begins. The text is a string value, or the "text" of the first
    // block of a list made only of "text" blocks.
    TypedContent,
    String, // a string; absent or any other type fails
    // A string, or a list of parts whose first part holds the string "text"; no part holds a field
    // named `value` (what a tool gave back); and not text that one of the table's markers begins.
    Parts,
};

struct FieldRule {
    std::string_view key;
    Requirement requirement;
    std::string_view value;
    std::span<const FieldRule> fields;
    // Why a record is not a prompt when this field fails, unless a nested field or a marker
    // names a reason.
    LineVerdict failure;
};

// Text the assistant writes into a user record of its own accord: what a command printed, that a
// request was interrupted, a background task's notice. A person's text may mention these, but
// never starts with them.
struct AssistantMarker {
    std::string_view text;
    bool wholeText; // the text is exactly `text`, rather than starting with it
    LineVerdict verdict;
};

inline constexpr AssistantMarker assistantMarkers[] = {
    {"[Request interrupted by user", false, LineVerdict::InterruptMarker},
    {"<local-command-stdout>", false, LineVerdict::CommandOutput},
    {"<local-command-stderr>", false, LineVerdict::CommandOutput},
    {"<bash-stdout>", false, LineVerdict::CommandOutput},
    {"<bash-stderr>", false, LineVerdict::CommandOutput},
    {"<task-notification>", false, LineVerdict::TaskNotice},
    // A compaction summary whose copy lost its flag.
    {"This session is being continued from a previous conversation", false, LineVerdict::AssistantRecord},
    {"(no content)", true, LineVerdict::AssistantRecord},
};

constexpr std::optional<LineVerdict>
markerVerdict(std::string_view text, std::span<const AssistantMarker> markers = assistantMarkers) {
    for (const AssistantMarker& marker : markers) {
        if (marker.wholeText ? text == marker.text : text.starts_with(marker.text)) {
            return marker.verdict;
        }
    }
    return std::nullopt;
}

// The prompt rules as data, read by both the On-Demand screen and the DOM rules, so a change in
// the transcript format is made here once. Rows are tried in order and the first failing one gives
// the reason, so the markers, on the last row, are looked for only in records that pass every
// other rule. Every lookup takes the first field of a name, as simdjson's own lookups do.

// A content block that misses this is text the user typed, so it names no reason.
inline constexpr FieldRule toolResultBlockFields[] = {
    {"type", Requirement::Equals, "tool_result", {}, LineVerdict::Prompt},
};

inline constexpr FieldRule messageFields[] = {
    {"role", Requirement::Equals, "user", {}, LineVerdict::NotUserRole},
    {"content", Requirement::TypedContent, {}, toolResultBlockFields, LineVerdict::ToolResult},
};

// Newer versions say where a message came from; only a person's own count.
inline constexpr FieldRule originFields[] = {
    {"kind", Requirement::EqualsIfString, "human", {}, LineVerdict::OtherAgent},
};

// Caveats, command expansions and compaction summaries are written by the assistant itself.
inline constexpr FieldRule promptRecordFields[] = {
    {"type", Requirement::Equals, "user", {}, LineVerdict::NotUserRecord},
    {"isSidechain", Requirement::NotTrue, {}, {}, LineVerdict::Sidechain},
    {"isMeta", Requirement::NotTrue, {}, {}, LineVerdict::AssistantRecord},
    {"isCompactSummary", Requirement::NotTrue, {}, {}, LineVerdict::AssistantRecord},
    {"isVisibleInTranscriptOnly", Requirement::NotTrue, {}, {}, LineVerdict::AssistantRecord},
    {"origin", Requirement::IfObject, {}, originFields, LineVerdict::OtherAgent},
    {"promptSource", Requirement::Differs, "system", {}, LineVerdict::OtherAgent},
    {"userType", Requirement::EqualsIfString, "external", {}, LineVerdict::OtherUserType},
    {"message", Requirement::Object, {}, messageFields, LineVerdict::NoMessage},
};

constexpr bool isRequired(const FieldRule& rule) {
    return rule.requirement == Requirement::Equals || rule.requirement == Requirement::Object ||
           rule.requirement == Requirement::String || rule.requirement == Requirement::Parts;
}

constexpr bool hasNestedFields(Requirement requirement) {
    return requirement == Requirement::Object || requirement == Requirement::IfObject;
}
