#pragma once

#include "watcher/recognizer/PaddedLine.h"
#include "watcher/recognizer/PromptIdentity.h"

#include <cstddef>
#include <optional>
#include <simdjson.h>
#include <string_view>

// Decides whether transcript lines are prompts the user typed, as the watcher counts them,
// reusing its parsers and line buffer from one line to the next. A line is a prompt only when
// full validation with the DOM parser, UTF-8 included, accepts it; the byte prefilter and the
// On-Demand screen only ever turn lines away. Bytes that are not UTF-8 spoil only their own
// line. Never throws: malformed bytes of any kind give nothing. One recogniser per thread.
class PromptRecognizer {
public:
    // The prompt one trimmed transcript line holds, with what identifies it for the copy rules;
    // nothing when the line is no prompt, so it tests as a plain yes or no too.
    std::optional<RecognizedPrompt> isUserPrompt(std::string_view line) noexcept;

private:
    std::optional<RecognizedPrompt> decide(simdjson::padded_string_view line) noexcept;
    void releaseAfter(std::size_t lineSize) noexcept;

    PaddedLine m_line;
    simdjson::ondemand::parser m_screen;
    simdjson::dom::parser m_validator;
};
