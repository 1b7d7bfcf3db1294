#pragma once

#include <string_view>

// True when one transcript line (trimmed, not empty) is a prompt the user typed.
// Never throws: malformed bytes of any kind give false.
bool isUserPrompt(std::string_view line) noexcept;
