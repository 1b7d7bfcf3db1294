#include "watcher/recognizer/PaddedLine.h"

#include <cstring>
#include <new>

std::optional<simdjson::padded_string_view> PaddedLine::assign(std::string_view line) noexcept {
    const std::size_t needed = line.size() + simdjson::SIMDJSON_PADDING;
    if (needed > m_capacity) {
        m_buffer.reset(new (std::nothrow) char[needed]);
        m_capacity = m_buffer ? needed : 0;
        if (!m_buffer) {
            return std::nullopt;
        }
    }
    std::memcpy(m_buffer.get(), line.data(), line.size());
    std::memset(m_buffer.get() + line.size(), 0, simdjson::SIMDJSON_PADDING);
    return simdjson::padded_string_view(m_buffer.get(), line.size(), m_capacity);
}

void PaddedLine::release() noexcept {
    m_buffer.reset();
    m_capacity = 0;
}
