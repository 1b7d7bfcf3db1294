#include "PromptOracle.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

bool recordIsPrompt(const QJsonObject& record) {
    const QJsonValue user(u"user"_s);
    const QJsonValue userType = record.value(u"userType"_s);
    const QJsonValue message = record.value(u"message"_s);
    if (record.value(u"type"_s) != user || (userType.isString() && userType != QJsonValue(u"external"_s)) ||
        !message.isObject() || message.toObject().value(u"role"_s) != user) {
        return false;
    }
    for (const QString& flag : {u"isSidechain"_s, u"isMeta"_s, u"isCompactSummary"_s}) {
        if (record.value(flag) == QJsonValue(true)) {
            return false;
        }
    }
    const QJsonValue content = message.toObject().value(u"content"_s);
    const QJsonArray blocks = content.toArray();
    if (!content.isArray() || !std::all_of(blocks.begin(), blocks.end(),
                                           [](const QJsonValue& block) { return block.isObject(); })) {
        return true;
    }
    return std::any_of(blocks.begin(), blocks.end(), [](const QJsonValue& block) {
        return block.toObject().value(u"type"_s) != QJsonValue(u"tool_result"_s);
    });
}

} // namespace

std::optional<bool> oracleIsUserPrompt(const QByteArray& line) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError) {
        return std::nullopt;
    }
    return document.isObject() && recordIsPrompt(document.object());
}
