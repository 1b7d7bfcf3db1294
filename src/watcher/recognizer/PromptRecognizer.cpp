#include "watcher/recognizer/PromptRecognizer.h"

#include "watcher/recognizer/PromptPrefilter.h"
#include "watcher/recognizer/PromptRules.h"
#include "watcher/recognizer/PromptScreen.h"

namespace {

// simdjson's parsers keep memory in proportion to the longest input they have seen (several
// times its size); after a longer line they are rebuilt so the idle process stays small.
constexpr std::size_t retainedLineBytes = std::size_t{1} << 20;

} // namespace

std::optional<RecognizedPrompt> PromptRecognizer::isUserPrompt(std::string_view line) noexcept {
    if (!mayBeUserPrompt(line)) {
        return std::nullopt;
    }
    const auto padded = m_line.assign(line);
    const auto prompt = padded ? decide(*padded) : std::nullopt;
    releaseAfter(line.size());
    return prompt;
}

std::optional<RecognizedPrompt> PromptRecognizer::decide(simdjson::padded_string_view line) noexcept {
    if (rulesOutPrompt(m_screen, line)) {
        return std::nullopt;
    }
    simdjson::dom::element record;
    if (m_validator.parse(line.data(), line.length(), false).get(record) != simdjson::SUCCESS ||
        promptVerdict(record) != LineVerdict::Prompt) {
        return std::nullopt;
    }
    return RecognizedPrompt{identityOf(record.get_object().value_unsafe())};
}

void PromptRecognizer::releaseAfter(std::size_t lineSize) noexcept {
    if (lineSize > retainedLineBytes) {
        m_line.release();
        m_screen = simdjson::ondemand::parser{};
        m_validator = simdjson::dom::parser{};
    }
}
