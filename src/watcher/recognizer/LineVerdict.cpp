#include "watcher/recognizer/LineVerdict.h"

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
    case LineVerdict::Nudge:
        return "automatic nudge";
    case LineVerdict::NoId:
        return "no message id";
    case LineVerdict::Copy:
        return "copy of an earlier record";
    }
    return {};
}
