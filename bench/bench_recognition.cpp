// Throughput of prompt recognition over realistic transcript lines, beside what plain JSON
// parsing of the same lines costs: simdjson's DOM parser alone and Qt's QJsonDocument.
#include "CorpusGenerator.h"
#include "RunBenchmarks.h"
#include "watcher/recognizer/LineClassifier.h"
#include "watcher/recognizer/PaddedLine.h"
#include "watcher/recognizer/PromptPrefilter.h"
#include "watcher/recognizer/PromptRecognizer.h"
#include "watcher/recognizer/PromptRules.h"

#include <QByteArray>
#include <QJsonDocument>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <simdjson.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr std::size_t generatedBytes = std::size_t{32} << 20;

struct Corpus {
    std::vector<std::string> lines;
    std::size_t bytes = 0;

    void add(std::string line) {
        bytes += line.size();
        lines.push_back(std::move(line));
    }
};

Corpus generated(std::optional<CorpusGenerator::Kind> only) {
    CorpusGenerator generator(20250903);
    Corpus corpus;
    while (corpus.bytes < generatedBytes) {
        corpus.add(only ? generator.line(*only) : generator.nextLine());
    }
    return corpus;
}

Corpus samples() {
    Corpus corpus;
    const std::filesystem::path folder(ZENTREL_SAMPLE_TRANSCRIPTS);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().extension() != ".jsonl") {
            continue;
        }
        std::ifstream file(entry.path(), std::ios::binary);
        for (std::string line; std::getline(file, line);) {
            if (line.find_first_not_of(" \t\r") != std::string::npos) {
                corpus.add(line);
            }
        }
    }
    return corpus;
}

template <typename PerLine> void overCorpus(benchmark::State& state, const Corpus& corpus, PerLine perLine) {
    for (auto _ : state) {
        std::size_t accepted = 0;
        for (const std::string& line : corpus.lines) {
            accepted += perLine(line) ? 1 : 0;
        }
        benchmark::DoNotOptimize(accepted);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * corpus.bytes));
    state.counters["lines"] = static_cast<double>(corpus.lines.size());
}

void recognition(benchmark::State& state, const Corpus* corpus) {
    PromptRecognizer recognizer;
    overCorpus(state, *corpus,
               [&recognizer](const std::string& line) { return recognizer.isUserPrompt(line).has_value(); });
}

// The same decision without the On-Demand screen: every line past the byte prefilter is
// validated and read with the DOM parser.
void recognitionDomOnly(benchmark::State& state, const Corpus* corpus) {
    PaddedLine buffer;
    simdjson::dom::parser parser;
    overCorpus(state, *corpus, [&](const std::string& line) {
        if (!mayBeUserPrompt(line)) {
            return false;
        }
        const auto padded = buffer.assign(line);
        simdjson::dom::element record;
        return padded &&
               parser.parse(padded->data(), padded->length(), false).get(record) == simdjson::SUCCESS &&
               promptVerdict(record) == LineVerdict::Prompt;
    });
}

// The reasoned verdict `zentrel explain` gives: every line validated and parsed in full.
void classification(benchmark::State& state, const Corpus* corpus) {
    overCorpus(state, *corpus,
               [](const std::string& line) { return classifyLine(line).verdict == LineVerdict::Prompt; });
}

void domParseOnly(benchmark::State& state, const Corpus* corpus) {
    std::vector<simdjson::padded_string> padded;
    for (const std::string& line : corpus->lines) {
        padded.emplace_back(line);
    }
    simdjson::dom::parser parser;
    std::size_t index = 0;
    overCorpus(state, *corpus, [&](const std::string&) {
        const bool valid = parser.parse(padded[index]).error() == simdjson::SUCCESS;
        index = (index + 1) % padded.size();
        return valid;
    });
}

void qtParse(benchmark::State& state, const Corpus* corpus) {
    overCorpus(state, *corpus, [](const std::string& line) {
        const auto bytes = QByteArray::fromRawData(line.data(), static_cast<qsizetype>(line.size()));
        return QJsonDocument::fromJson(bytes).isObject();
    });
}

void registerAll(const std::string& corpusName, const Corpus* corpus) {
    benchmark::RegisterBenchmark(("isUserPrompt/" + corpusName).c_str(), recognition, corpus);
    benchmark::RegisterBenchmark(("domOnlyRecognition/" + corpusName).c_str(), recognitionDomOnly, corpus);
    benchmark::RegisterBenchmark(("classifyLine/" + corpusName).c_str(), classification, corpus);
    benchmark::RegisterBenchmark(("simdjsonDomParse/" + corpusName).c_str(), domParseOnly, corpus);
    benchmark::RegisterBenchmark(("QJsonDocument/" + corpusName).c_str(), qtParse, corpus);
}

} // namespace

int main(int argc, char** argv) {
    static const Corpus mixed = generated(std::nullopt);
    static const Corpus toolResults = generated(CorpusGenerator::Kind::ToolResult);
    static const Corpus sampleLines = samples();
    registerAll("generated", &mixed);
    registerAll("toolResults", &toolResults);
    if (!sampleLines.lines.empty()) {
        registerAll("samples", &sampleLines);
    }
    return runBenchmarks(argc, argv);
}
