#include "watcher/reading/AppendedLineReader.h"

#include "watcher/reading/JsonValue.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

// Past this the buffer held one unusually long line; give the memory back once done.
constexpr std::size_t retainedCapacity = 4 * AppendedLineReader::chunkSize;

} // namespace

void AppendedLineReader::begin(int fd, std::int64_t from, std::int64_t to) {
    m_fd = fd;
    m_bufferOffset = from;
    m_readOffset = from;
    m_end = to;
    m_handedOut = 0;
    m_buffer.clear();
}

std::optional<AppendedLineReader::Lines> AppendedLineReader::next() {
    m_buffer.erase(0, m_handedOut);
    m_bufferOffset += static_cast<std::int64_t>(m_handedOut);
    m_handedOut = 0;
    while (m_readOffset < m_end) {
        // What was kept from earlier chunks holds no line feed, so only the new bytes are searched.
        const std::size_t searchFrom = m_buffer.size();
        if (!readChunk()) {
            break;
        }
        const void* lineFeed = ::memrchr(m_buffer.data() + searchFrom, '\n', m_buffer.size() - searchFrom);
        if (lineFeed) {
            return handOut(static_cast<std::size_t>(static_cast<const char*>(lineFeed) - m_buffer.data()) +
                           1);
        }
    }
    if (!m_buffer.empty() && isCompleteJsonValue(m_buffer)) {
        return handOut(m_buffer.size());
    }
    release();
    return std::nullopt;
}

// Appends the next chunk to the buffer. A failed or empty read (the file shrank meanwhile) ends
// the range where it stands.
bool AppendedLineReader::readChunk() {
    const auto wanted = static_cast<std::size_t>(std::min<std::int64_t>(chunkSize, m_end - m_readOffset));
    const std::size_t kept = m_buffer.size();
    m_buffer.resize(kept + wanted);
    ssize_t got;
    do {
        got = ::pread(m_fd, m_buffer.data() + kept, wanted, m_readOffset);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) {
        m_buffer.resize(kept);
        m_end = m_readOffset;
        return false;
    }
    m_buffer.resize(kept + static_cast<std::size_t>(got));
    m_readOffset += got;
    m_bytesRead += static_cast<std::uint64_t>(got);
    return true;
}

AppendedLineReader::Lines AppendedLineReader::handOut(std::size_t length) {
    m_handedOut = length;
    return {std::string_view(m_buffer.data(), length), m_bufferOffset + static_cast<std::int64_t>(length)};
}

void AppendedLineReader::release() {
    m_buffer.clear();
    if (m_buffer.capacity() > retainedCapacity) {
        m_buffer.shrink_to_fit();
    }
}
