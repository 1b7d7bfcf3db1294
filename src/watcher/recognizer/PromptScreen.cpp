#include "watcher/recognizer/PromptScreen.h"

#include "watcher/recognizer/PromptFields.h"

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

using SeenFields = std::bitset<16>;
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

Check differs(value& field, std::string_view unwanted) noexcept {
    const auto type = typeOf(field);
    if (type != json_type::string) {
        return type ? Check::Holds : Check::Unreadable;
    }
    const Check equal = stringIs(field, unwanted, false);
    return equal == Check::Unreadable ? equal : equal == Check::Holds ? Check::Fails : Check::Holds;
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

// What the rules need to know of a content list, gathered in one pass over its blocks.
struct Blocks {
    bool allToolResults = true;
    bool allText = true;
    std::optional<std::string_view> firstText;
};

// Reads a field's string into `text`, nothing when it holds another type; false when its bytes
// cannot be read.
bool readString(value& field, std::optional<std::string_view>& text) noexcept {
    const auto type = typeOf(field);
    std::string_view string;
    if (!type || (type == json_type::string && field.get_string().get(string) != SUCCESS)) {
        return false;
    }
    text = type == json_type::string ? std::optional(string) : std::nullopt;
    return true;
}

// The first "type" of one block and, of the first block, its first "text".
Check readBlock(value& item, bool first, Blocks& blocks) noexcept {
    const auto type = typeOf(item);
    simdjson::ondemand::object object;
    if (type != json_type::object) {
        blocks.allToolResults = blocks.allText = false;
        return type ? Check::Holds : Check::Unreadable;
    }
    if (item.get_object().get(object) != SUCCESS) {
        return Check::Unreadable;
    }
    std::optional<std::string_view> blockType;
    bool typeSeen = false;
    bool textSeen = !first;
    for (auto result : object) {
        simdjson::ondemand::field field;
        std::string_view key;
        if (std::move(result).get(field) != SUCCESS || field.unescaped_key().get(key) != SUCCESS) {
            return Check::Unreadable;
        }
        std::optional<std::string_view>* wanted = nullptr;
        if (key == "type" && !std::exchange(typeSeen, true)) {
            wanted = &blockType;
        } else if (key == "text" && !std::exchange(textSeen, true)) {
            wanted = &blocks.firstText;
        }
        if (wanted && !readString(field.value(), *wanted)) {
            return Check::Unreadable;
        }
        // Only a text block's text can be a marker.
        textSeen = textSeen || (typeSeen && blockType != "text");
        if (typeSeen && textSeen) {
            break;
        }
    }
    blocks.allToolResults = blocks.allToolResults && blockType == "tool_result";
    blocks.allText = blocks.allText && blockType == "text";
    return Check::Holds;
}

Check isTypedList(value& field) noexcept {
    simdjson::ondemand::array items;
    if (field.get_array().get(items) != SUCCESS) {
        return Check::Unreadable;
    }
    Blocks blocks;
    bool first = true;
    for (auto result : items) {
        value item;
        if (std::move(result).get(item) != SUCCESS || readBlock(item, first, blocks) != Check::Holds) {
            return Check::Unreadable;
        }
        first = false;
        if (!blocks.allToolResults && !blocks.allText) {
            return Check::Holds;
        }
    }
    if (blocks.allToolResults) {
        return Check::Fails;
    }
    // Every block is a text block here: a list of any other mix returned above.
    return blocks.firstText && markerVerdict(*blocks.firstText) ? Check::Fails : Check::Holds;
}

// Fails for a list of tool results only, or text that an assistant marker begins.
Check isTypedContent(value& field) noexcept {
    const auto type = typeOf(field);
    if (type == json_type::array) {
        return isTypedList(field);
    }
    if (type != json_type::string) {
        return type ? Check::Holds : Check::Unreadable;
    }
    std::string_view text;
    if (field.get_string().get(text) != SUCCESS) {
        return Check::Unreadable;
    }
    return markerVerdict(text) ? Check::Fails : Check::Holds;
}

Check ifObject(value& field, std::span<const FieldRule> rules) noexcept {
    const auto type = typeOf(field);
    if (type != json_type::object) {
        return type ? Check::Holds : Check::Unreadable;
    }
    return checkObject(field, rules);
}

Check checkField(const FieldRule& rule, value& field) noexcept {
    switch (rule.requirement) {
    case Requirement::Equals:
        return stringIs(field, rule.value, false);
    case Requirement::EqualsIfString:
        return stringIs(field, rule.value, true);
    case Requirement::Differs:
        return differs(field, rule.value);
    case Requirement::NotTrue:
        return isNotTrue(field);
    case Requirement::Object:
        return checkObject(field, rule.fields);
    case Requirement::IfObject:
        return ifObject(field, rule.fields);
    case Requirement::TypedContent:
        return isTypedContent(field);
    case Requirement::String:
    case Requirement::Parts: // other assistants' rows, which the screen never reads
        break;
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
