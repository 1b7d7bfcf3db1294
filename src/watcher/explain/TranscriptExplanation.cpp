#include "watcher/explain/TranscriptExplanation.h"

#include "watcher/copies/CopyIndex.h"
#include "watcher/explain/AssistantOfLog.h"
#include "watcher/explain/TranscriptStart.h"
#include "watcher/reading/AppendedLineReader.h"
#include "watcher/reading/TranscriptFile.h"
#include "watcher/reading/TranscriptLines.h"
#include "watcher/recognizer/LineClassifier.h"
#include "watcher/walking/TranscriptTreeWalker.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <tuple>

namespace {

struct Transcript {
    std::string path;
    std::optional<std::int64_t> start;
    // A resumed conversation can begin with the very records of the one it resumes; it was
    // written to last.
    timespec modified;

    bool operator<(const Transcript& other) const {
        if (start != other.start) {
            return start && (!other.start || *start < *other.start);
        }
        return std::tie(modified.tv_sec, modified.tv_nsec) <
               std::tie(other.modified.tv_sec, other.modified.tv_nsec);
    }
};

bool isFolder(const std::string& path) {
    struct stat status;
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

timespec modificationTime(const std::string& path) {
    struct stat status;
    return ::stat(path.c_str(), &status) == 0 ? status.st_mtim : timespec{};
}

// The files named and, for each folder, the transcripts below it in name order.
std::vector<std::string> expandFolders(const std::vector<std::string>& paths) {
    std::vector<std::string> files;
    TranscriptTreeWalker walker;
    for (const std::string& path : paths) {
        if (!isFolder(path)) {
            files.push_back(path);
            continue;
        }
        const auto first = static_cast<std::ptrdiff_t>(files.size());
        walker.walk(path, [&files](const std::string& file, std::int64_t) { files.push_back(file); });
        std::sort(files.begin() + first, files.end());
    }
    return files;
}

// Oldest first; those without a time after all others.
std::vector<Transcript> inWritingOrder(const std::vector<std::string>& files) {
    std::vector<Transcript> transcripts;
    for (const std::string& file : files) {
        transcripts.push_back({file, transcriptStart(file), modificationTime(file)});
    }
    std::stable_sort(transcripts.begin(), transcripts.end());
    return transcripts;
}

class Explainer {
public:
    explicit Explainer(bool withLines)
        : m_withLines(withLines) {}

    TranscriptExplanation explain(const std::string& path) {
        TranscriptExplanation explanation;
        explanation.path = path;
        const UniqueFd file = openTranscript(path);
        // A folder or a pipe opens too, but the watcher reads nothing from either.
        struct stat status;
        if (!file.isOpen() || ::fstat(file.get(), &status) != 0) {
            explanation.error = errno;
            return explanation;
        }
        if (!S_ISREG(status.st_mode)) {
            explanation.error = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
            return explanation;
        }
        explanation.assistant = assistantOfLog(path);
        m_transcript = m_copies.transcriptOf(path);
        m_uncounted = false;
        AppendedLineReader reader;
        reader.begin(file.get(), 0, status.st_size);
        std::int64_t number = 0;
        while (const auto lines = reader.next()) {
            explainLines(lines->text, number, explanation);
        }
        return explanation;
    }

private:
    // After a line that says the log counts nothing, every line is told as that log's.
    void explainLines(std::string_view lines, std::int64_t& number, TranscriptExplanation& explanation) {
        while (!lines.empty()) {
            ++number;
            const std::string_view line = takeLine(lines);
            if (line.empty()) {
                continue;
            }
            if (m_uncounted) {
                tell(number, LineVerdict::Sidechain, explanation);
                continue;
            }
            m_uncounted = classifyRecords(
                line, explanation.assistant,
                [this, number, &explanation](LineVerdict verdict, const PromptIdentity& identity) {
                    if (verdict == LineVerdict::Prompt && m_copies.enter(identity, m_transcript)) {
                        verdict = LineVerdict::Copy;
                    }
                    tell(number, verdict, explanation);
                });
        }
    }

    void tell(std::int64_t number, LineVerdict verdict, TranscriptExplanation& explanation) const {
        if (verdict == LineVerdict::Prompt) {
            ++explanation.prompts;
        } else {
            ++explanation.ignored[verdict];
        }
        if (m_withLines) {
            explanation.lines.emplace_back(number, verdict);
        }
    }

    bool m_withLines;
    CopyIndex m_copies;
    CopyIndex::Transcript m_transcript = 0;
    bool m_uncounted = false;
};

} // namespace

std::vector<TranscriptExplanation> explainTranscripts(const std::vector<std::string>& paths, bool withLines) {
    Explainer explainer(withLines);
    std::vector<TranscriptExplanation> explanations;
    for (const Transcript& transcript : inWritingOrder(expandFolders(paths))) {
        explanations.push_back(explainer.explain(transcript.path));
    }
    return explanations;
}
