#include "watcher/walking/PatternWalker.h"

#include "watcher/reading/UniqueFd.h"
#include "watcher/walking/DirectoryListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool hasWildcards(std::string_view component) {
    return component.find_first_of("*?[") != std::string_view::npos;
}

} // namespace

bool PatternWalker::walk(std::string_view folder, std::string_view pattern,
                         const TranscriptTreeWalker::Visitor& visit) {
    m_path.assign(folder);
    const UniqueFd root(::open(m_path.c_str(), directoryOpenFlags));
    if (!root.isOpen()) {
        return false;
    }
    m_visit = &visit;
    walkLevel(root.get(), pattern);
    return true;
}

void PatternWalker::walkLevel(int directoryFd, std::string_view pattern) {
    const std::size_t slash = pattern.find('/');
    const std::string component(pattern.substr(0, slash));
    const std::string_view rest =
        slash == std::string_view::npos ? std::string_view() : pattern.substr(slash + 1);
    if (!hasWildcards(component)) {
        match(directoryFd, component.c_str(), rest);
        return;
    }
    // A descriptor of its own for the listing, which fdopendir takes over.
    const int listing = ::openat(directoryFd, ".", directoryOpenFlags);
    DIR* directory = listing < 0 ? nullptr : ::fdopendir(listing);
    if (!directory) {
        if (listing >= 0) {
            ::close(listing);
        }
        return;
    }
    while (const dirent* entry = ::readdir(directory)) {
        if (!isSelfOrParent(entry->d_name) && ::fnmatch(component.c_str(), entry->d_name, 0) == 0) {
            match(directoryFd, entry->d_name, rest);
        }
    }
    ::closedir(directory);
}

// `name` matched its component: a log when it was the last one, else a folder to go into.
void PatternWalker::match(int directoryFd, const char* name, std::string_view rest) {
    if (rest.empty()) {
        visitFile(directoryFd, name);
        return;
    }
    const UniqueFd folder(::openat(directoryFd, name, directoryOpenFlags));
    if (!folder.isOpen()) {
        return;
    }
    const std::size_t parentLength = m_path.size();
    m_path.append("/").append(name);
    walkLevel(folder.get(), rest);
    m_path.resize(parentLength);
}

void PatternWalker::visitFile(int directoryFd, const char* name) {
    struct stat status;
    if (::fstatat(directoryFd, name, &status, 0) != 0 || S_ISDIR(status.st_mode)) {
        return;
    }
    const std::size_t parentLength = m_path.size();
    m_path.append("/").append(name);
    (*m_visit)(m_path, S_ISREG(status.st_mode) ? status.st_size : 0);
    m_path.resize(parentLength);
}
