#pragma once

#include "watcher/walking/TranscriptTreeWalker.h"

#include <string>
#include <string_view>

// Finds the files below a folder that match a pattern of path components, listing only the folders
// the pattern leads into, one level per component; a component without wildcards is opened by name
// without listing its folder. So a poll of a log that sits at a known place costs a few opens, and a
// folder that is missing costs one failed open. The pattern fixes the depth, so links can be followed
// without loops. Visits as TranscriptTreeWalker does: lengths from metadata, 0 for what is not a
// regular file.
class PatternWalker {
public:
    // False when the folder itself cannot be opened.
    bool walk(std::string_view folder, std::string_view pattern, const TranscriptTreeWalker::Visitor& visit);

private:
    void walkLevel(int directoryFd, std::string_view pattern);
    void match(int directoryFd, const char* name, std::string_view rest);
    void visitFile(int directoryFd, const char* name);

    std::string m_path;
    const TranscriptTreeWalker::Visitor* m_visit = nullptr;
};
