#include "model/JsonInteger.h"

#include <QVariant>
#include <cmath>

std::optional<qint64> jsonInteger(const QJsonValue& value) {
    // An integer literal keeps every digit; only numbers with a fraction or an exponent
    // arrive as doubles and need the range and fraction check.
    const QVariant number = value.toVariant();
    if (number.typeId() == QMetaType::LongLong) {
        return number.toLongLong();
    }
    if (number.typeId() != QMetaType::Double) {
        return std::nullopt;
    }
    const double real = number.toDouble();
    constexpr double limit = 0x1p63;
    if (std::trunc(real) != real || real >= limit || real < -limit) {
        return std::nullopt;
    }
    return static_cast<qint64>(real);
}
