#include "watcher/recognizer/RecordRecognizer.h"

#include "watcher/recognizer/PromptRules.h"

bool RecordRecognizer::recognize(std::string_view line, const RecordRules& rules,
                                 std::vector<PromptIdentity>& prompts) {
    const auto padded = m_line.assign(line);
    simdjson::dom::element record;
    if (!padded || m_parser.parse(padded->data(), padded->length(), false).get(record) != simdjson::SUCCESS) {
        return false;
    }
    return judgeRecords(record, rules, [&prompts](LineVerdict verdict, const PromptIdentity& identity) {
        if (verdict == LineVerdict::Prompt) {
            prompts.push_back(identity);
        }
    });
}
