#pragma once

#include "PaddedLine.h"
#include "PromptIdentity.h"

#include <cstddef>
#include <optional>
#include <simdjson.h>
#include <string_view>

// Decides whether transcript lines are prompts, reusing its parsers and line buffer from
// one line to the next. A line is a prompt only when full validation with the DOM parser
// accepts it; the byte prefilter and the On-Demand screen only ever turn lines away.
class PromptRecognizer {
public:
    bool isUserPrompt(std::string_view line) noexcept { return recognize(line).has_value(); }
    // Nothing when the line is not a prompt.
    std::optional<RecognizedPrompt> recognize(std::string_view line) noexcept;

private:
    std::optional<RecognizedPrompt> decide(simdjson::padded_string_view line) noexcept;
    void releaseAfter(std::size_t lineSize) noexcept;

    PaddedLine m_line;
    simdjson::ondemand::parser m_screen;
    simdjson::dom::parser m_validator;
};
