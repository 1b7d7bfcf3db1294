#include "watcher/recognizer/LineClassifier.h"

#include "watcher/recognizer/PromptRules.h"
#include "watcher/recognizer/RecordRules.h"

#include <simdjson.h>
#include <variant>

namespace {

// The line's record, or why it has none. The watcher skips a line of bad bytes whatever else is
// wrong with it. The parser is the caller's: explaining is occasional, and a parser per line
// leaves nothing sized by a long line behind.
std::variant<simdjson::dom::element, LineVerdict> parseLine(std::string_view line,
                                                            simdjson::dom::parser& parser) noexcept {
    if (!simdjson::validate_utf8(line.data(), line.size())) {
        return LineVerdict::InvalidUtf8;
    }
    simdjson::dom::element record;
    if (parser.parse(line.data(), line.size(), true).get(record) != simdjson::SUCCESS) {
        return LineVerdict::InvalidJson;
    }
    return record;
}

} // namespace

ClassifiedLine classifyLine(std::string_view line) noexcept {
    simdjson::dom::parser parser;
    const auto parsed = parseLine(line, parser);
    if (const auto* failure = std::get_if<LineVerdict>(&parsed)) {
        return {*failure, {}};
    }
    const auto record = std::get<simdjson::dom::element>(parsed);
    const LineVerdict verdict = promptVerdict(record);
    if (verdict != LineVerdict::Prompt) {
        return {verdict, {}};
    }
    return {verdict, identityOf(record.get_object().value_unsafe())};
}

bool classifyRecords(std::string_view line, Assistant assistant, const RecordVisitor& visit) {
    const RecordRules* rules = recordRules(assistant);
    if (!rules) {
        const auto [verdict, identity] = classifyLine(line);
        visit(verdict, identity);
        return false;
    }
    simdjson::dom::parser parser;
    const auto parsed = parseLine(line, parser);
    if (const auto* failure = std::get_if<LineVerdict>(&parsed)) {
        visit(*failure, {});
        return false;
    }
    return judgeRecords(std::get<simdjson::dom::element>(parsed), *rules, visit);
}
