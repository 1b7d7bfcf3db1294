#pragma once

#include "PromptIdentity.h"

#include <optional>
#include <string_view>

// Takes the first line off `lines` (up to and including its line feed) and returns it trimmed.
std::string_view takeLine(std::string_view& lines) noexcept;

// The prompt a trimmed transcript line holds, as the watcher counts it: bytes that are not UTF-8
// spoil only their own line.
std::optional<RecognizedPrompt> promptInLine(std::string_view line) noexcept;
