#include "fuel/decimal.h"

#include "db/value.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace fuel {

namespace {

using Units = Decimal::Units;

constexpr Units unitsPerOne = 1'000'000'000'000; // 10^12
// Beyond this a figure is no reading, litre or price the station keeps (and would overflow).
constexpr double largest = 1e24;

constexpr Units power10(int n) {
    Units p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

// `units` divided by `divisor` (positive), rounded halves away from zero.
Units dividedRounded(Units units, Units divisor) {
    const Units half = divisor / 2;
    return units >= 0 ? (units + half) / divisor : -((-units + half) / divisor);
}

// A plain decimal text: an optional sign, digits, optionally a point and more digits.
std::optional<Units> parseUnits(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    Units whole = 0, fraction = 0;
    int fractionDigits = 0;
    bool point = false, digits = false, roundUp = false;
    for (char c : text) {
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (c < '0' || c > '9') return std::nullopt;
        digits = true;
        if (!point) {
            whole = whole * 10 + (c - '0');
            if (whole > Units(largest)) return std::nullopt;
        } else if (fractionDigits < Decimal::places) {
            fraction = fraction * 10 + (c - '0');
            ++fractionDigits;
        } else if (fractionDigits == Decimal::places) {
            roundUp = c >= '5'; // the first digit beyond the twelfth place decides
            ++fractionDigits;
        }
    }
    if (!digits) return std::nullopt;
    Units units = whole * unitsPerOne +
                  fraction * power10(Decimal::places - std::min(fractionDigits, Decimal::places));
    if (roundUp) ++units;
    return negative ? -units : units;
}

} // namespace

Decimal Decimal::whole(qint64 n) {
    return Decimal(Units(n) * unitsPerOne);
}

std::optional<Decimal> Decimal::fromDouble(double value) {
    if (!std::isfinite(value) || std::fabs(value) >= largest) return std::nullopt;
    char buffer[400];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (written.ec != std::errc()) return std::nullopt;
    const std::optional<Units> units = parseUnits(std::string_view(buffer, written.ptr));
    if (!units) return std::nullopt;
    return Decimal(*units);
}

std::optional<Decimal> Decimal::fromValue(const Value& value) {
    switch (value.type()) {
    case Value::Type::Integer:
        return whole(value.toInt());
    case Value::Type::Float:
        return fromDouble(value.toDouble());
    case Value::Type::Text: {
        const QByteArray text = value.toText().trimmed().toLatin1();
        const std::optional<Units> units =
            parseUnits(std::string_view(text.constData(), std::size_t(text.size())));
        if (!units) return std::nullopt;
        return Decimal(*units);
    }
    default:
        return std::nullopt;
    }
}

Decimal Decimal::rounded(int decimals) const {
    const Units step = power10(places - std::clamp(decimals, 0, places));
    return Decimal(dividedRounded(units_, step) * step);
}

qint64 Decimal::truncated() const {
    return qint64(units_ / unitsPerOne); // integer division cuts toward zero
}

double Decimal::toDouble() const {
    const QString text = toText(places);
    return text.toDouble();
}

QString Decimal::toText(int decimals) const {
    decimals = std::clamp(decimals, 0, places);
    const Units step = power10(places - decimals);
    Units scaled = dividedRounded(units_, step);
    const bool negative = scaled < 0;
    if (negative) scaled = -scaled;
    const Units one = power10(decimals);
    std::string digits;
    for (Units whole = scaled / one; digits.empty() || whole > 0; whole /= 10)
        digits.insert(digits.begin(), char('0' + int(whole % 10)));
    if (decimals > 0) {
        std::string fraction(std::size_t(decimals), '0');
        Units rest = scaled % one;
        for (int i = decimals - 1; i >= 0; --i, rest /= 10)
            fraction[std::size_t(i)] = char('0' + int(rest % 10));
        digits += '.' + fraction;
    }
    return QString::fromLatin1((negative ? "-" : "") + digits);
}

Decimal operator*(Decimal a, Decimal b) {
    // a × b / 10^12, split so that no partial product overflows: the whole part of a times b
    // is exact, its fraction times b is rounded once.
    const Units whole = a.units_ / unitsPerOne;
    const Units fraction = a.units_ % unitsPerOne;
    return Decimal(whole * b.units_ + dividedRounded(fraction * b.units_, unitsPerOne));
}

} // namespace fuel
