#include "watcher/recognizer/PromptPrefilter.h"

#include <cstdint>
#include <cstring>

namespace {

// Both byte sequences are a 'u' right after a quote or a backslash, so one pass finds every
// place where either can start. Plain GCC vectors: SSE2 on x86-64, NEON on ARM, no dispatch.
using Block = unsigned char __attribute__((vector_size(16)));
constexpr std::size_t blockSize = sizeof(Block);

Block load(const char* bytes) noexcept {
    Block block;
    std::memcpy(&block, bytes, blockSize);
    return block;
}

template <typename Mask> bool anySet(Mask mask) noexcept {
    std::uint64_t words[blockSize / sizeof(std::uint64_t)];
    std::memcpy(words, &mask, blockSize);
    std::uint64_t any = 0;
    for (const std::uint64_t word : words) {
        any |= word;
    }
    return any != 0;
}

// Whether a needle has its 'u' at any position in [from, to); from is at least 1.
bool needleAt(std::string_view line, std::size_t from, std::size_t to) noexcept {
    for (std::size_t u = from; u < to; ++u) {
        if (line[u] != 'u') {
            continue;
        }
        if (line[u - 1] == '\\' || line.substr(u - 1, 6) == "\"user\"") {
            return true;
        }
    }
    return false;
}

} // namespace

bool mayBeUserPrompt(std::string_view line) noexcept {
    std::size_t u = 1;
    for (; u + blockSize <= line.size(); u += blockSize) {
        const Block current = load(line.data() + u);
        const Block previous = load(line.data() + u - 1);
        const auto candidates = (current == 'u') & ((previous == '"') | (previous == '\\'));
        if (anySet(candidates) && needleAt(line, u, u + blockSize)) {
            return true;
        }
    }
    return needleAt(line, u, line.size());
}
