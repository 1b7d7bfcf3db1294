#include "watcher/reading/TranscriptLines.h"

#include "watcher/reading/WhiteSpace.h"

std::string_view takeLine(std::string_view& lines) noexcept {
    const std::size_t lineFeed = lines.find('\n');
    const std::string_view line = lines.substr(0, lineFeed);
    lines.remove_prefix(lineFeed == std::string_view::npos ? lines.size() : lineFeed + 1);
    return trimWhiteSpace(line);
}
