#pragma once

#include <string_view>

// Exact byte test that lets most transcript lines skip the JSON parser: a prompt record
// holds the string "user" as a value, and JSON can only spell that string as the bytes
// "user" or with a \u escape (u, s, e and r have no short escapes). False means the line
// cannot be a prompt; true means it has to be parsed.
bool mayBeUserPrompt(std::string_view line) noexcept;
