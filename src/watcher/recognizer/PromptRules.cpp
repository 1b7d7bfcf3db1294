#include "PromptRules.h"

#include "CopyKey.h"
#include "PromptFields.h"

#include <optional>

namespace {

using simdjson::SUCCESS;
using simdjson::dom::array;
using simdjson::dom::element;
using simdjson::dom::object;

// Each check gives the reason a rule failed, or nothing when it holds.
using Failure = std::optional<LineVerdict>;

Failure checkFields(const object& fields, std::span<const FieldRule> rules) noexcept;

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
        if (item.get(fields) != SUCCESS || checkFields(fields, rules)) {
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

Failure checkContent(const FieldRule& rule, element content) noexcept {
    if (isListOf(content, rule.fields)) {
        return rule.failure;
    }
    const auto text = leadingText(content);
    return text ? markerVerdict(*text) : std::nullopt;
}

// Whether a field that is present meets its rule; an object's own fields are checked apart.
Failure check(const FieldRule& rule, element value) noexcept {
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
        return checkContent(rule, value);
    }
    return holds ? std::nullopt : Failure(rule.failure);
}

Failure checkFields(const object& fields, std::span<const FieldRule> rules) noexcept {
    for (const FieldRule& rule : rules) {
        element value;
        const bool present = fields.at_key(rule.key).get(value) == SUCCESS;
        if (!present) {
            if (isRequired(rule)) {
                return rule.failure;
            }
            continue;
        }
        if (const Failure failure = check(rule, value)) {
            return failure;
        }
        object nested;
        if (hasNestedFields(rule.requirement) && value.get(nested) == SUCCESS) {
            if (const Failure failure = checkFields(nested, rule.fields)) {
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

} // namespace

LineVerdict promptVerdict(element record) noexcept {
    object fields;
    if (record.get(fields) != SUCCESS) {
        return LineVerdict::NotObject;
    }
    return checkFields(fields, promptRecordFields).value_or(LineVerdict::Prompt);
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
