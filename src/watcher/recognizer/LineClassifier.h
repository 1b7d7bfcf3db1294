#pragma once

#include "watcher/recognizer/Assistant.h"
#include "watcher/recognizer/LineVerdict.h"
#include "watcher/recognizer/PromptIdentity.h"
#include "watcher/recognizer/PromptRules.h"

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

// Exactly the line rules of `assistant` for one trimmed non-empty line: each record it holds with
// its verdict (for Claude Code, classifyLine's one). True when the line marks its file as one that
// counts nothing.
bool classifyRecords(std::string_view line, Assistant assistant, const RecordVisitor& visit);
