#include "watcher/reading/WhiteSpace.h"

#include <cstddef>

namespace {

bool isAsciiWhiteSpace(unsigned char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// U+0085 and U+00A0.
bool isTwoByteWhiteSpace(unsigned char lead, unsigned char trail) {
    return lead == 0xC2 && (trail == 0x85 || trail == 0xA0);
}

// U+1680, U+2000 to U+200A, U+2028, U+2029, U+202F, U+205F and U+3000.
bool isThreeByteWhiteSpace(unsigned char lead, unsigned char second, unsigned char third) {
    switch (lead) {
    case 0xE1:
        return second == 0x9A && third == 0x80;
    case 0xE2:
        if (second == 0x80) {
            return third <= 0x8A || third == 0xA8 || third == 0xA9 || third == 0xAF;
        }
        return second == 0x81 && third == 0x9F;
    case 0xE3:
        return second == 0x80 && third == 0x80;
    default:
        return false;
    }
}

unsigned char byteAt(std::string_view text, std::size_t index) {
    return static_cast<unsigned char>(text[index]);
}

// Byte length of the white-space character that opens the text, or 0 when it opens with another.
std::size_t leadingWhiteSpaceLength(std::string_view text) {
    const std::size_t size = text.size();
    if (size >= 1 && isAsciiWhiteSpace(byteAt(text, 0))) {
        return 1;
    }
    if (size >= 2 && isTwoByteWhiteSpace(byteAt(text, 0), byteAt(text, 1))) {
        return 2;
    }
    if (size >= 3 && isThreeByteWhiteSpace(byteAt(text, 0), byteAt(text, 1), byteAt(text, 2))) {
        return 3;
    }
    return 0;
}

// Byte length of the white-space character that closes the text, or 0 when it closes with another.
std::size_t trailingWhiteSpaceLength(std::string_view text) {
    const std::size_t size = text.size();
    if (size >= 1 && isAsciiWhiteSpace(byteAt(text, size - 1))) {
        return 1;
    }
    if (size >= 2 && isTwoByteWhiteSpace(byteAt(text, size - 2), byteAt(text, size - 1))) {
        return 2;
    }
    if (size >= 3 &&
        isThreeByteWhiteSpace(byteAt(text, size - 3), byteAt(text, size - 2), byteAt(text, size - 1))) {
        return 3;
    }
    return 0;
}

} // namespace

std::string_view trimWhiteSpace(std::string_view line) noexcept {
    while (const std::size_t length = leadingWhiteSpaceLength(line)) {
        line.remove_prefix(length);
    }
    while (const std::size_t length = trailingWhiteSpaceLength(line)) {
        line.remove_suffix(length);
    }
    return line;
}
