#pragma once

#include <simdjson.h>

// A cheaper first look at a line with simdjson's On-Demand API, which reads only the fields
// the prompt rules need and skips the rest (a tool result's bulk, for instance) unparsed.
// True means the fields read prove the line is not a prompt. False decides nothing: the
// line may still be a prompt or may not even be valid JSON, which full validation settles.
bool rulesOutPrompt(simdjson::ondemand::parser& parser, simdjson::padded_string_view line) noexcept;
