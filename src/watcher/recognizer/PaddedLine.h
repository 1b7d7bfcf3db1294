#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <simdjson.h>
#include <string_view>

// A reusable copy of one line followed by the padding simdjson may read past its input.
class PaddedLine {
public:
    // Copies `line` in, growing the buffer when needed; nothing when memory is short.
    std::optional<simdjson::padded_string_view> assign(std::string_view line) noexcept;
    // Gives the buffer back, so that one huge line does not stay resident.
    void release() noexcept;

private:
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_capacity = 0;
};
