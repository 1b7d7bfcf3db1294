#pragma once

#include "watcher/recognizer/Assistant.h"
#include "watcher/recognizer/PromptIdentity.h"
#include "watcher/recognizer/PromptRecognizer.h"
#include "watcher/recognizer/RecordRecognizer.h"

#include <span>
#include <string_view>
#include <vector>

// The prompts one line of any watched assistant's log holds, by that assistant's rules.
struct LinePrompts {
    // Valid until the next line is recognised.
    std::span<const PromptIdentity> prompts;
    // The line marks its file as one that counts nothing (a sub-agent's session).
    bool uncountedFile = false;
};

// One recogniser per thread, for lines of every assistant.
class LineRecognizer {
public:
    LinePrompts recognize(std::string_view line, Assistant assistant);

private:
    PromptRecognizer m_transcripts;
    RecordRecognizer m_records;
    std::vector<PromptIdentity> m_prompts;
};
