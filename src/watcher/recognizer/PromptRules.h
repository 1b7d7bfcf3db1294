#pragma once

#include "LineVerdict.h"
#include "PromptIdentity.h"

#include <simdjson.h>

// The prompt rules applied to one parsed transcript record: Prompt, or the first rule the record
// fails, in the order of the field table.
LineVerdict promptVerdict(simdjson::dom::element record) noexcept;

// The copy keys of a record, taken while it is still alive so that nothing has to outlive it.
PromptIdentity identityOf(simdjson::dom::object record) noexcept;
