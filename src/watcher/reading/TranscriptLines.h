#pragma once

#include <functional>
#include <string>
#include <string_view>

// Takes the first line off `lines` (up to and including its line feed) and returns it trimmed.
std::string_view takeLine(std::string_view& lines) noexcept;

// Hands the file's lines, trimmed, from its first byte to `visit` until it returns true; a last
// line without a line feed only when it is a complete JSON value, as the watcher reads it.
void readLinesUntil(const std::string& path, const std::function<bool(std::string_view line)>& visit);
