#include "watcher/recognizer/CopyKey.h"

#include <algorithm>
#include <array>
#include <functional>

namespace {

// splitmix64's finaliser: spreads each digest before the next is folded in, so that swapped or
// equal halves do not cancel out.
std::uint64_t spread(std::uint64_t value) noexcept {
    value = (value ^ (value >> 30)) * 0xbf58476d1ce4e5b9ULL;
    value = (value ^ (value >> 27)) * 0x94d049bb133111ebULL;
    return value ^ (value >> 31);
}

// Not std::isxdigit, which follows the locale a Qt application sets.
bool isHexDigit(char c) noexcept {
    const char lower = static_cast<char>(c | 0x20);
    return (c >= '0' && c <= '9') || (lower >= 'a' && lower <= 'f');
}

} // namespace

std::uint64_t copyKey(CopyRule rule, std::string_view first, std::string_view second) noexcept {
    const std::hash<std::string_view> digest;
    return spread(spread(digest(first) + static_cast<std::uint64_t>(rule)) ^ digest(second));
}

bool isCanonicalUuid(std::string_view text) noexcept {
    constexpr std::array<std::size_t, 4> hyphens{8, 13, 18, 23};
    if (text.size() != 36) {
        return false;
    }
    for (std::size_t at = 0; at < text.size(); ++at) {
        const bool hyphenHere = std::find(hyphens.begin(), hyphens.end(), at) != hyphens.end();
        if (hyphenHere ? text[at] != '-' : !isHexDigit(text[at])) {
            return false;
        }
    }
    return true;
}
