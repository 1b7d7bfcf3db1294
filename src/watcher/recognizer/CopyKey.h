#pragma once

#include <cstdint>
#include <string_view>

// Which copy rule a key serves; part of the digest, so keys of different rules never meet.
enum class CopyRule : std::uint8_t { SameUuid, SameMoment, SameUuidAndTime, SameMessageId };

// A 64-bit digest of one or two strings of a prompt record (as decoded from JSON). Equal inputs
// give equal keys; among the 300,000 keys of 100,000 prompts the odds that any two share a key by
// chance are below one in a hundred million. Stable only within one process, which is all it is
// kept for.
std::uint64_t copyKey(CopyRule rule, std::string_view first, std::string_view second = {}) noexcept;

// 8-4-4-4-12 hexadecimal digits, as the assistant writes its record ids.
bool isCanonicalUuid(std::string_view text) noexcept;
