#include "PromptScreen.h"

#include <algorithm>
#include <array>
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

// The value's JSON type, or nothing when its bytes cannot be read.
std::optional<json_type> typeOf(value& field) noexcept {
    json_type type{};
    return field.type().get(type) == SUCCESS ? std::optional(type) : std::nullopt;
}

// Runs check(index, value) on the first field named names[index], for every name, in the
// object's field order, and stops at the first outcome that is not Holds. Taking the first
// of duplicated names keeps the screen in step with the DOM lookups that confirm it.
template <std::size_t N, typename CheckField>
Check checkFirstFields(simdjson::ondemand::object& object, const std::array<std::string_view, N>& names,
                       std::bitset<N>& seen, CheckField check) noexcept {
    for (auto result : object) {
        simdjson::ondemand::field field;
        std::string_view key;
        if (std::move(result).get(field) != SUCCESS || field.unescaped_key().get(key) != SUCCESS) {
            return Check::Unreadable;
        }
        const auto index =
            static_cast<std::size_t>(std::find(names.begin(), names.end(), key) - names.begin());
        if (index == N || seen.test(index)) {
            continue;
        }
        seen.set(index);
        if (const Check outcome = check(index, field.value()); outcome != Check::Holds) {
            return outcome;
        }
        if (seen.all()) {
            break;
        }
    }
    return Check::Holds;
}

// Fails when the value is not an object or lacks a required name.
template <std::size_t N, typename CheckField>
Check checkObject(value& field, const std::array<std::string_view, N>& names, std::bitset<N> required,
                  CheckField check) noexcept {
    const auto type = typeOf(field);
    if (type != json_type::object) {
        return type ? Check::Fails : Check::Unreadable;
    }
    simdjson::ondemand::object object;
    if (field.get_object().get(object) != SUCCESS) {
        return Check::Unreadable;
    }
    std::bitset<N> seen;
    const Check outcome = checkFirstFields(object, names, seen, check);
    return outcome == Check::Holds && (required & ~seen).any() ? Check::Fails : outcome;
}

// Holds when the value is the string `expected`, or (with otherTypesHold) any non-string.
Check stringIs(value& field, std::string_view expected, bool otherTypesHold = false) noexcept {
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

Check isToolResult(value& block) noexcept {
    static constexpr std::array<std::string_view, 1> names{"type"};
    return checkObject(block, names, std::bitset<1>(1),
                       [](std::size_t, value& type) { return stringIs(type, "tool_result"); });
}

// Holds unless the content is a list made of tool results only (an empty list included).
Check contentIsTyped(value& content) noexcept {
    const auto type = typeOf(content);
    simdjson::ondemand::array blocks;
    if (type != json_type::array) {
        return type ? Check::Holds : Check::Unreadable;
    }
    if (content.get_array().get(blocks) != SUCCESS) {
        return Check::Unreadable;
    }
    for (auto result : blocks) {
        value block;
        if (std::move(result).get(block) != SUCCESS) {
            return Check::Unreadable;
        }
        if (const Check outcome = isToolResult(block); outcome != Check::Holds) {
            return outcome == Check::Fails ? Check::Holds : Check::Unreadable;
        }
    }
    return Check::Fails;
}

Check messageIsTyped(value& message) noexcept {
    static constexpr std::array<std::string_view, 2> names{"role", "content"};
    return checkObject(message, names, std::bitset<2>(0b01), [](std::size_t index, value& field) {
        return index == 0 ? stringIs(field, "user") : contentIsTyped(field);
    });
}

enum RecordKey : std::size_t {
    Type,
    IsSidechain,
    IsMeta,
    IsCompactSummary,
    UserType,
    Message,
    RecordKeyCount
};

Check checkRecordField(std::size_t key, value& field) noexcept {
    switch (key) {
    case Type:
        return stringIs(field, "user");
    case UserType:
        return stringIs(field, "external", true);
    case Message:
        return messageIsTyped(field);
    default: // the flags that mark records the user did not type
        return isNotTrue(field);
    }
}

} // namespace

bool rulesOutPrompt(simdjson::ondemand::parser& parser, simdjson::padded_string_view line) noexcept {
    static constexpr std::array<std::string_view, RecordKeyCount> names{
        "type", "isSidechain", "isMeta", "isCompactSummary", "userType", "message"};
    const std::bitset<RecordKeyCount> required((1U << Type) | (1U << Message));
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
    return checkObject(record, names, required, checkRecordField) == Check::Fails;
}
