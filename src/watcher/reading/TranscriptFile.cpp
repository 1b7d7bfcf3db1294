#include "watcher/reading/TranscriptFile.h"

#include <fcntl.h>
#include <sys/stat.h>

UniqueFd openTranscript(const std::string& path) {
    return UniqueFd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
}

std::int64_t readableLength(const UniqueFd& file) {
    struct stat status;
    if (!file.isOpen() || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return 0;
    }
    return status.st_size;
}
