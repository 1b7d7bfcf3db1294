#include "watcher/recognizer/PromptRules.h"

#include "watcher/recognizer/CopyKey.h"
#include "watcher/recognizer/PromptFields.h"
#include "watcher/recognizer/RecordRules.h"

#include <optional>

namespace {

using simdjson::SUCCESS;
using simdjson::dom::array;
using simdjson::dom::element;
using simdjson::dom::object;

// Each check gives the reason a rule failed, or nothing when it holds.
using Failure = std::optional<LineVerdict>;

using Markers = std::span<const AssistantMarker>;

Failure checkFields(const object& fields, std::span<const FieldRule> rules, Markers markers) noexcept;

bool equals(element value, std::string_view expected) noexcept {
    std::string_view text;
    return value.get(text) == SUCCESS && text == expected;
}

bool isNotTrue(element value) noexcept {
    bool flag = false;
    return value.get(flag) != SUCCESS || !flag;
}

// Whether every item is an object meeting the rules; false for anything but a list.
bool isListOf(element value, std::span<const FieldRule> rules) noexcept {
    array items;
    if (value.get(items) != SUCCESS) {
        return false;
    }
    for (element item : items) {
        object fields;
        if (item.get(fields) != SUCCESS || checkFields(fields, rules, {})) {
            return false;
        }
    }
    return true;
}

// The text the assistant's markers are looked for in: a string, or the first block's "text" of a
// list made only of "text" blocks.
std::optional<std::string_view> leadingText(element content) noexcept {
    std::string_view text;
    if (content.get(text) == SUCCESS) {
        return text;
    }
    array blocks;
    if (content.get(blocks) != SUCCESS || blocks.size() == 0) {
        return std::nullopt;
    }
    for (element block : blocks) {
        std::string_view type;
        if (block.at_key("type").get(type) != SUCCESS || type != "text") {
            return std::nullopt;
        }
    }
    if (blocks.at(0).at_key("text").get(text) != SUCCESS) {
        return std::nullopt;
    }
    return text;
}

Failure checkContent(const FieldRule& rule, element content, Markers markers) noexcept {
    if (isListOf(content, rule.fields)) {
        return rule.failure;
    }
    const auto text = leadingText(content);
    return text ? markerVerdict(*text, markers) : std::nullopt;
}

bool holdsField(element part, std::string_view key) noexcept {
    object fields;
    return part.get(fields) == SUCCESS && fields.at_key(key).error() == SUCCESS;
}

Failure checkParts(const FieldRule& rule, element content, Markers markers) noexcept {
    std::string_view text;
    if (content.get(text) == SUCCESS) {
        return markerVerdict(text, markers);
    }
    array parts;
    if (content.get(parts) != SUCCESS || parts.size() == 0) {
        return LineVerdict::NoMessage;
    }
    for (element part : parts) {
        if (holdsField(part, rule.value)) {
            return rule.failure;
        }
    }
    if (parts.at(0).at_key("text").get(text) != SUCCESS) {
        return LineVerdict::NoMessage;
    }
    return markerVerdict(text, markers);
}

// Whether a field that is present meets its rule; an object's own fields are checked apart.
Failure check(const FieldRule& rule, element value, Markers markers) noexcept {
    bool holds = false;
    switch (rule.requirement) {
    case Requirement::Equals:
        holds = equals(value, rule.value);
        break;
    case Requirement::EqualsIfString:
        holds = !value.is_string() || equals(value, rule.value);
        break;
    case Requirement::Differs:
        holds = !equals(value, rule.value);
        break;
    case Requirement::NotTrue:
        holds = isNotTrue(value);
        break;
    case Requirement::Object:
        holds = value.is_object();
        break;
    case Requirement::IfObject:
        holds = true;
        break;
    case Requirement::TypedContent:
        return checkContent(rule, value, markers);
    case Requirement::String:
        holds = value.is_string();
        break;
    case Requirement::Parts:
        return checkParts(rule, value, markers);
    }
    return holds ? std::nullopt : Failure(rule.failure);
}

Failure checkFields(const object& fields, std::span<const FieldRule> rules, Markers markers) noexcept {
    for (const FieldRule& rule : rules) {
        element value;
        const bool present = fields.at_key(rule.key).get(value) == SUCCESS;
        if (!present) {
            if (isRequired(rule)) {
                return rule.failure;
            }
            continue;
        }
        if (const Failure failure = check(rule, value, markers)) {
            return failure;
        }
        object nested;
        if (hasNestedFields(rule.requirement) && value.get(nested) == SUCCESS) {
            if (const Failure failure = checkFields(nested, rule.fields, markers)) {
                return failure;
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string_view> stringAt(object record, std::string_view key) noexcept {
    std::string_view text;
    return record.at_key(key).get(text) == SUCCESS ? std::optional(text) : std::nullopt;
}

void judgeRecord(element item, const RecordRules& rules, const RecordVisitor& visit) {
    object record;
    if (item.get(record) != SUCCESS) {
        visit(LineVerdict::NotObject, {});
        return;
    }
    const LineVerdict verdict =
        checkFields(record, rules.fields, rules.markers).value_or(LineVerdict::Prompt);
    PromptIdentity identity;
    const auto id = rules.idKey.empty() ? std::nullopt : stringAt(record, rules.idKey);
    if (verdict == LineVerdict::Prompt && id) {
        identity.uuid = copyKey(CopyRule::SameMessageId, *id);
    }
    visit(verdict, identity);
}

// The whole list of records a line holds again, when it holds one.
std::optional<array> recordList(element line, const RecordRules& rules) noexcept {
    array records;
    if (rules.listParent.empty() ||
        line.at_key(rules.listParent).at_key(rules.listKey).get(records) != SUCCESS || records.size() == 0) {
        return std::nullopt;
    }
    return records;
}

} // namespace

LineVerdict promptVerdict(element record) noexcept {
    object fields;
    if (record.get(fields) != SUCCESS) {
        return LineVerdict::NotObject;
    }
    return checkFields(fields, promptRecordFields, assistantMarkers).value_or(LineVerdict::Prompt);
}

bool judgeRecords(element line, const RecordRules& rules, const RecordVisitor& visit) {
    object record;
    if (line.get(record) == SUCCESS && !rules.uncountedFile.empty() &&
        !checkFields(record, rules.uncountedFile, rules.markers)) {
        visit(LineVerdict::Sidechain, {});
        return true;
    }
    if (const auto records = recordList(line, rules)) {
        for (element item : *records) {
            judgeRecord(item, rules, visit);
        }
    } else {
        judgeRecord(line, rules, visit);
    }
    return false;
}

PromptIdentity identityOf(object record) noexcept {
    const auto uuid = stringAt(record, "uuid");
    const auto session = stringAt(record, "sessionId");
    const auto timestamp = stringAt(record, "timestamp");
    PromptIdentity identity;
    if (uuid && isCanonicalUuid(*uuid)) {
        identity.uuid = copyKey(CopyRule::SameUuid, *uuid);
    }
    if (session && timestamp) {
        identity.moment = copyKey(CopyRule::SameMoment, *session, *timestamp);
    }
    if (uuid && timestamp) {
        identity.uuidAndTime = copyKey(CopyRule::SameUuidAndTime, *uuid, *timestamp);
    }
    return identity;
}
