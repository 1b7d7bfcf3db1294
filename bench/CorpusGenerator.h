#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Deterministic transcript lines shaped like the assistant's own records (session fields,
// uuid chains, usage blocks, tool calls and their results, non-ASCII text): about 5 % typed
// prompts, 40 % tool results carrying 0.2 to 20 KB of output, and assistant records
// carrying 0.1 to 4 KB of text, tool input or reasoning. The same seed gives the same bytes.
class CorpusGenerator {
public:
    enum class Kind { Prompt, ToolResult, Assistant };

    explicit CorpusGenerator(std::uint64_t seed);

    // One record without its line feed, of a kind drawn in the proportions above.
    std::string nextLine();
    std::string line(Kind kind);
    // Whole lines, each ending in a line feed, until at least `bytes` are written.
    std::string transcript(std::size_t bytes);
    // Whole lines: `prompts` prompts, each followed by `repliesPerPrompt` records of the other kinds.
    std::string conversation(std::size_t prompts, std::size_t repliesPerPrompt);

private:
    std::uint64_t next();
    std::size_t below(std::size_t bound);
    std::size_t between(std::size_t low, std::size_t high);
    std::string hex(std::size_t digits);
    std::string uuid();
    std::string words(std::size_t bytes);
    std::string toolOutput(std::size_t bytes, bool coloured);
    std::string envelope();
    std::string identity();
    std::string prompt();
    std::string toolResult();
    std::string assistant();
    std::string assistantBlock(std::size_t bytes);

    std::uint64_t m_state;
    std::string m_sessionId;
    std::string m_parentUuid;
    std::string m_toolUseId;
    std::uint64_t m_millis = 0;
};

// Writes `fileCount` transcripts of about `bytesPerFile` bytes each below `dir`, spread
// over project folders the way the assistant lays them out (every fifth one a subagent
// transcript one level deeper). Returns the files written, in creation order.
std::vector<std::filesystem::path> writeTranscriptTree(const std::filesystem::path& dir,
                                                       std::size_t fileCount, std::size_t bytesPerFile,
                                                       std::uint64_t seed);
// The same layout, each transcript a conversation() of `promptsPerFile` prompts.
std::vector<std::filesystem::path> writeConversationTree(const std::filesystem::path& dir,
                                                         std::size_t fileCount, std::size_t promptsPerFile,
                                                         std::size_t repliesPerPrompt, std::uint64_t seed);

// `dir`/projects, written by `write` on first use and kept for later runs, since trees are slow to
// write; a stamp beside it marks a finished one.
std::filesystem::path keptTree(const std::filesystem::path& dir,
                               const std::function<void(const std::filesystem::path& root)>& write);
