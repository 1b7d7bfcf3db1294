#pragma once

#include <simdjson.h>

// The prompt rules applied to one parsed transcript record. Every lookup takes the first
// field of a name, as simdjson's own lookups do, so duplicated keys are judged alike by
// every path that decides.
bool isPromptRecord(simdjson::dom::element record) noexcept;
