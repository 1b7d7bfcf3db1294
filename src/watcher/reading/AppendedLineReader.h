#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Reads the bytes of a file between two offsets in bounded chunks and hands them out as runs of
// whole lines, so memory stays near the longest line however much was appended. The last piece,
// which has no line feed, is handed out only when it is a complete JSON value; otherwise a writer
// is still busy with it and it is left for a later read, which starts at that piece.
class AppendedLineReader {
public:
    static constexpr std::size_t chunkSize = 64 * 1024;

    struct Lines {
        std::string_view text; // whole lines, line feeds included; valid until the next call
        std::int64_t end;      // file offset just past text
    };

    // Reads from fd, which must stay open until next() returns nothing.
    void begin(int fd, std::int64_t from, std::int64_t to);
    std::optional<Lines> next();
    std::uint64_t bytesRead() const { return m_bytesRead; }

private:
    bool readChunk();
    Lines handOut(std::size_t length);
    void release();

    int m_fd = -1;
    std::int64_t m_bufferOffset = 0; // file offset of m_buffer's first byte
    std::int64_t m_readOffset = 0;
    std::int64_t m_end = 0;
    std::size_t m_handedOut = 0;
    std::string m_buffer;
    std::uint64_t m_bytesRead = 0;
};
