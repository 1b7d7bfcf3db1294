#include "watcher/recognizer/Assistant.h"

std::string_view assistantName(Assistant assistant) noexcept {
    switch (assistant) {
    case Assistant::Claude:
        return "Claude Code";
    case Assistant::Codex:
        return "Codex CLI";
    case Assistant::Copilot:
        return "Copilot CLI";
    case Assistant::Qwen:
        return "Qwen Code";
    case Assistant::Gemini:
        return "Gemini CLI";
    }
    return {};
}
