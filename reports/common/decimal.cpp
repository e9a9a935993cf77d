#include "reports/common/decimal.h"

#include "db/db_error.h"
#include "db/value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>

namespace {

__extension__ using Wide = __int128;

constexpr int maxDigits = 36;

constexpr Wide power10(int n) {
    Wide p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

constexpr Wide limit = power10(maxDigits);

[[noreturn]] void outOfRange() {
    throw DbError(QStringLiteral("數值超出範圍，無法計算"));
}

// 10^n, or none where it does not fit in 128 bits (n above 38).
std::optional<Wide> checkedPower10(int n) {
    if (n < 0 || n > 38) return std::nullopt;
    return power10(n);
}

Wide checkedProduct(Wide a, Wide b) {
    Wide p = 0;
    if (__builtin_mul_overflow(a, b, &p)) outOfRange();
    return p;
}

Wide checkedSum(Wide a, Wide b) {
    Wide s = 0;
    if (__builtin_add_overflow(a, b, &s)) outOfRange();
    return s;
}

// `n` ÷ `d` (d not 0) rounded to a whole number, halves away from zero.
Wide roundedQuotient(Wide n, Wide d) {
    if (d < 0) {
        n = -n;
        d = -d;
    }
    const bool negative = n < 0;
    const Wide magnitude = negative ? -n : n;
    Wide q = magnitude / d;
    if (magnitude % d >= d - magnitude % d) ++q; // the remainder is at least half of d
    return negative ? -q : q;
}

// A plain decimal text: an optional sign, digits with at most one point, optionally an
// exponent. Rounded to `decimals` places on the first digit dropped. None when it is no
// number.
std::optional<std::pair<Wide, int>> parse(std::string_view t, int decimals) {
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
    std::string digits; // without leading zeros
    qint64 scale = 0;
    bool point = false, anyDigit = false;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            anyDigit = true;
            if (!digits.empty() || c != '0') digits += c;
            if (point) ++scale;
        } else {
            break;
        }
    }
    if (!anyDigit) return std::nullopt;
    if (i < t.size()) {
        if (t[i] != 'e' && t[i] != 'E') return std::nullopt;
        ++i;
        bool negativeExponent = false;
        if (i < t.size() && (t[i] == '-' || t[i] == '+')) negativeExponent = t[i++] == '-';
        if (i == t.size()) return std::nullopt;
        qint64 exponent = 0;
        for (; i < t.size(); ++i) {
            if (t[i] < '0' || t[i] > '9') return std::nullopt;
            exponent = std::min<qint64>(exponent * 10 + (t[i] - '0'), 1'000'000);
        }
        scale += negativeExponent ? exponent : -exponent;
    }
    if (digits.empty()) return std::pair<Wide, int>(0, 0);
    // Decimals beyond `decimals` are dropped: the first one dropped decides the rounding.
    bool up = false;
    if (scale > decimals) {
        const qint64 drop = scale - decimals;
        if (drop <= qint64(digits.size())) up = digits[digits.size() - std::size_t(drop)] >= '5';
        digits.resize(digits.size() - std::size_t(std::min<qint64>(drop, digits.size())));
        scale = decimals;
    }
    // Trailing zeros go unless the rounding is still to add its unit at the last place kept.
    while (!up && scale > 0 && !digits.empty() && digits.back() == '0') {
        digits.pop_back();
        --scale;
    }
    if (qint64(digits.size()) > maxDigits) outOfRange();
    Wide mantissa = 0;
    for (char c : digits)
        mantissa = mantissa * 10 + (c - '0'); // at most 36 digits: no overflow
    if (up) ++mantissa;
    if (scale < 0) {
        if (mantissa == 0) return std::pair<Wide, int>(0, 0);
        if (-scale > 38) outOfRange();
        mantissa = checkedProduct(mantissa, power10(int(-scale)));
        scale = 0;
    }
    return std::pair<Wide, int>(negative ? -mantissa : mantissa, int(scale));
}

} // namespace

Decimal::Decimal(Wide mantissa, int scale) {
    while (scale > 0 && mantissa % 10 == 0) {
        mantissa /= 10;
        --scale;
    }
    if (mantissa == 0) scale = 0;
    if (mantissa >= limit || mantissa <= -limit || scale > maxDigits) outOfRange();
    mantissa_ = mantissa;
    scale_ = scale;
}

Decimal Decimal::whole(qint64 n) {
    return Decimal(n, 0);
}

Decimal Decimal::fromText(const QString& text, int decimals) {
    const QString t = text.trimmed();
    const QByteArray latin = t.toLatin1();
    const auto read = parse(std::string_view(latin.constData(), std::size_t(latin.size())),
                            std::clamp(decimals, 0, maxDigits));
    if (!read) // a character outside Latin-1 reads as '?', which is no digit
        throw DbError(QStringLiteral("'%1' 不是數值").arg(t));
    return Decimal(read->first, read->second);
}

Decimal Decimal::fromDouble(double value, int decimals) {
    if (!std::isfinite(value))
        throw DbError(QStringLiteral("'%1' 不是數值").arg(exactNumberText(value)));
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value); // the shortest
    const auto read = parse(std::string_view(buffer, std::size_t(written.ptr - buffer)),
                            std::clamp(decimals, 0, maxDigits));
    return Decimal(read->first, read->second);
}

std::optional<Decimal> Decimal::fromValue(const Value& value, int decimals) {
    switch (value.type()) {
    case Value::Type::Integer:
        return whole(value.toInt());
    case Value::Type::Float:
        if (!std::isfinite(value.toDouble())) return std::nullopt;
        return fromDouble(value.toDouble(), decimals);
    case Value::Type::Text: {
        const QByteArray text = value.toText().trimmed().toLatin1();
        const auto read = parse(std::string_view(text.constData(), std::size_t(text.size())),
                                std::clamp(decimals, 0, maxDigits));
        if (!read) return std::nullopt;
        return Decimal(read->first, read->second);
    }
    default:
        return std::nullopt;
    }
}

Decimal Decimal::fromColumn(const Value& value, int decimals) {
    switch (value.type()) {
    case Value::Type::Null:
        return {};
    case Value::Type::Integer:
    case Value::Type::Float:
        return fromValue(value, decimals).value_or(Decimal());
    default:
        return fromText(value.toText(), decimals);
    }
}

Decimal Decimal::operator-() const {
    Decimal d;
    d.mantissa_ = -mantissa_;
    d.scale_ = scale_;
    return d;
}

Decimal operator+(Decimal a, Decimal b) {
    // Both on the finer scale; a sum past 128 bits is far out of range.
    const int scale = std::max(a.scale_, b.scale_);
    const Decimal::Wide x = checkedProduct(a.mantissa_, power10(scale - a.scale_));
    const Decimal::Wide y = checkedProduct(b.mantissa_, power10(scale - b.scale_));
    return Decimal(checkedSum(x, y), scale);
}

Decimal operator-(Decimal a, Decimal b) {
    return a + -b;
}

Decimal operator*(Decimal a, Decimal b) {
    return Decimal(checkedProduct(a.mantissa_, b.mantissa_), a.scale_ + b.scale_);
}

Decimal Decimal::dividedBy(Decimal divisor, int decimals) const {
    if (divisor.isZero()) throw DbError(QStringLiteral("除數為零，無法計算"));
    decimals = std::clamp(decimals, 0, maxDigits);
    // (m1 ÷ 10^s1) ÷ (m2 ÷ 10^s2) × 10^decimals = m1 × 10^(s2 + decimals − s1) ÷ m2.
    if (isZero()) return Decimal();
    const int shift = divisor.scale_ + decimals - scale_;
    Wide n = mantissa_, d = divisor.mantissa_;
    if (shift >= 0) {
        const std::optional<Wide> p = checkedPower10(shift);
        if (!p) outOfRange();
        n = checkedProduct(n, *p);
    } else {
        const std::optional<Wide> p = checkedPower10(-shift);
        // A divisor past 10^38 is more than twice any dividend: the quotient rounds to 0.
        if (!p || __builtin_mul_overflow(d, *p, &d)) return Decimal();
    }
    return Decimal(roundedQuotient(n, d), decimals);
}

Decimal Decimal::rounded(int decimals) const {
    decimals = std::clamp(decimals, 0, maxDigits);
    if (scale_ <= decimals) return *this;
    return Decimal(roundedQuotient(mantissa_, power10(scale_ - decimals)), decimals);
}

qint64 Decimal::toWhole() const {
    const Wide w = rounded(0).mantissa_;
    if (w > std::numeric_limits<qint64>::max() || w < std::numeric_limits<qint64>::min())
        outOfRange();
    return qint64(w);
}

qint64 Decimal::truncated() const {
    const Wide w = mantissa_ / power10(scale_); // integer division cuts toward zero
    if (w > std::numeric_limits<qint64>::max() || w < std::numeric_limits<qint64>::min())
        outOfRange();
    return qint64(w);
}

double Decimal::toDouble() const {
    return toText().toDouble(); // the correctly rounded double of the decimal text
}

QString Decimal::toText() const {
    const bool negative = mantissa_ < 0;
    Wide m = negative ? -mantissa_ : mantissa_;
    std::string digits;
    do {
        digits.insert(digits.begin(), char('0' + int(m % 10)));
        m /= 10;
    } while (m != 0);
    if (scale_ > 0) {
        if (int(digits.size()) <= scale_)
            digits.insert(0, std::size_t(scale_ + 1) - digits.size(), '0');
        digits.insert(digits.size() - std::size_t(scale_), 1, '.');
    }
    return QString::fromLatin1((negative ? "-" : "") + digits);
}

QString Decimal::toText(int decimals) const {
    decimals = std::clamp(decimals, 0, maxDigits);
    QString text = rounded(decimals).toText();
    if (decimals == 0) return text;
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    const qsizetype have = point < 0 ? 0 : text.size() - point - 1;
    if (point < 0) text += QLatin1Char('.');
    return text + QString(decimals - have, QLatin1Char('0'));
}

std::strong_ordering operator<=>(Decimal a, Decimal b) {
    if (a.sign() != b.sign()) return a.sign() <=> b.sign();
    // Same sign: the mantissas on the finer scale. One that passes 128 bits on the way is the
    // larger in size, since the other is below 10^36.
    Decimal::Wide x = a.mantissa_, y = b.mantissa_;
    if (a.scale_ < b.scale_) {
        if (__builtin_mul_overflow(x, power10(b.scale_ - a.scale_), &x))
            return a.sign() > 0 ? std::strong_ordering::greater : std::strong_ordering::less;
    } else if (b.scale_ < a.scale_) {
        if (__builtin_mul_overflow(y, power10(a.scale_ - b.scale_), &y))
            return a.sign() > 0 ? std::strong_ordering::less : std::strong_ordering::greater;
    }
    return x == y  ? std::strong_ordering::equal
           : x < y ? std::strong_ordering::less
                   : std::strong_ordering::greater;
}
