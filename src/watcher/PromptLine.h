#pragma once

#include "PromptIdentity.h"

#include <optional>
#include <string_view>

// True when one transcript line (trimmed, not empty) is a prompt the user typed.
// Never throws: malformed bytes of any kind give false.
bool isUserPrompt(std::string_view line) noexcept;

// The same decision, with what identifies the prompt when the line is one.
std::optional<RecognizedPrompt> recognizePrompt(std::string_view line) noexcept;
