#pragma once

#include "watcher/reading/UniqueFd.h"

#include <cstdint>
#include <string>

// Opens a transcript for reading. Non-blocking, so that a pipe named like a transcript can never
// stall a reader.
UniqueFd openTranscript(const std::string& path);

// What reading the open file would return; 0 when it could not be opened or is not a regular file.
std::int64_t readableLength(const UniqueFd& file);
