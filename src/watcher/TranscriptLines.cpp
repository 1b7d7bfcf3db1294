#include "TranscriptLines.h"

#include "PromptLine.h"
#include "WhiteSpace.h"

#include <simdjson.h>

std::string_view takeLine(std::string_view& lines) noexcept {
    const std::size_t lineFeed = lines.find('\n');
    const std::string_view line = lines.substr(0, lineFeed);
    lines.remove_prefix(lineFeed == std::string_view::npos ? lines.size() : lineFeed + 1);
    return trimWhiteSpace(line);
}

std::optional<RecognizedPrompt> promptInLine(std::string_view line) noexcept {
    if (line.empty()) {
        return std::nullopt;
    }
    auto prompt = recognizePrompt(line);
    // Checked last because it matters only for the few lines that look like prompts.
    if (prompt && !simdjson::validate_utf8(line.data(), line.size())) {
        return std::nullopt;
    }
    return prompt;
}
