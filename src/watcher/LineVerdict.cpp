#include "LineVerdict.h"

#include "PromptRules.h"

#include <simdjson.h>

ClassifiedLine classifyLine(std::string_view line) noexcept {
    // The watcher skips a line of bad bytes whatever else is wrong with it.
    if (!simdjson::validate_utf8(line.data(), line.size())) {
        return {LineVerdict::InvalidUtf8, {}};
    }
    // A parser per line: explaining is occasional, and nothing sized by a long line stays behind.
    simdjson::dom::parser parser;
    simdjson::dom::element record;
    if (parser.parse(line.data(), line.size(), true).get(record) != simdjson::SUCCESS) {
        return {LineVerdict::InvalidJson, {}};
    }
    const LineVerdict verdict = promptVerdict(record);
    if (verdict != LineVerdict::Prompt) {
        return {verdict, {}};
    }
    return {verdict, identityOf(record.get_object().value_unsafe())};
}

std::string_view reasonText(LineVerdict verdict) noexcept {
    switch (verdict) {
    case LineVerdict::Prompt:
        return "prompt";
    case LineVerdict::InvalidUtf8:
        return "invalid UTF-8";
    case LineVerdict::InvalidJson:
        return "invalid JSON";
    case LineVerdict::NotObject:
        return "not a JSON object";
    case LineVerdict::NotUserRecord:
        return "not a user record";
    case LineVerdict::Sidechain:
        return "sub-agent";
    case LineVerdict::AssistantRecord:
        return "the assistant's own records";
    case LineVerdict::OtherUserType:
        return "another user type";
    case LineVerdict::NoMessage:
        return "no message";
    case LineVerdict::NotUserRole:
        return "not the user's message";
    case LineVerdict::ToolResult:
        return "tool results";
    case LineVerdict::InterruptMarker:
        return "interrupt marker";
    case LineVerdict::CommandOutput:
        return "command output";
    case LineVerdict::TaskNotice:
        return "task notice";
    case LineVerdict::OtherAgent:
        return "another agent's or the assistant's own message";
    case LineVerdict::Copy:
        return "copy of an earlier record";
    }
    return {};
}
