#include "watcher/recognizer/RecordRules.h"

#include "watcher/recognizer/CodexFields.h"
#include "watcher/recognizer/CopilotFields.h"
#include "watcher/recognizer/GeminiFields.h"
#include "watcher/recognizer/QwenFields.h"

namespace {

constexpr RecordRules codexRules{codexRecordFields, {}, {}, {}, {}, {}};
constexpr RecordRules copilotRules{copilotRecordFields, {}, {}, {}, {}, {}};
constexpr RecordRules qwenRules{qwenRecordFields, {}, {}, {}, {}, {}};
constexpr RecordRules geminiRules{geminiRecordFields, geminiMarkers,       "id", "$set",
                                  "messages",         geminiSubagentFields};

} // namespace

const RecordRules* recordRules(Assistant assistant) noexcept {
    switch (assistant) {
    case Assistant::Claude:
        return nullptr;
    case Assistant::Codex:
        return &codexRules;
    case Assistant::Copilot:
        return &copilotRules;
    case Assistant::Qwen:
        return &qwenRules;
    case Assistant::Gemini:
        return &geminiRules;
    }
    return nullptr;
}
