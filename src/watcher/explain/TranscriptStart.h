#pragma once

#include <cstdint>
#include <optional>
#include <string>

// When the first record of a transcript that carries a "timestamp" was written, in milliseconds
// since the epoch; nothing when no record of it does.
std::optional<std::int64_t> transcriptStart(const std::string& path);
