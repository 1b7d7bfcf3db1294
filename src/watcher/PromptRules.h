#pragma once

#include "LineVerdict.h"

#include <simdjson.h>

// The prompt rules applied to one parsed transcript record: Prompt, or the first rule the record
// fails, in the order of the field table.
LineVerdict promptVerdict(simdjson::dom::element record) noexcept;

inline bool isPromptRecord(simdjson::dom::element record) noexcept {
    return promptVerdict(record) == LineVerdict::Prompt;
}
