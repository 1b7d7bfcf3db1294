#include "TranscriptExplanation.h"

#include "AppendedLineReader.h"
#include "TranscriptFile.h"
#include "TranscriptLines.h"

#include <filesystem>

namespace {

void explainLines(std::string_view lines, std::int64_t& number, bool withLines,
                  TranscriptExplanation& explanation) {
    while (!lines.empty()) {
        ++number;
        const std::string_view line = takeLine(lines);
        if (line.empty()) {
            continue;
        }
        const LineVerdict verdict = classifyLine(line);
        if (verdict == LineVerdict::Prompt) {
            ++explanation.prompts;
        } else {
            ++explanation.ignored[verdict];
        }
        if (withLines) {
            explanation.lines.emplace_back(number, verdict);
        }
    }
}

} // namespace

TranscriptExplanation explainTranscript(const std::string& path, bool withLines) {
    TranscriptExplanation explanation;
    const UniqueFd file = openTranscript(path);
    std::error_code error;
    // A folder or a pipe opens too, but the watcher reads nothing from either.
    explanation.readable = file.isOpen() && std::filesystem::is_regular_file(path, error);
    if (!explanation.readable) {
        return explanation;
    }
    AppendedLineReader reader;
    reader.begin(file.get(), 0, readableLength(file));
    std::int64_t number = 0;
    while (const auto lines = reader.next()) {
        explainLines(lines->text, number, withLines, explanation);
    }
    return explanation;
}
