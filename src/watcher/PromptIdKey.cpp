#include "PromptIdKey.h"

#include <functional>

namespace {

// splitmix64's finaliser: spreads the uuid's digest before the timestamp's is folded in, so
// that swapped or equal halves do not cancel out.
std::uint64_t spread(std::uint64_t value) noexcept {
    value = (value ^ (value >> 30)) * 0xbf58476d1ce4e5b9ULL;
    value = (value ^ (value >> 27)) * 0x94d049bb133111ebULL;
    return value ^ (value >> 31);
}

} // namespace

std::uint64_t promptIdKey(std::string_view uuid, std::string_view timestamp) noexcept {
    const std::hash<std::string_view> digest;
    return spread(digest(uuid)) ^ digest(timestamp);
}
