#pragma once

#include "watcher/recognizer/LineVerdict.h"
#include "watcher/recognizer/PromptIdentity.h"

#include <functional>
#include <simdjson.h>

struct RecordRules;

// The prompt rules applied to one parsed transcript record: Prompt, or the first rule the record
// fails, in the order of the field table.
LineVerdict promptVerdict(simdjson::dom::element record) noexcept;

// The copy keys of a record, taken while it is still alive so that nothing has to outlive it.
PromptIdentity identityOf(simdjson::dom::object record) noexcept;

// Receives each record's verdict, with the prompt's copy keys when it is one.
using RecordVisitor = std::function<void(LineVerdict verdict, const PromptIdentity& identity)>;

// One parsed line of an assistant judged by its table: the line's record, or each record of the
// list it holds again. True when the line marks its file as one that counts nothing; the line is
// then told as a sub-agent's.
bool judgeRecords(simdjson::dom::element line, const RecordRules& rules, const RecordVisitor& visit);
