#include "watcher/walking/TranscriptTreeWalker.h"

#include "watcher/walking/DirectoryListing.h"

#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view transcriptSuffix = ".jsonl";

// A name that is only the suffix (a hidden ".jsonl") has no extension, like ".bashrc".
bool isTranscriptName(std::string_view name) {
    return name.size() > transcriptSuffix.size() && name.ends_with(transcriptSuffix);
}

std::int64_t regularFileLength(const struct stat& status) {
    return S_ISREG(status.st_mode) ? status.st_size : 0;
}

// The path with every link resolved, or empty when it cannot be resolved.
std::string realPath(const char* path) {
    char resolved[PATH_MAX];
    return ::realpath(path, resolved) ? std::string(resolved) : std::string();
}

} // namespace

std::size_t TranscriptTreeWalker::DirectoryIdHash::operator()(const DirectoryId& id) const noexcept {
    return std::hash<ino_t>()(id.inode) ^ (std::hash<dev_t>()(id.device) * 0x9E3779B97F4A7C15ULL);
}

bool TranscriptTreeWalker::walk(std::string_view root, const Visitor& visit) {
    m_listedOutside.clear();
    m_path.assign(root);
    if (root.empty()) {
        return false;
    }
    m_realRoot = realPath(m_path.c_str());
    const int fd = ::open(m_path.c_str(), directoryOpenFlags);
    if (fd < 0) {
        return false;
    }
    // A link to a folder above the root leads back down into it; entered that way it would hand
    // out every transcript a second time under another path.
    isFirstVisit(fd);
    listDirectory(fd, Region::InsideRoot, visit);
    return true;
}

// Takes ownership of fd.
void TranscriptTreeWalker::listDirectory(int fd, Region region, const Visitor& visit) {
    if (region == Region::OutsideRoot && !isFirstVisit(fd)) {
        ::close(fd);
        return;
    }
    DIR* directory = ::fdopendir(fd);
    if (!directory) {
        ::close(fd);
        return;
    }
    while (const dirent* entry = ::readdir(directory)) {
        if (!isSelfOrParent(entry->d_name)) {
            visitEntry(::dirfd(directory), *entry, region, visit);
        }
    }
    ::closedir(directory);
}

void TranscriptTreeWalker::visitEntry(int directoryFd, const dirent& entry, Region region,
                                      const Visitor& visit) {
    const char* name = entry.d_name;
    switch (entry.d_type) {
    case DT_DIR:
        descend(directoryFd, name, region, visit);
        break;
    case DT_REG:
        if (isTranscriptName(name)) {
            struct stat status;
            visitFile(name, ::fstatat(directoryFd, name, &status, 0) == 0 ? regularFileLength(status) : 0,
                      visit);
        }
        break;
    case DT_LNK:
        visitLink(directoryFd, name, visit);
        break;
    case DT_UNKNOWN:
        visitUntyped(directoryFd, name, region, visit);
        break;
    default: // pipes, sockets and devices hold no transcript bytes
        if (isTranscriptName(name)) {
            visitFile(name, 0, visit);
        }
        break;
    }
}

// Some file systems leave the type out of the listing; ask for it. An entry that gives no answer
// counts as a file.
void TranscriptTreeWalker::visitUntyped(int directoryFd, const char* name, Region region,
                                        const Visitor& visit) {
    struct stat status;
    const bool known = ::fstatat(directoryFd, name, &status, AT_SYMLINK_NOFOLLOW) == 0;
    if (known && S_ISLNK(status.st_mode)) {
        visitLink(directoryFd, name, visit);
    } else if (known && S_ISDIR(status.st_mode)) {
        descend(directoryFd, name, region, visit);
    } else if (isTranscriptName(name)) {
        visitFile(name, known ? regularFileLength(status) : 0, visit);
    }
}

// A link counts as what it leads to. One that leads nowhere (yet) is a file that cannot be read, so
// a transcript link whose target appears later is read from its start. A link to a transcript in
// the root's own tree is passed over: the walk finds that file under its own path, and reading it
// twice would count its prompts twice.
void TranscriptTreeWalker::visitLink(int directoryFd, const char* name, const Visitor& visit) {
    struct stat status;
    const bool resolved = ::fstatat(directoryFd, name, &status, 0) == 0;
    if (resolved && S_ISDIR(status.st_mode)) {
        if (targetInsideRoot(name).empty()) {
            descend(directoryFd, name, Region::OutsideRoot, visit);
        }
    } else if (isTranscriptName(name) && !(resolved && leadsToTranscriptInsideRoot(name))) {
        visitFile(name, resolved ? regularFileLength(status) : 0, visit);
    }
}

void TranscriptTreeWalker::visitFile(const char* name, std::int64_t length, const Visitor& visit) {
    const std::size_t parentLength = enter(name);
    visit(m_path, length);
    m_path.resize(parentLength);
}

void TranscriptTreeWalker::descend(int directoryFd, const char* name, Region region, const Visitor& visit) {
    const int fd = ::openat(directoryFd, name, directoryOpenFlags);
    if (fd < 0) {
        return;
    }
    const std::size_t parentLength = enter(name);
    listDirectory(fd, region, visit);
    m_path.resize(parentLength);
}

// The real path the named link leads to when that lies in the root's own tree; empty otherwise.
std::string TranscriptTreeWalker::targetInsideRoot(const char* name) {
    const std::size_t parentLength = enter(name);
    std::string target = realPath(m_path.c_str());
    m_path.resize(parentLength);
    if (m_realRoot.empty() || target.empty()) {
        return {};
    }
    const bool inside =
        m_realRoot == "/" || (target.starts_with(m_realRoot) &&
                              (target.size() == m_realRoot.size() || target[m_realRoot.size()] == '/'));
    return inside ? target : std::string();
}

bool TranscriptTreeWalker::leadsToTranscriptInsideRoot(const char* name) {
    const std::string target = targetInsideRoot(name);
    return isTranscriptName(std::string_view(target).substr(target.rfind('/') + 1));
}

bool TranscriptTreeWalker::isFirstVisit(int fd) {
    struct stat status;
    if (::fstat(fd, &status) != 0) {
        return false; // cannot tell it from a folder already listed
    }
    return m_listedOutside.insert({status.st_dev, status.st_ino}).second;
}

// Appends one path component and returns the length to cut the path back to.
std::size_t TranscriptTreeWalker::enter(const char* name) {
    const std::size_t parentLength = m_path.size();
    if (m_path.back() != '/') {
        m_path += '/';
    }
    m_path += name;
    return parentLength;
}
