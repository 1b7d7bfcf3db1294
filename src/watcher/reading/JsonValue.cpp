#include "watcher/reading/JsonValue.h"

#include <simdjson.h>

bool isCompleteJsonValue(std::string_view text) noexcept {
    // A fresh parser: this runs only for a file's unterminated last piece, which is rare, and a
    // parser kept around would hold on to memory sized by the largest piece it ever saw.
    simdjson::dom::parser parser;
    return parser.parse(text.data(), text.size(), true).error() == simdjson::SUCCESS;
}
