#include "LineClassifier.h"

#include "PromptRules.h"
#include "RecordRules.h"

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

bool classifyRecords(std::string_view line, Assistant assistant, const RecordVisitor& visit) {
    const RecordRules* rules = recordRules(assistant);
    if (!rules) {
        const auto [verdict, identity] = classifyLine(line);
        visit(verdict, identity);
        return false;
    }
    if (!simdjson::validate_utf8(line.data(), line.size())) {
        visit(LineVerdict::InvalidUtf8, {});
        return false;
    }
    simdjson::dom::parser parser;
    simdjson::dom::element record;
    if (parser.parse(line.data(), line.size(), true).get(record) != simdjson::SUCCESS) {
        visit(LineVerdict::InvalidJson, {});
        return false;
    }
    return judgeRecords(record, *rules, visit);
}
