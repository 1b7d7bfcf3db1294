// Feeds arbitrary bytes to the prompt line recognisers. Besides crashes and undefined behaviour,
// it checks that the shortcuts of the recogniser (the byte prefilter and the On-Demand screen) never
// change an answer: every line must be judged exactly as classifyLine, which validates and parses
// every line in full, judges it.
#include "watcher/recognizer/LineClassifier.h"
#include "watcher/recognizer/PromptRecognizer.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    static PromptRecognizer recognizer;
    const bool recognised = recognizer.isUserPrompt(line).has_value();
    const LineVerdict verdict = classifyLine(line).verdict;
    if (recognised != (verdict == LineVerdict::Prompt)) {
        std::fprintf(stderr, "the recogniser answered %s, classifyLine found %s\n",
                     recognised ? "true" : "false", reasonText(verdict).data());
        std::abort();
    }
    return 0;
}
