// Feeds arbitrary bytes to isUserPrompt. Besides crashes and undefined behaviour, it checks
// that the shortcuts (the byte prefilter and the On-Demand screen) never change an answer:
// every line must be judged exactly as full DOM parsing followed by the rules judges it.
#include "PromptLine.h"
#include "PromptRules.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <simdjson.h>

namespace {

bool judgedByDomAlone(std::string_view line) {
    static simdjson::dom::parser parser;
    const simdjson::padded_string padded(line);
    simdjson::dom::element record;
    return parser.parse(padded).get(record) == simdjson::SUCCESS && isPromptRecord(record);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const bool recognised = isUserPrompt(line);
    if (recognised != judgedByDomAlone(line)) {
        std::fprintf(stderr, "isUserPrompt answered %s, full parsing disagrees\n",
                     recognised ? "true" : "false");
        std::abort();
    }
    return 0;
}
