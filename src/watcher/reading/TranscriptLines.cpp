#include "watcher/reading/TranscriptLines.h"

#include "watcher/reading/AppendedLineReader.h"
#include "watcher/reading/TranscriptFile.h"
#include "watcher/reading/WhiteSpace.h"

std::string_view takeLine(std::string_view& lines) noexcept {
    const std::size_t lineFeed = lines.find('\n');
    const std::string_view line = lines.substr(0, lineFeed);
    lines.remove_prefix(lineFeed == std::string_view::npos ? lines.size() : lineFeed + 1);
    return trimWhiteSpace(line);
}

void readLinesUntil(const std::string& path, const std::function<bool(std::string_view line)>& visit) {
    const UniqueFd file = openTranscript(path);
    AppendedLineReader reader;
    reader.begin(file.get(), 0, readableLength(file));
    while (const auto lines = reader.next()) {
        for (std::string_view text = lines->text; !text.empty();) {
            if (visit(takeLine(text))) {
                return;
            }
        }
    }
}
