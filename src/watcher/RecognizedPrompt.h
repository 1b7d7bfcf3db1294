#pragma once

#include <cstdint>
#include <optional>

// A transcript line found to be a prompt.
struct RecognizedPrompt {
    // promptIdKey of the record's "uuid" and "timestamp" when both are strings. A copy of the
    // record in another transcript (a resumed or forked conversation) has the same key.
    std::optional<std::uint64_t> idKey;
};
