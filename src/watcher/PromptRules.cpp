#include "PromptRules.h"

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

// Whether a field that is present meets its rule; an object's own fields are checked apart.
bool holds(const FieldRule& rule, element value) noexcept {
    switch (rule.requirement) {
    case Requirement::Equals:
        return equals(value, rule.value);
    case Requirement::EqualsIfString:
        return !value.is_string() || equals(value, rule.value);
    case Requirement::NotTrue: {
        bool flag = false;
        return value.get(flag) != SUCCESS || !flag;
    }
    case Requirement::Object:
        return value.is_object();
    case Requirement::NotListOf: {
        array items;
        if (value.get(items) != SUCCESS) {
            return true;
        }
        for (element item : items) {
            object fields;
            if (item.get(fields) != SUCCESS || checkFields(fields, rule.fields)) {
                return true;
            }
        }
        return false;
    }
    }
    return false;
}

Failure checkFields(const object& fields, std::span<const FieldRule> rules) noexcept {
    for (const FieldRule& rule : rules) {
        element value;
        const bool present = fields.at_key(rule.key).get(value) == SUCCESS;
        if (present ? !holds(rule, value) : isRequired(rule)) {
            return rule.failure;
        }
        object nested;
        if (present && rule.requirement == Requirement::Object && value.get(nested) == SUCCESS) {
            if (const Failure failure = checkFields(nested, rule.fields)) {
                return failure;
            }
        }
    }
    return std::nullopt;
}

} // namespace

LineVerdict promptVerdict(element record) noexcept {
    object fields;
    if (record.get(fields) != SUCCESS) {
        return LineVerdict::NotObject;
    }
    return checkFields(fields, promptRecordFields).value_or(LineVerdict::Prompt);
}
