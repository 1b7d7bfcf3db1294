#include "PromptRules.h"

namespace {

using simdjson::SUCCESS;
using simdjson::dom::array;
using simdjson::dom::element;
using simdjson::dom::object;

bool hasString(const object& object, std::string_view key, std::string_view expected) noexcept {
    std::string_view value;
    return object.at_key(key).get(value) == SUCCESS && value == expected;
}

bool isTrue(const object& object, std::string_view key) noexcept {
    bool value = false;
    return object.at_key(key).get(value) == SUCCESS && value;
}

bool hasOtherUserType(const object& record) noexcept {
    std::string_view userType;
    return record.at_key("userType").get(userType) == SUCCESS && userType != "external";
}

bool isToolResult(element block) noexcept {
    object fields;
    return block.get(fields) == SUCCESS && hasString(fields, "type", "tool_result");
}

// An absent content, one that is not a list, or a list holding anything besides tool
// results was typed by the user; a list of tool results only (or an empty one) was not.
bool contentIsTyped(const object& message) noexcept {
    array blocks;
    if (message.at_key("content").get(blocks) != SUCCESS) {
        return true;
    }
    for (element block : blocks) {
        if (!isToolResult(block)) {
            return true;
        }
    }
    return false;
}

} // namespace

bool isPromptRecord(element record) noexcept {
    object fields;
    if (record.get(fields) != SUCCESS || !hasString(fields, "type", "user")) {
        return false;
    }
    // Caveats, command expansions and compaction summaries are written by the assistant itself.
    if (isTrue(fields, "isSidechain") || isTrue(fields, "isMeta") || isTrue(fields, "isCompactSummary") ||
        hasOtherUserType(fields)) {
        return false;
    }
    object message;
    if (fields.at_key("message").get(message) != SUCCESS || !hasString(message, "role", "user")) {
        return false;
    }
    return contentIsTyped(message);
}
