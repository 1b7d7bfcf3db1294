#pragma once

#include "LineVerdict.h"
#include "PromptIdentity.h"

#include <string_view>

// Exactly the line rules' decision for one trimmed non-empty line, with the first rule that
// turned it away, and what identifies the prompt when the line is one. Never Copy: whether a
// prompt repeats an earlier one depends on what was read before (the watcher's copy index).
// Slower than PromptRecognizer, as every line is validated and parsed in full; for explaining.
struct ClassifiedLine {
    LineVerdict verdict;
    PromptIdentity identity;
};

ClassifiedLine classifyLine(std::string_view line) noexcept;
