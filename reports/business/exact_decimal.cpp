#include "reports/business/exact_decimal.h"

#include "db/value.h"
#include "reports/common/rounding.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr qint64 powerOfTen(int n) {
    qint64 p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

// `numerator` / `denominator` (positive), halves away from zero.
qint64 roundedQuotient(qint64 numerator, qint64 denominator) {
    const qint64 magnitude = numerator < 0 ? -numerator : numerator;
    const qint64 quotient =
        magnitude / denominator + (2 * (magnitude % denominator) >= denominator);
    return numerator < 0 ? -quotient : quotient;
}

} // namespace

ExactDecimal ExactDecimal::fromDouble(double value) {
    if (!std::isfinite(value)) return {};
    const RoundedDecimal r = roundDecimal(value, 4);
    qint64 units = 0;
    for (char c : r.integer + r.fraction)
        units = units * 10 + (c - '0');
    return fromUnits(r.negative ? -units : units);
}

ExactDecimal ExactDecimal::fromValue(const Value& value) {
    if (value.isNull()) return {};
    if (value.type() == Value::Type::Integer) return whole(value.toInt());
    return fromDouble(value.toDouble());
}

ExactDecimal ExactDecimal::rounded(int decimals) const {
    const qint64 step = powerOfTen(4 - std::clamp(decimals, 0, 4));
    return fromUnits(roundedQuotient(units_, step) * step);
}

ExactDecimal ExactDecimal::dividedBy(qint64 divisor, int decimals) const {
    const qint64 step = powerOfTen(4 - std::clamp(decimals, 0, 4));
    const qint64 sign = divisor < 0 ? -1 : 1;
    return fromUnits(roundedQuotient(sign * units_, sign * divisor * step) * step);
}

double ExactDecimal::toDouble() const {
    // Both are exact in a double, and the quotient is the double nearest the decimal.
    return double(units_) / double(scale);
}

QString ExactDecimal::toText() const {
    const qint64 magnitude = units_ < 0 ? -units_ : units_;
    QString text = QString::number(magnitude / scale);
    qint64 fraction = magnitude % scale;
    if (fraction != 0) {
        QString digits = QStringLiteral("%1").arg(fraction, 4, 10, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += QLatin1Char('.') + digits;
    }
    return units_ < 0 ? QLatin1Char('-') + text : text;
}
