#include "JsonInteger.h"

#include <cmath>

std::optional<qint64> jsonInteger(const QJsonValue& value) {
    if (!value.isDouble())
        return std::nullopt;
    // toDouble() only classifies; toInteger() keeps every digit of a large integer literal.
    const double number = value.toDouble();
    constexpr double limit = 0x1p63;
    if (std::trunc(number) != number || number >= limit || number < -limit)
        return std::nullopt;
    return value.toInteger();
}
