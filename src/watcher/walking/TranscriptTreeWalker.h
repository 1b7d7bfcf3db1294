#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <unordered_set>

struct dirent;

// Finds the transcript files (names ending in ".jsonl") below a root, depth first in listing order,
// and hands each one's path and length to a visitor. Lengths come from file metadata, so a walk
// reads no file content. Whatever cannot be listed or examined is passed over silently. A link to
// a transcript inside the root is passed over too: the file is handed out under its own path.
//
// Links to folders are followed, but every real folder is listed at most once, so link loops end:
// a link to a folder inside the root is skipped (the walk lists that folder under its own path),
// and folders outside the root are listed only on the first arrival, told apart by device and
// inode, the root itself counting as already listed. Only that second case costs a metadata call
// per folder.
class TranscriptTreeWalker {
public:
    // `path` is a buffer the walker reuses: a visitor copies what it wants to keep. `length` is 0
    // for anything that is not a regular file or cannot be examined.
    using Visitor = std::function<void(const std::string& path, std::int64_t length)>;

    // False when the root itself cannot be opened.
    bool walk(std::string_view root, const Visitor& visit);

private:
    enum class Region { InsideRoot, OutsideRoot };

    struct DirectoryId {
        dev_t device;
        ino_t inode;
        bool operator==(const DirectoryId&) const = default;
    };
    struct DirectoryIdHash {
        std::size_t operator()(const DirectoryId& id) const noexcept;
    };

    void listDirectory(int fd, Region region, const Visitor& visit);
    void visitEntry(int directoryFd, const dirent& entry, Region region, const Visitor& visit);
    void visitUntyped(int directoryFd, const char* name, Region region, const Visitor& visit);
    void visitLink(int directoryFd, const char* name, const Visitor& visit);
    void visitFile(const char* name, std::int64_t length, const Visitor& visit);
    void descend(int directoryFd, const char* name, Region region, const Visitor& visit);
    std::string targetInsideRoot(const char* name);
    bool leadsToTranscriptInsideRoot(const char* name);
    bool isFirstVisit(int fd);
    std::size_t enter(const char* name);

    std::string m_path;
    std::string m_realRoot;
    std::unordered_set<DirectoryId, DirectoryIdHash> m_listedOutside;
};
