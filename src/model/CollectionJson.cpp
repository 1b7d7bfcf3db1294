#include "model/CollectionJson.h"

#include "model/JsonInteger.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace CollectionJson {
namespace {
std::optional<QJsonDocument> parse(const QByteArray& json) {
    QJsonParseError error{};
    QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        return std::nullopt;
    }
    return document;
}
} // namespace

QByteArray encodeHistory(const QList<CompletedSet>& history) {
    QJsonArray array;
    for (const CompletedSet& set : history) {
        array.append(set.toJson());
    }
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

std::optional<QList<CompletedSet>> decodeHistory(const QByteArray& json) {
    const auto document = parse(json);
    if (!document || !document->isArray()) {
        return std::nullopt;
    }
    QList<CompletedSet> history;
    for (const QJsonValue& element : document->array()) {
        const auto set = element.isObject() ? CompletedSet::fromJson(element.toObject()) : std::nullopt;
        if (!set) {
            return std::nullopt;
        }
        history.append(*set);
    }
    return history;
}

QByteArray encodeDailyPrompts(const QMap<QString, qint64>& dailyPrompts) {
    QJsonObject object;
    for (auto day = dailyPrompts.cbegin(); day != dailyPrompts.cend(); ++day) {
        object.insert(day.key(), day.value());
    }
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<QMap<QString, qint64>> decodeDailyPrompts(const QByteArray& json) {
    const auto document = parse(json);
    if (!document || !document->isObject()) {
        return std::nullopt;
    }
    const QJsonObject object = document->object();
    QMap<QString, qint64> dailyPrompts;
    for (auto day = object.constBegin(); day != object.constEnd(); ++day) {
        const auto count = jsonInteger(day.value());
        if (!count) {
            return std::nullopt;
        }
        dailyPrompts.insert(day.key(), *count);
    }
    return dailyPrompts;
}
} // namespace CollectionJson
