// Starting with a long history: 1,000 transcripts holding 100,000 prompts are there when watching
// starts. Measures how long start() holds the calling thread (what would hold back the tray icon),
// how long until the copy index is ready, and what the index leaves resident; then what a poll
// costs when a resumed conversation repeats one of those transcripts.

#include "AwaitCopyIndex.h"
#include "CorpusGenerator.h"
#include "watcher/FileWatcher.h"

#include <QString>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::uint64_t treeSeed = 20250901;
constexpr std::size_t fileCount = 1000;
constexpr std::size_t promptsPerFile = 100;
constexpr std::size_t repliesPerPrompt = 1;

fs::path historyTree() {
    return keptTree(fs::path(ZENTREL_BENCH_WORK_DIR) / "history-1000x100", [](const fs::path& root) {
        writeConversationTree(root, fileCount, promptsPerFile, repliesPerPrompt, treeSeed);
    });
}

std::uintmax_t treeBytes(const fs::path& root) {
    std::uintmax_t bytes = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            bytes += entry.file_size();
        }
    }
    return bytes;
}

// A field of /proc/self/status in MB, such as "VmRSS:" or "VmHWM:" (the peak of VmRSS).
double statusMegabytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string name; status >> name;) {
        if (name == field) {
            double kilobytes = 0;
            status >> kilobytes;
            return kilobytes / 1024;
        }
    }
    return 0;
}

// From here on VmHWM reports the peak since now.
void resetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

double milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

double processorSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

void BM_StartWithHistory(benchmark::State& state) {
    const fs::path root = historyTree();
    const QString rootText = QString::fromStdString(root.string());
    double startMs = 0;
    double readyMs = 0;
    double processor = 0;
    double residentGrowth = 0;
    double peakGrowth = 0;
    for (auto _ : state) {
        const double residentBefore = statusMegabytes("VmRSS:");
        resetPeakMemory();
        const double processorStart = processorSeconds();
        const Clock::time_point begin = Clock::now();
        auto watcher = std::make_unique<FileWatcher>(std::chrono::hours(1));
        watcher->start(rootText);
        const Clock::time_point started = Clock::now();
        awaitCopyIndex(*watcher);
        const Clock::time_point ready = Clock::now();
        processor += processorSeconds() - processorStart;
        startMs += milliseconds(started - begin);
        readyMs += milliseconds(ready - begin);
        residentGrowth += statusMegabytes("VmRSS:") - residentBefore;
        peakGrowth += statusMegabytes("VmHWM:") - residentBefore;
        state.SetIterationTime(std::chrono::duration<double>(ready - begin).count());
    }
    const auto iterations = static_cast<double>(state.iterations());
    const double megabytes = static_cast<double>(treeBytes(root)) / (1024 * 1024);
    state.counters["prompts"] = static_cast<double>(fileCount * promptsPerFile);
    state.counters["treeMB"] = megabytes;
    state.counters["startMs"] = startMs / iterations;
    state.counters["readyMs"] = readyMs / iterations;
    state.counters["cpuMs"] = 1000 * processor / iterations;
    state.counters["MBps"] = megabytes * iterations * 1000 / readyMs;
    state.counters["residentGrowthMB"] = residentGrowth / iterations;
    state.counters["peakGrowthMB"] = peakGrowth / iterations;
}

// Each iteration resumes one of the conversations: a new transcript repeating all of its records,
// then a prompt of its own. Only that one counts.
void BM_PollOverResumedConversation(benchmark::State& state) {
    const fs::path root = historyTree();
    FileWatcher watcher(std::chrono::hours(1));
    std::int64_t prompts = 0;
    watcher.onNewRequest = [&prompts] { ++prompts; };
    watcher.start(QString::fromStdString(root.string()));
    awaitCopyIndex(watcher);
    const fs::path original = root / "-home-dev-projects-app0" / "transcript-0.jsonl";
    const fs::path resumed = root / "-home-dev-projects-app0" / "resumed";
    fs::create_directories(resumed);
    CorpusGenerator newPrompts(treeSeed - 1);
    std::size_t resumes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path copy = resumed / ("resume-" + std::to_string(resumes++) + ".jsonl");
        fs::copy_file(original, copy, fs::copy_options::overwrite_existing);
        std::ofstream(copy, std::ios::binary | std::ios::app)
            << newPrompts.line(CorpusGenerator::Kind::Prompt) << '\n';
        state.ResumeTiming();
        watcher.pollNow();
    }
    fs::remove_all(resumed);
    state.counters["copiedPrompts"] = static_cast<double>(promptsPerFile);
    state.counters["promptsPerPoll"] = static_cast<double>(prompts) / static_cast<double>(state.iterations());
}

} // namespace

BENCHMARK(BM_StartWithHistory)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PollOverResumedConversation)->Iterations(50)->Unit(benchmark::kMillisecond);
