#pragma once

#include <string_view>

// Takes the first line off `lines` (up to and including its line feed) and returns it trimmed.
std::string_view takeLine(std::string_view& lines) noexcept;
