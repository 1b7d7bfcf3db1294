#pragma once

#include "watcher/recognizer/Assistant.h"
#include "watcher/recognizer/PromptFields.h"

#include <span>
#include <string_view>

// One assistant's line rules as data: which records of its log are prompts a person typed, and how
// a message written again is told from a new one. The formats change often, so a change is made
// in the assistant's table; a record of a shape the table does not know counts nothing.
struct RecordRules {
    // Rows tried in order; the first failing one gives the reason.
    std::span<const FieldRule> fields;
    // Text the assistant writes in the person's name, looked for by Requirement::Parts.
    std::span<const AssistantMarker> markers;
    // The field whose string a message keeps when it is written again: counted once per value.
    // Empty where every prompt is written once.
    std::string_view idKey;
    // A line {"<listParent>": {"<listKey>": [record, ...]}} holds whole records again.
    std::string_view listParent;
    std::string_view listKey;
    // A record meeting these rows marks its whole file as one that counts nothing.
    std::span<const FieldRule> uncountedFile;
};

// The rules of an assistant judged by its table; nothing for Claude Code, whose prompt rules
// (PromptFields.h) have a recogniser of their own.
const RecordRules* recordRules(Assistant assistant) noexcept;
