#pragma once

#include <cstdint>
#include <string_view>

// A 64-bit digest of a prompt record's "uuid" and "timestamp" strings (as decoded from JSON).
// Equal pairs give equal keys; among 100,000 distinct pairs the odds that any two share a key
// are below one in a billion. Stable only within one process, which is all it is kept for.
std::uint64_t promptIdKey(std::string_view uuid, std::string_view timestamp) noexcept;
