#pragma once

#include <string_view>

// True when the bytes hold exactly one complete JSON value (surrounding JSON white space allowed).
// Tells a finished record apart from one a writer is still in the middle of.
bool isCompleteJsonValue(std::string_view text) noexcept;
