#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QUuid>
#include <optional>

// One exercise set the user cleared. Plain value; never changed after creation.
struct CompletedSet {
    QUuid id;
    QDateTime date;
    qint64 reps = 0;
    QString exerciseType;

    QJsonObject toJson() const;
    // nullopt when a required key is missing or mistyped (see CompletedSet.cpp).
    static std::optional<CompletedSet> fromJson(const QJsonObject& object);

    friend bool operator==(const CompletedSet&, const CompletedSet&) = default;
};
