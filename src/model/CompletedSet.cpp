#include "model/CompletedSet.h"

#include "model/ExerciseCatalogue.h"
#include "model/JsonInteger.h"

#include <QRegularExpression>
#include <cmath>

namespace {
const QString idKey = QStringLiteral("id");
const QString dateKey = QStringLiteral("date");
const QString repsKey = QStringLiteral("reps");
const QString exerciseTypeKey = QStringLiteral("exerciseType");

// Dates are stored as seconds since this moment, the reference date other writers of the
// same store use.
constexpr qint64 referenceDateMSecsSinceEpoch = 978307200000; // 2001-01-01T00:00:00Z
// About 31 million years either side: far beyond any real date, well inside what a
// millisecond count in 64 bits holds, so the conversion below cannot overflow.
constexpr double largestSeconds = 1e15;

std::optional<QUuid> idFromJson(const QJsonValue& value) {
    // Only the canonical 36-character form counts; QUuid alone would also take braces.
    static const QRegularExpression canonical(
        QStringLiteral("^[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}$"));
    const QString text = value.toString();
    if (!value.isString() || !canonical.match(text).hasMatch()) {
        return std::nullopt;
    }
    return QUuid::fromString(text);
}

std::optional<QDateTime> dateFromJson(const QJsonValue& value) {
    if (!value.isDouble() || std::abs(value.toDouble()) > largestSeconds) {
        return std::nullopt;
    }
    // QDateTime keeps milliseconds: rounding (not truncating) makes every date this program
    // writes read back as exactly the same moment.
    const auto msecs = static_cast<qint64>(std::llround(value.toDouble() * 1000.0));
    return QDateTime::fromMSecsSinceEpoch(referenceDateMSecsSinceEpoch + msecs, Qt::UTC);
}

double dateToJson(const QDateTime& date) {
    return static_cast<double>(date.toMSecsSinceEpoch() - referenceDateMSecsSinceEpoch) / 1000.0;
}

std::optional<QString> exerciseTypeFromJson(const QJsonValue& value) {
    if (value.isUndefined() || value.isNull()) {
        return defaultExerciseType();
    }
    if (!value.isString()) {
        return std::nullopt;
    }
    return value.toString();
}
} // namespace

QJsonObject CompletedSet::toJson() const {
    return QJsonObject{
        {idKey, id.toString(QUuid::WithoutBraces).toUpper()},
        {dateKey, dateToJson(date)},
        {repsKey, reps},
        {exerciseTypeKey, exerciseType},
    };
}

// Unknown keys are ignored; "exerciseType" may be missing or null (older records have none).
std::optional<CompletedSet> CompletedSet::fromJson(const QJsonObject& object) {
    const auto id = idFromJson(object.value(idKey));
    const auto date = dateFromJson(object.value(dateKey));
    const auto reps = jsonInteger(object.value(repsKey));
    const auto exerciseType = exerciseTypeFromJson(object.value(exerciseTypeKey));
    if (!id || !date || !reps || !exerciseType) {
        return std::nullopt;
    }
    return CompletedSet{*id, *date, *reps, *exerciseType};
}
