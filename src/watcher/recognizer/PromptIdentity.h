#pragma once

#include <cstdint>
#include <optional>

// What a prompt record carries that a copy of it carries too (see CopyIndex). Each key is a
// CopyKey digest, present only when the record holds the fields it is made of.
struct PromptIdentity {
    // A "uuid" in canonical form, or the message id of an assistant that writes a message again
    // under its id (RecordRules::idKey): no two records share one by chance.
    std::optional<std::uint64_t> uuid;
    // "sessionId" and "timestamp": no one sends two messages in one conversation in the same
    // millisecond, so a second record of that moment is the same message written again.
    std::optional<std::uint64_t> moment;
    // "uuid" and "timestamp" of any form: the same pair in another transcript is a copy.
    std::optional<std::uint64_t> uuidAndTime;
};

// A transcript line found to be a prompt.
struct RecognizedPrompt {
    PromptIdentity identity;
};
