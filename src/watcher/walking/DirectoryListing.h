#pragma once

#include <fcntl.h>

// What both walks need to list folders alike.

inline constexpr int directoryOpenFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

// "." and "..", which every listing holds and no walk descends into.
inline bool isSelfOrParent(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}
