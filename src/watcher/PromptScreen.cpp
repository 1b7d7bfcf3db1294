#include "PromptScreen.h"

#include "PromptFields.h"

#include <algorithm>
#include <bitset>
#include <optional>
#include <utility>

namespace {

using simdjson::SUCCESS;
using simdjson::ondemand::json_type;
using simdjson::ondemand::value;

// Outcome of one rule on the fields read so far. Unreadable stops the screen without a
// verdict: the bytes are left to full validation.
enum class Check { Holds, Fails, Unreadable };

using SeenFields = std::bitset<8>;
static_assert(std::size(promptRecordFields) <= SeenFields().size() &&
              std::size(messageFields) <= SeenFields().size());

Check checkObject(value& field, std::span<const FieldRule> rules) noexcept;

// The value's JSON type, or nothing when its bytes cannot be read.
std::optional<json_type> typeOf(value& field) noexcept {
    json_type type{};
    return field.type().get(type) == SUCCESS ? std::optional(type) : std::nullopt;
}

// Holds when the value is the string `expected`, or (with otherTypesHold) any non-string.
Check stringIs(value& field, std::string_view expected, bool otherTypesHold) noexcept {
    const auto type = typeOf(field);
    if (type != json_type::string) {
        return !type ? Check::Unreadable : otherTypesHold ? Check::Holds : Check::Fails;
    }
    std::string_view text;
    if (field.get_string().get(text) != SUCCESS) {
        return Check::Unreadable;
    }
    return text == expected ? Check::Holds : Check::Fails;
}

Check isNotTrue(value& field) noexcept {
    const auto type = typeOf(field);
    if (type != json_type::boolean) {
        return type ? Check::Holds : Check::Unreadable;
    }
    bool flag = false;
    if (field.get_bool().get(flag) != SUCCESS) {
        return Check::Unreadable;
    }
    return flag ? Check::Fails : Check::Holds;
}

// Fails only for a list whose every element is an object meeting the rules.
Check isNotListOf(value& field, std::span<const FieldRule> rules) noexcept {
    const auto type = typeOf(field);
    simdjson::ondemand::array items;
    if (type != json_type::array) {
        return type ? Check::Holds : Check::Unreadable;
    }
    if (field.get_array().get(items) != SUCCESS) {
        return Check::Unreadable;
    }
    for (auto result : items) {
        value item;
        if (std::move(result).get(item) != SUCCESS) {
            return Check::Unreadable;
        }
        if (const Check outcome = checkObject(item, rules); outcome != Check::Holds) {
            return outcome == Check::Fails ? Check::Holds : Check::Unreadable;
        }
    }
    return Check::Fails;
}

Check checkField(const FieldRule& rule, value& field) noexcept {
    switch (rule.requirement) {
    case Requirement::Equals:
        return stringIs(field, rule.value, false);
    case Requirement::EqualsIfString:
        return stringIs(field, rule.value, true);
    case Requirement::NotTrue:
        return isNotTrue(field);
    case Requirement::Object:
        return checkObject(field, rule.fields);
    case Requirement::NotListOf:
        return isNotListOf(field, rule.fields);
    }
    return Check::Unreadable;
}

// Checks the first field of every name the rules know, in the object's field order, and stops at
// the first outcome that is not Holds. Taking the first of duplicated names keeps the screen in
// step with the DOM lookups that confirm it.
Check checkFirstFields(simdjson::ondemand::object& object, std::span<const FieldRule> rules,
                       SeenFields& seen) noexcept {
    for (auto result : object) {
        simdjson::ondemand::field field;
        std::string_view key;
        if (std::move(result).get(field) != SUCCESS || field.unescaped_key().get(key) != SUCCESS) {
            return Check::Unreadable;
        }
        const auto rule = std::find_if(rules.begin(), rules.end(),
                                       [key](const FieldRule& rule) { return rule.key == key; });
        const auto index = static_cast<std::size_t>(rule - rules.begin());
        if (rule == rules.end() || seen.test(index)) {
            continue;
        }
        seen.set(index);
        if (const Check outcome = checkField(*rule, field.value()); outcome != Check::Holds) {
            return outcome;
        }
        if (seen.count() == rules.size()) {
            break;
        }
    }
    return Check::Holds;
}

// Fails when the value is not an object, or lacks a required field, or a field fails its rule.
Check checkObject(value& field, std::span<const FieldRule> rules) noexcept {
    const auto type = typeOf(field);
    if (type != json_type::object) {
        return type ? Check::Fails : Check::Unreadable;
    }
    simdjson::ondemand::object object;
    if (field.get_object().get(object) != SUCCESS) {
        return Check::Unreadable;
    }
    SeenFields seen;
    const Check outcome = checkFirstFields(object, rules, seen);
    if (outcome != Check::Holds) {
        return outcome;
    }
    for (std::size_t index = 0; index < rules.size(); ++index) {
        if (isRequired(rules[index]) && !seen.test(index)) {
            return Check::Fails;
        }
    }
    return Check::Holds;
}

} // namespace

bool rulesOutPrompt(simdjson::ondemand::parser& parser, simdjson::padded_string_view line) noexcept {
    simdjson::ondemand::document document;
    json_type type{};
    if (parser.iterate(line).get(document) != SUCCESS || document.type().get(type) != SUCCESS) {
        return false;
    }
    if (type != json_type::object) {
        return true;
    }
    simdjson::ondemand::value record;
    if (document.get_value().get(record) != SUCCESS) {
        return false;
    }
    return checkObject(record, promptRecordFields) == Check::Fails;
}
