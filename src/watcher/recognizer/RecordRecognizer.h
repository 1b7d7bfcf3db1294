#pragma once

#include "watcher/recognizer/PaddedLine.h"
#include "watcher/recognizer/PromptIdentity.h"
#include "watcher/recognizer/RecordRules.h"

#include <simdjson.h>
#include <string_view>
#include <vector>

// Finds the prompts in lines of an assistant judged by its rule table, parsing each line in full
// with the DOM parser (which validates its UTF-8), reusing its parser and line buffer. These logs
// are written at a person's pace and hold little besides; Claude Code's large transcripts go
// through PromptRecognizer instead.
class RecordRecognizer {
public:
    // Appends the copy keys of each prompt the trimmed line holds to `prompts`. True when the
    // line marks its file as one that counts nothing.
    bool recognize(std::string_view line, const RecordRules& rules, std::vector<PromptIdentity>& prompts);

private:
    PaddedLine m_line;
    simdjson::dom::parser m_parser;
};
