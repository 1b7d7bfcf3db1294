#include "PromptOracle.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <algorithm>

namespace {

bool isString(const QJsonValue& value, const QString& expected) {
    return value.isString() && value.toString() == expected;
}

bool isToolResultBlock(const QJsonValue& block) {
    return isString(block.toObject().value(QStringLiteral("type")), QStringLiteral("tool_result"));
}

bool recordIsPrompt(const QJsonObject& record) {
    if (!isString(record.value(QStringLiteral("type")), QStringLiteral("user"))) {
        return false;
    }
    for (const auto* flag : {"isSidechain", "isMeta", "isCompactSummary"}) {
        if (record.value(QLatin1StringView(flag)) == QJsonValue(true)) {
            return false;
        }
    }
    const QJsonValue userType = record.value(QStringLiteral("userType"));
    if (userType.isString() && userType.toString() != QStringLiteral("external")) {
        return false;
    }
    const QJsonObject message = record.value(QStringLiteral("message")).toObject();
    if (!record.value(QStringLiteral("message")).isObject() ||
        !isString(message.value(QStringLiteral("role")), QStringLiteral("user"))) {
        return false;
    }
    const QJsonValue content = message.value(QStringLiteral("content"));
    if (!content.isArray()) {
        return true;
    }
    const QJsonArray blocks = content.toArray();
    if (!std::all_of(blocks.begin(), blocks.end(),
                     [](const QJsonValue& block) { return block.isObject(); })) {
        return true;
    }
    if (blocks.isEmpty()) {
        return false;
    }
    return !std::all_of(blocks.begin(), blocks.end(), isToolResultBlock);
}

} // namespace

std::optional<bool> oracleIsUserPrompt(const QByteArray& line) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError) {
        return std::nullopt;
    }
    if (!document.isObject()) {
        return false;
    }
    return recordIsPrompt(document.object());
}
