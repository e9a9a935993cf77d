#include "reports/business/decimal_figure.h"

#include "db/db_error.h"
#include "db/value.h"

#include <algorithm>

namespace {

__extension__ typedef __int128 Wide;

constexpr int maxDecimals = 12;

// 10^36: no figure or intermediate product may reach it.
constexpr Wide limit() {
    Wide l = 1;
    for (int i = 0; i < 36; ++i)
        l *= 10;
    return l;
}

[[noreturn]] void tooLarge() {
    throw DbError(QStringLiteral("數值超出範圍，無法計算"));
}

Wide checkedProduct(Wide a, Wide b) {
    Wide p = 0;
    if (__builtin_mul_overflow(a, b, &p) || p >= limit() || p <= -limit()) tooLarge();
    return p;
}

Wide checkedSum(Wide a, Wide b) {
    const Wide s = a + b; // both below 10^36, so the sum cannot wrap
    if (s >= limit() || s <= -limit()) tooLarge();
    return s;
}

Wide power(int exponent) {
    Wide p = 1;
    for (int i = 0; i < exponent; ++i)
        p = checkedProduct(p, 10);
    return p;
}

// `n` ÷ `d` rounded to a whole number, halves away from zero.
Wide roundedQuotient(Wide n, Wide d) {
    if (d < 0) {
        n = -n;
        d = -d;
    }
    const bool negative = n < 0;
    const Wide magnitude = negative ? -n : n;
    Wide q = magnitude / d;
    if ((magnitude % d) * 2 >= d) ++q;
    return negative ? -q : q;
}

} // namespace

DecimalFigure::DecimalFigure(Wide mantissa, int scale) : mantissa_(mantissa), scale_(scale) {}

DecimalFigure DecimalFigure::whole(qint64 number) {
    return DecimalFigure(number, 0);
}

DecimalFigure DecimalFigure::normalised() const {
    DecimalFigure f = *this;
    while (f.scale_ > 0 && f.mantissa_ % 10 == 0) {
        f.mantissa_ /= 10;
        --f.scale_;
    }
    if (f.mantissa_ == 0) f.scale_ = 0;
    return f;
}

DecimalFigure DecimalFigure::fromText(const QString& text) {
    const QString t = text.trimmed();
    auto refuse = [&t]() -> DecimalFigure {
        throw DbError(QStringLiteral("'%1' 不是數值").arg(t));
    };
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
        negative = t[i++] == QLatin1Char('-');
    QString digits;
    int scale = 0;
    bool point = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == QLatin1Char('.') && !point) {
            point = true;
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digits += c;
            scale += point ? 1 : 0;
        } else {
            break;
        }
    }
    if (digits.isEmpty()) return refuse();
    if (i < t.size()) {
        if (t[i] != QLatin1Char('e') && t[i] != QLatin1Char('E')) return refuse();
        bool ok = false;
        const int exponent = t.mid(i + 1).toInt(&ok);
        if (!ok || exponent > 40 || exponent < -400) return refuse();
        scale -= exponent;
    }
    // Decimals beyond the twelfth are rounded off: the first one dropped decides.
    bool up = false;
    if (scale > maxDecimals) {
        const qsizetype drop = scale - maxDecimals;
        if (drop <= digits.size()) up = digits[digits.size() - drop] >= QLatin1Char('5');
        digits.chop(std::min(drop, digits.size()));
        scale = maxDecimals;
    }
    Wide mantissa = 0;
    for (QChar c : digits)
        mantissa = checkedSum(checkedProduct(mantissa, 10), c.unicode() - '0');
    if (up) mantissa = checkedSum(mantissa, 1);
    if (scale < 0) {
        mantissa = checkedProduct(mantissa, power(-scale));
        scale = 0;
    }
    return DecimalFigure(negative ? -mantissa : mantissa, scale).normalised();
}

DecimalFigure DecimalFigure::fromValue(const Value& value) {
    switch (value.type()) {
    case Value::Type::Null:
        return {};
    case Value::Type::Integer:
        return whole(value.toInt());
    case Value::Type::Float:
        return fromText(exactNumberText(value.toDouble()));
    default:
        return fromText(value.toText());
    }
}

DecimalFigure DecimalFigure::operator+(const DecimalFigure& other) const {
    const int scale = std::max(scale_, other.scale_);
    const Wide a = checkedProduct(mantissa_, power(scale - scale_));
    const Wide b = checkedProduct(other.mantissa_, power(scale - other.scale_));
    return DecimalFigure(checkedSum(a, b), scale).normalised();
}

DecimalFigure DecimalFigure::operator-(const DecimalFigure& other) const {
    return *this + DecimalFigure(-other.mantissa_, other.scale_);
}

DecimalFigure DecimalFigure::operator*(const DecimalFigure& other) const {
    return DecimalFigure(checkedProduct(mantissa_, other.mantissa_), scale_ + other.scale_)
        .normalised();
}

DecimalFigure DecimalFigure::productRatio(const DecimalFigure& a, const DecimalFigure& b,
                                          const DecimalFigure& c, int decimals) {
    if (c.isZero()) throw DbError(QStringLiteral("除數為零，無法計算"));
    // a·b/c = (ma·mb·10^sc) / (mc·10^(sa+sb)), shifted by `decimals` places.
    const Wide n =
        checkedProduct(checkedProduct(a.mantissa_, b.mantissa_), power(c.scale_ + decimals));
    const Wide d = checkedProduct(c.mantissa_, power(a.scale_ + b.scale_));
    return DecimalFigure(roundedQuotient(n, d), decimals).normalised();
}

DecimalFigure DecimalFigure::rounded(int decimals) const {
    decimals = std::clamp(decimals, 0, maxDecimals);
    if (scale_ <= decimals) return *this;
    return DecimalFigure(roundedQuotient(mantissa_, power(scale_ - decimals)), decimals)
        .normalised();
}

QString DecimalFigure::toText() const {
    const bool negative = mantissa_ < 0;
    Wide m = negative ? -mantissa_ : mantissa_;
    QString digits;
    do {
        digits.prepend(QChar(char16_t(u'0' + int(m % 10))));
        m /= 10;
    } while (m != 0);
    if (scale_ > 0) {
        if (digits.size() <= scale_) digits = QString(scale_ - digits.size() + 1, u'0') + digits;
        digits.insert(digits.size() - scale_, QLatin1Char('.'));
    }
    return negative ? QLatin1Char('-') + digits : digits;
}

double DecimalFigure::toDouble() const {
    return toText().toDouble();
}

bool DecimalFigure::operator==(const DecimalFigure& other) const {
    const DecimalFigure a = normalised(), b = other.normalised();
    return a.mantissa_ == b.mantissa_ && a.scale_ == b.scale_;
}
