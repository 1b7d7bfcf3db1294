#include "PromptScreen.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <utility>

namespace {

using simdjson::ondemand::json_type;
using simdjson::ondemand::value;

// Outcome of one rule on the fields read so far. Unreadable stops the screen without a
// verdict: the bytes are left to full validation.
enum class Check { Holds, Fails, Unreadable };

// Runs check(index, value) on the first field named names[index], for every name, in the
// object's field order, and stops at the first outcome that is not Holds. Taking the first
// of duplicated names keeps the screen in step with the DOM lookups that confirm it.
template <std::size_t N, typename CheckField>
Check checkFirstFields(simdjson::ondemand::object& object, const std::array<std::string_view, N>& names,
                       std::bitset<N>& seen, CheckField check) noexcept {
    for (auto result : object) {
        simdjson::ondemand::field field;
        std::string_view key;
        if (std::move(result).get(field) != simdjson::SUCCESS ||
            field.unescaped_key().get(key) != simdjson::SUCCESS) {
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

Check typeOf(value& field, json_type& type) noexcept {
    return field.type().get(type) == simdjson::SUCCESS ? Check::Holds : Check::Unreadable;
}

// Holds when the value is the string `expected`, or (with otherTypesHold) any non-string.
Check stringIs(value& field, std::string_view expected, bool otherTypesHold = false) noexcept {
    json_type type{};
    if (typeOf(field, type) != Check::Holds) {
        return Check::Unreadable;
    }
    if (type != json_type::string) {
        return otherTypesHold ? Check::Holds : Check::Fails;
    }
    std::string_view text;
    if (field.get_string().get(text) != simdjson::SUCCESS) {
        return Check::Unreadable;
    }
    return text == expected ? Check::Holds : Check::Fails;
}

Check isNotTrue(value& field) noexcept {
    json_type type{};
    if (typeOf(field, type) != Check::Holds) {
        return Check::Unreadable;
    }
    bool flag = false;
    if (type != json_type::boolean) {
        return Check::Holds;
    }
    if (field.get_bool().get(flag) != simdjson::SUCCESS) {
        return Check::Unreadable;
    }
    return flag ? Check::Fails : Check::Holds;
}

template <std::size_t N, typename CheckField>
Check checkObject(value& field, const std::array<std::string_view, N>& names, std::bitset<N>& seen,
                  CheckField check) noexcept {
    simdjson::ondemand::object object;
    if (field.get_object().get(object) != simdjson::SUCCESS) {
        return Check::Unreadable;
    }
    return checkFirstFields(object, names, seen, check);
}

Check isToolResult(value& block) noexcept {
    json_type type{};
    if (typeOf(block, type) != Check::Holds) {
        return Check::Unreadable;
    }
    if (type != json_type::object) {
        return Check::Fails;
    }
    static constexpr std::array<std::string_view, 1> names{"type"};
    std::bitset<1> seen;
    const Check outcome =
        checkObject(block, names, seen, [](std::size_t, value& v) { return stringIs(v, "tool_result"); });
    return outcome == Check::Holds && !seen.test(0) ? Check::Fails : outcome;
}

// Holds unless the content is a list made of tool results only (an empty list included).
Check contentIsTyped(value& content) noexcept {
    json_type type{};
    if (typeOf(content, type) != Check::Holds) {
        return Check::Unreadable;
    }
    simdjson::ondemand::array blocks;
    if (type != json_type::array) {
        return Check::Holds;
    }
    if (content.get_array().get(blocks) != simdjson::SUCCESS) {
        return Check::Unreadable;
    }
    for (auto result : blocks) {
        value block;
        if (std::move(result).get(block) != simdjson::SUCCESS) {
            return Check::Unreadable;
        }
        if (const Check outcome = isToolResult(block); outcome != Check::Holds) {
            return outcome == Check::Fails ? Check::Holds : Check::Unreadable;
        }
    }
    return Check::Fails;
}

Check messageIsTyped(value& message) noexcept {
    json_type type{};
    if (typeOf(message, type) != Check::Holds) {
        return Check::Unreadable;
    }
    if (type != json_type::object) {
        return Check::Fails;
    }
    static constexpr std::array<std::string_view, 2> names{"role", "content"};
    std::bitset<2> seen;
    const Check outcome = checkObject(message, names, seen, [](std::size_t index, value& v) {
        return index == 0 ? stringIs(v, "user") : contentIsTyped(v);
    });
    return outcome == Check::Holds && !seen.test(0) ? Check::Fails : outcome;
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
    default:
        return isNotTrue(field);
    }
}

} // namespace

bool rulesOutPrompt(simdjson::ondemand::parser& parser, simdjson::padded_string_view line) noexcept {
    static constexpr std::array<std::string_view, RecordKeyCount> names{
        "type", "isSidechain", "isMeta", "isCompactSummary", "userType", "message"};
    simdjson::ondemand::document document;
    json_type type{};
    if (parser.iterate(line).get(document) != simdjson::SUCCESS ||
        document.type().get(type) != simdjson::SUCCESS) {
        return false;
    }
    if (type != json_type::object) {
        return true;
    }
    simdjson::ondemand::value record;
    if (document.get_value().get(record) != simdjson::SUCCESS) {
        return false;
    }
    std::bitset<RecordKeyCount> seen;
    const Check outcome = checkObject(record, names, seen, checkRecordField);
    if (outcome == Check::Holds) {
        return !seen.test(Type) || !seen.test(Message);
    }
    return outcome == Check::Fails;
}
