// Feeds arbitrary bytes to the prompt line recognisers. Besides crashes and undefined behaviour,
// it checks that the shortcuts of isUserPrompt (the byte prefilter and the On-Demand screen) never
// change an answer: every line must be judged exactly as classifyLine, which validates and parses
// every line in full, judges it.
#include "LineVerdict.h"
#include "PromptLine.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <simdjson.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const bool recognised = isUserPrompt(line) && simdjson::validate_utf8(line.data(), line.size());
    const LineVerdict verdict = classifyLine(line).verdict;
    if (recognised != (verdict == LineVerdict::Prompt)) {
        std::fprintf(stderr, "isUserPrompt answered %s, classifyLine found %s\n",
                     recognised ? "true" : "false", reasonText(verdict).data());
        std::abort();
    }
    return 0;
}
