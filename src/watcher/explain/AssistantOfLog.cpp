#include "watcher/explain/AssistantOfLog.h"

#include "watcher/AssistantLogs.h"
#include "watcher/reading/TranscriptLines.h"

#include <algorithm>
#include <fnmatch.h>
#include <optional>
#include <simdjson.h>

namespace {

// The last `count` components of a path, or nothing when it has fewer.
std::optional<std::string> lastComponents(const std::string& path, std::ptrdiff_t count) {
    std::size_t start = path.size();
    for (std::ptrdiff_t found = 0; found < count; ++found) {
        if (start == 0 || (start = path.rfind('/', start - 1)) == std::string::npos) {
            return std::nullopt;
        }
    }
    return path.substr(start + 1);
}

std::optional<Assistant> byPlace(const std::string& path) {
    for (const AssistantLog& log : assistantLogs) {
        const std::string pattern(log.pattern);
        const auto tail = lastComponents(path, std::count(pattern.begin(), pattern.end(), '/') + 1);
        if (tail && ::fnmatch(pattern.c_str(), tail->c_str(), FNM_PATHNAME) == 0) {
            return log.assistant;
        }
    }
    return std::nullopt;
}

bool has(simdjson::dom::object record, std::string_view key) {
    return record.at_key(key).error() == simdjson::SUCCESS;
}

// What each assistant's first record holds and no other's does.
std::optional<Assistant> byFirstRecord(simdjson::dom::object record) {
    std::string_view type;
    const bool typed = record.at_key("type").get(type) == simdjson::SUCCESS;
    if (has(record, "provenance")) {
        return Assistant::Qwen;
    }
    if (typed && has(record, "data") && type.find('.') != std::string_view::npos) {
        return Assistant::Copilot;
    }
    if (has(record, "session_id") && has(record, "text")) {
        return Assistant::Codex;
    }
    if (!typed && has(record, "projectHash")) {
        return Assistant::Gemini;
    }
    return std::nullopt;
}

// Told by the first non-blank line alone.
std::optional<Assistant> byShape(const std::string& path) {
    std::optional<Assistant> assistant;
    simdjson::dom::parser parser;
    readLinesUntil(path, [&assistant, &parser](std::string_view line) {
        simdjson::dom::object record;
        if (!line.empty() && parser.parse(line.data(), line.size(), true).get(record) == simdjson::SUCCESS) {
            assistant = byFirstRecord(record);
        }
        return !line.empty();
    });
    return assistant;
}

} // namespace

Assistant assistantOfLog(const std::string& path) {
    if (const auto placed = byPlace(path)) {
        return *placed;
    }
    return byShape(path).value_or(Assistant::Claude);
}
