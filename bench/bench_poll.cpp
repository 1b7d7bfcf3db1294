// Cost of one poll: over a tree where nothing changed (beside a bare listing of the same tree), the
// same with every other assistant's folder present, and after a small append to a very large
// transcript.

#include "AwaitCopyIndex.h"
#include "CorpusGenerator.h"
#include "watcher/FileWatcher.h"

#include <QString>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::uint64_t treeSeed = 20240601;
constexpr std::int64_t bigTranscriptBytes = 500LL * 1024 * 1024;
constexpr std::size_t appendedBytes = 1024;

fs::path workDirectory() {
    return fs::path(ZENTREL_BENCH_WORK_DIR);
}

fs::path transcriptTree(std::size_t fileCount, std::size_t bytesPerFile) {
    return keptTree(
        workDirectory() / ("tree-" + std::to_string(fileCount) + "x" + std::to_string(bytesPerFile)),
        [=](const fs::path& root) { writeTranscriptTree(root, fileCount, bytesPerFile, treeSeed); });
}

std::size_t bytesPerFile(std::size_t fileCount) {
    return fileCount <= 1000 ? 100 * 1024 : 10 * 1024;
}

// The least any poll must do: list every folder and take every file's metadata.
void bareWalk(int directoryFd, std::int64_t& totalLength, std::size_t& files) {
    DIR* directory = ::fdopendir(directoryFd);
    if (!directory) {
        ::close(directoryFd);
        return;
    }
    while (const dirent* entry = ::readdir(directory)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
            continue;
        }
        if (entry->d_type == DT_DIR) {
            const int fd = ::openat(::dirfd(directory), name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fd >= 0) {
                bareWalk(fd, totalLength, files);
            }
            continue;
        }
        struct stat status;
        if (::fstatat(::dirfd(directory), name, &status, 0) == 0) {
            totalLength += status.st_size;
            ++files;
        }
    }
    ::closedir(directory);
}

// Wall time and the process's processor time of one run of work. The processor time stays
// meaningful on a machine busy with other work, where wall time mostly measures waiting.
struct Cost {
    double wall = 0;
    double processor = 0;
    Cost& operator+=(const Cost& other) {
        wall += other.wall;
        processor += other.processor;
        return *this;
    }
};

double processorSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

template <typename Work> Cost measure(Work&& work) {
    const Clock::time_point wallStart = Clock::now();
    const double processorStart = processorSeconds();
    work();
    return {std::chrono::duration<double>(Clock::now() - wallStart).count(),
            processorSeconds() - processorStart};
}

Cost timeBareWalk(const fs::path& root) {
    return measure([&root] {
        std::int64_t totalLength = 0;
        std::size_t files = 0;
        const int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            bareWalk(fd, totalLength, files);
        }
        benchmark::DoNotOptimize(totalLength);
        benchmark::DoNotOptimize(files);
    });
}

void BM_BareWalk(benchmark::State& state) {
    const auto fileCount = static_cast<std::size_t>(state.range(0));
    const fs::path root = transcriptTree(fileCount, bytesPerFile(fileCount));
    for (auto _ : state) {
        state.SetIterationTime(timeBareWalk(root).wall);
    }
    state.counters["files"] = static_cast<double>(fileCount);
}

// Each iteration also times a bare walk of the trees right beside the poll, under the same cache and
// load, and reports how many times longer the poll took, in wall and in processor time.
void pollBesideBareWalks(benchmark::State& state, FileWatcher& watcher, const std::vector<fs::path>& trees) {
    awaitCopyIndex(watcher);
    Cost polling;
    Cost walking;
    for (auto _ : state) {
        const Cost poll = measure([&watcher] { watcher.pollNow(); });
        polling += poll;
        for (const fs::path& tree : trees) {
            walking += timeBareWalk(tree);
        }
        state.SetIterationTime(poll.wall);
    }
    state.counters["files"] = static_cast<double>(watcher.filePositions().size());
    state.counters["contentBytesRead"] = static_cast<double>(watcher.contentBytesRead());
    state.counters["vsBareWalk"] = polling.wall / walking.wall;
    state.counters["vsBareWalkCpu"] = polling.processor / walking.processor;
}

// An idle poll of one Claude Code tree.
void BM_IdlePoll(benchmark::State& state) {
    const auto fileCount = static_cast<std::size_t>(state.range(0));
    const fs::path root = transcriptTree(fileCount, bytesPerFile(fileCount));
    FileWatcher watcher(std::chrono::hours(1));
    watcher.start(QString::fromStdString(root.string()));
    pollBesideBareWalks(state, watcher, {root});
}

// The other assistants' folders beside a Claude Code tree: a Codex history, and per assistant as many
// sessions as the tree has transcripts / 10, ten to a project folder where the layout has them.
fs::path otherAssistantsHome(std::size_t fileCount) {
    const std::size_t sessions = fileCount / 10;
    return keptTree(workDirectory() / ("others-" + std::to_string(sessions)),
                    [sessions](const fs::path& home) {
                        const auto write = [](const fs::path& file) {
                            fs::create_directories(file.parent_path());
                            std::ofstream(file) << "{\"type\":\"user\"}\n";
                        };
                        write(home / "codex" / "history.jsonl");
                        for (std::size_t session = 0; session < sessions; ++session) {
                            const std::string id = std::to_string(session);
                            // Appended rather than `"p" + ...`, which GCC 12 at -O3 misreads as an
                            // overlapping copy.
                            const std::string project = std::string("p").append(std::to_string(session / 10));
                            write(home / "copilot" / "session-state" / id / "events.jsonl");
                            write(home / "qwen" / "projects" / project / "chats" / (id + ".jsonl"));
                            write(home / "gemini" / "tmp" / project / "chats" / ("session-" + id + ".jsonl"));
                        }
                    });
}

std::vector<WatchedRoot> fourRoots(const fs::path& claude, const fs::path& home) {
    return {{Assistant::Claude, claude.string(), {}},
            {Assistant::Codex, (home / "codex").string(), "history.jsonl"},
            {Assistant::Copilot, (home / "copilot").string(), "session-state/*/events.jsonl"},
            {Assistant::Qwen, (home / "qwen").string(), "projects/*/chats/*.jsonl"},
            {Assistant::Gemini, (home / "gemini").string(), "tmp/*/chats/session-*.jsonl"}};
}

// As BM_IdlePoll, with every assistant's folder present; the bare walk lists all of them.
void BM_IdlePollAllAssistants(benchmark::State& state) {
    const auto fileCount = static_cast<std::size_t>(state.range(0));
    const fs::path claude = transcriptTree(fileCount, bytesPerFile(fileCount));
    const fs::path home = otherAssistantsHome(fileCount);
    FileWatcher watcher(std::chrono::hours(1));
    watcher.start(fourRoots(claude, home));
    pollBesideBareWalks(state, watcher, {claude, home});
}

// Whole prompt lines adding up to as near appendedBytes as whole lines allow.
std::string appendedLines() {
    CorpusGenerator generator(treeSeed);
    std::string lines;
    for (;;) {
        const std::string line = generator.line(CorpusGenerator::Kind::Prompt) + '\n';
        if (!lines.empty() && 2 * lines.size() + line.size() > 2 * appendedBytes) {
            return lines;
        }
        lines += line;
    }
}

// A sparse file of 500 MB that ends in real records, made afresh for every run.
fs::path bigTranscriptRoot() {
    const fs::path root = workDirectory() / "big" / "projects";
    fs::create_directories(root / "project");
    const fs::path file = root / "project" / "big.jsonl";
    std::ofstream(file, std::ios::binary | std::ios::trunc).close();
    fs::resize_file(file, bigTranscriptBytes);
    std::ofstream(file, std::ios::binary | std::ios::app) << '\n'
                                                          << CorpusGenerator(treeSeed).transcript(64 * 1024);
    return root;
}

void BM_PollAfterAppend(benchmark::State& state) {
    const fs::path root = bigTranscriptRoot();
    const std::string lines = appendedLines();
    FileWatcher watcher(std::chrono::hours(1));
    std::int64_t prompts = 0;
    watcher.onNewRequest = [&prompts] { ++prompts; };
    watcher.start(QString::fromStdString(root.string()));
    awaitCopyIndex(watcher);
    std::ofstream file(root / "project" / "big.jsonl", std::ios::binary | std::ios::app);
    const std::uint64_t readBefore = watcher.contentBytesRead();
    for (auto _ : state) {
        state.PauseTiming();
        file << lines << std::flush;
        state.ResumeTiming();
        watcher.pollNow();
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["fileMB"] =
        static_cast<double>(fs::file_size(root / "project" / "big.jsonl")) / (1024 * 1024);
    state.counters["appendedBytesPerPoll"] = static_cast<double>(lines.size());
    state.counters["bytesReadPerPoll"] =
        static_cast<double>(watcher.contentBytesRead() - readBefore) / iterations;
    state.counters["promptsPerPoll"] = static_cast<double>(prompts) / iterations;
}

} // namespace

BENCHMARK(BM_BareWalk)->Arg(1000)->Arg(10000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdlePoll)->Arg(1000)->Arg(10000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdlePollAllAssistants)->Arg(1000)->Arg(10000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PollAfterAppend)->Iterations(1000)->Unit(benchmark::kMicrosecond);
