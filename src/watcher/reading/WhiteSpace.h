#pragma once

#include <string_view>

// The line without leading and trailing Unicode white space and line breaks (tab, line feed,
// vertical tab, form feed, carriage return, next line, and the space separators such as U+00A0 and
// U+3000), all taken as UTF-8.
std::string_view trimWhiteSpace(std::string_view line) noexcept;
