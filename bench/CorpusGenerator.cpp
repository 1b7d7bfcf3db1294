#include "CorpusGenerator.h"

#include <array>
#include <cstdio>
#include <fstream>

namespace {

constexpr std::array<std::string_view, 40> vocabulary{
    "the",   "build",  "fails",    "because", "of",         "a",        "missing", "header",
    "test",  "passes", "function", "returns", "value",      "when",     "config",  "file",
    "is",    "empty",  "refactor", "module",  "into",       "smaller",  "parts",   "check",
    "grüße", "naïve",  "façade",   "日本語",  "テスト",     "données",  "→",       "✓",
    "😀",     "`npm",   "run",      "lint`",   "\"quoted\"", "C:\\path", "done.\n", "- item\n"};

constexpr std::array<std::string_view, 8> outputLines{
    "drwxr-xr-x  5 dev dev   160 Dec 18 17:28 src",
    "-rw-r--r--  1 dev dev  5832 Dec 12 11:00 README.md",
    "    at Object.<anonymous> (/home/dev/project/src/index.ts:42:13)",
    "PASS  tests/unit/parser.test.ts (1.204 s)",
    "  expect(screen.getByRole('list')).toBeVisible();",
    "  const value = await fetch(`${base}/api/items?id=${id}`);",
    "error[E0308]: mismatched types: expected `u32`, found `&str`",
    "Überprüfung abgeschlossen — 3 Warnungen, 0 Fehler"};

// Test runners colour their output; the escape bytes end up as \u001b in the record.
constexpr std::string_view colouredLine = "\x1b[32m✓\x1b[0m renders the list \x1b[2m(12 ms)\x1b[0m";

// JSON string body for UTF-8 text: quotes, backslashes and control characters escaped.
void appendEscaped(std::string& out, std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
}

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    appendEscaped(out, text);
    return out + '"';
}

} // namespace

CorpusGenerator::CorpusGenerator(std::uint64_t seed)
    : m_state(seed) {
    m_sessionId = uuid();
    m_parentUuid = uuid();
    m_toolUseId = "toolu_01" + hex(22);
}

// splitmix64: tiny, fast, and the same everywhere.
std::uint64_t CorpusGenerator::next() {
    std::uint64_t z = (m_state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

std::size_t CorpusGenerator::below(std::size_t bound) {
    return static_cast<std::size_t>(next() % bound);
}

std::size_t CorpusGenerator::between(std::size_t low, std::size_t high) {
    return low + below(high - low + 1);
}

std::string CorpusGenerator::hex(std::size_t digits) {
    static constexpr std::string_view alphabet = "0123456789abcdef";
    std::string out(digits, '0');
    for (char& c : out) {
        c = alphabet[below(16)];
    }
    return out;
}

std::string CorpusGenerator::uuid() {
    return hex(8) + '-' + hex(4) + "-4" + hex(3) + '-' + hex(4) + '-' + hex(12);
}

std::string CorpusGenerator::words(std::size_t bytes) {
    std::string text;
    while (text.size() < bytes) {
        text += vocabulary[below(vocabulary.size())];
        text += ' ';
    }
    return text;
}

std::string CorpusGenerator::toolOutput(std::size_t bytes, bool coloured) {
    std::string text;
    while (text.size() < bytes) {
        text += coloured && below(8) == 0 ? colouredLine : outputLines[below(outputLines.size())];
        text += '\n';
    }
    return text;
}

// The session fields every conversation record starts with.
std::string CorpusGenerator::envelope() {
    return R"({"parentUuid":")" + m_parentUuid + R"(","isSidechain":false,"userType":"external",)" +
           R"("cwd":"/home/dev/projects/todo-app","sessionId":")" + m_sessionId +
           R"(","version":"2.0.76","gitBranch":"main",)";
}

// The record's own identity and time, which the next record points back to.
std::string CorpusGenerator::identity() {
    m_millis += between(200, 30000);
    const std::uint64_t seconds = m_millis / 1000;
    char timestamp[40];
    std::snprintf(timestamp, sizeof timestamp, "2025-09-%02uT%02u:%02u:%02u.%03uZ",
                  static_cast<unsigned>(3 + seconds / 86400 % 27), static_cast<unsigned>(seconds / 3600 % 24),
                  static_cast<unsigned>(seconds / 60 % 60), static_cast<unsigned>(seconds % 60),
                  static_cast<unsigned>(m_millis % 1000));
    m_parentUuid = uuid();
    return R"("uuid":")" + m_parentUuid + R"(","timestamp":")" + timestamp + '"';
}

std::string CorpusGenerator::prompt() {
    const std::string text = jsonString(words(between(10, 400)));
    const std::string content = below(10) < 7 ? text : R"([{"type":"text","text":)" + text + "}]";
    return envelope() + R"("type":"user","message":{"role":"user","content":)" + content + "}," + identity() +
           R"(,"thinkingMetadata":{"level":"high","disabled":false,"triggers":[]},"todos":[]})";
}

std::string CorpusGenerator::toolResult() {
    // The assistant stores a tool's output twice: in the message and in toolUseResult.
    const std::string output = jsonString(toolOutput(between(200, 20 * 1024) / 2, true));
    return envelope() + R"("type":"user","message":{"role":"user","content":[{"tool_use_id":")" +
           m_toolUseId + R"(","type":"tool_result","content":)" + output + R"(,"is_error":false}]},)" +
           identity() + R"(,"toolUseResult":{"stdout":)" + output +
           R"(,"stderr":"","interrupted":false,"isImage":false}})";
}

std::string CorpusGenerator::assistantBlock(std::size_t bytes) {
    switch (below(3)) {
    case 0:
        return R"({"type":"text","text":)" + jsonString(words(bytes)) + '}';
    case 1:
        m_toolUseId = "toolu_01" + hex(22);
        return R"({"type":"tool_use","id":")" + m_toolUseId + R"(","name":"Bash","input":{"command":)" +
               jsonString(toolOutput(bytes, false)) + R"(,"description":"Run the check"}})";
    default:
        return R"({"type":"thinking","thinking":)" + jsonString(words(bytes)) + R"(,"signature":")" +
               hex(bytes / 4) + "\"}";
    }
}

std::string CorpusGenerator::assistant() {
    return envelope() + R"("message":{"model":"claude-sonnet-4-5-20250929","id":"msg_01)" + hex(22) +
           R"(","type":"message","role":"assistant","content":[)" + assistantBlock(between(100, 4096)) +
           R"(],"stop_reason":null,"stop_sequence":null,"usage":{"input_tokens":)" +
           std::to_string(below(5000)) +
           R"(,"cache_creation_input_tokens":5061,"cache_read_input_tokens":12834,"output_tokens":)" +
           std::to_string(below(900)) + R"(,"service_tier":"standard"}},"requestId":"req_011C)" + hex(20) +
           R"(","type":"assistant",)" + identity() + '}';
}

std::string CorpusGenerator::line(Kind kind) {
    switch (kind) {
    case Kind::Prompt:
        return prompt();
    case Kind::ToolResult:
        return toolResult();
    case Kind::Assistant:
        return assistant();
    }
    return {};
}

std::string CorpusGenerator::nextLine() {
    const std::size_t roll = below(100);
    return line(roll < 5 ? Kind::Prompt : roll < 45 ? Kind::ToolResult : Kind::Assistant);
}

std::string CorpusGenerator::transcript(std::size_t bytes) {
    std::string text;
    while (text.size() < bytes) {
        text += nextLine();
        text += '\n';
    }
    return text;
}

std::string CorpusGenerator::conversation(std::size_t prompts, std::size_t repliesPerPrompt) {
    std::string text;
    for (std::size_t prompt = 0; prompt < prompts; ++prompt) {
        text += line(Kind::Prompt) + '\n';
        for (std::size_t reply = 0; reply < repliesPerPrompt; ++reply) {
            // Tool results and assistant records in the proportions nextLine() draws them.
            text += line(below(95) < 40 ? Kind::ToolResult : Kind::Assistant) + '\n';
        }
    }
    return text;
}

namespace {

std::vector<std::filesystem::path> writeTree(const std::filesystem::path& dir, std::size_t fileCount,
                                             std::uint64_t seed,
                                             const std::function<std::string(CorpusGenerator&)>& content) {
    const std::size_t projectCount = fileCount / 20 + 1;
    std::vector<std::filesystem::path> files;
    for (std::size_t i = 0; i < fileCount; ++i) {
        CorpusGenerator generator(seed + i);
        std::filesystem::path folder = dir / ("-home-dev-projects-app" + std::to_string(i % projectCount));
        if (i % 5 == 4) {
            folder /= "session" + std::to_string(i) + "/subagents";
        }
        std::filesystem::create_directories(folder);
        files.push_back(folder / ("transcript-" + std::to_string(i) + ".jsonl"));
        std::ofstream(files.back(), std::ios::binary) << content(generator);
    }
    return files;
}

} // namespace

std::vector<std::filesystem::path> writeTranscriptTree(const std::filesystem::path& dir,
                                                       std::size_t fileCount, std::size_t bytesPerFile,
                                                       std::uint64_t seed) {
    return writeTree(dir, fileCount, seed, [bytesPerFile](CorpusGenerator& generator) {
        return generator.transcript(bytesPerFile);
    });
}

std::vector<std::filesystem::path> writeConversationTree(const std::filesystem::path& dir,
                                                         std::size_t fileCount, std::size_t promptsPerFile,
                                                         std::size_t repliesPerPrompt, std::uint64_t seed) {
    return writeTree(dir, fileCount, seed, [=](CorpusGenerator& generator) {
        return generator.conversation(promptsPerFile, repliesPerPrompt);
    });
}

std::filesystem::path keptTree(const std::filesystem::path& dir,
                               const std::function<void(const std::filesystem::path& root)>& write) {
    const std::filesystem::path root = dir / "projects";
    if (!std::filesystem::exists(dir / "complete")) {
        std::filesystem::remove_all(dir);
        write(root);
        std::ofstream(dir / "complete") << "written\n";
    }
    return root;
}
