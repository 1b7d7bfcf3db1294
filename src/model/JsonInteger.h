#pragma once

#include <QJsonValue>
#include <optional>

// The value of a JSON number that is a whole number within 64 bits; nullopt for anything else.
// A number written with a zero fraction (10.0, 1e1) is still that whole number: JSON does not
// distinguish the two, and writers in other languages emit either form.
std::optional<qint64> jsonInteger(const QJsonValue& value);
