// Litres and money of the revenue reports as exact decimals: whole ten-thousandths in an
// integer, so that adding 0.1 ten times gives 1 and a sum that is zero in decimal is zero.
#pragma once

#include <QString>
#include <QtGlobal>
#include <compare>

class Value;

class ExactDecimal {
public:
    static constexpr qint64 scale = 10000; // four decimals

    constexpr ExactDecimal() = default;
    // The whole number `n`.
    static constexpr ExactDecimal whole(qint64 n) { return fromUnits(n * scale); }
    static constexpr ExactDecimal fromUnits(qint64 units) {
        ExactDecimal d;
        d.units_ = units;
        return d;
    }
    // The decimal a database value stands for, rounded to four decimals (halves away from
    // zero); null, NaN and infinities are 0. Throws DbError for a text that is no number.
    static ExactDecimal fromValue(const Value& value);
    static ExactDecimal fromDouble(double value);

    constexpr qint64 units() const { return units_; }
    constexpr bool isZero() const { return units_ == 0; }
    // Rounded to `decimals` places (0 to 4), halves away from zero: what a decimal(18,n)
    // column keeps of it.
    ExactDecimal rounded(int decimals) const;
    // The whole number it rounds to, halves away from zero.
    qint64 toWhole() const { return rounded(0).units_ / scale; }
    // This divided by `divisor` (not 0), the exact quotient rounded to `decimals` places.
    ExactDecimal dividedBy(qint64 divisor, int decimals) const;
    // The double whose shortest text is this decimal, for the number masks.
    double toDouble() const;
    // The plain decimal text ("-12.5", "0"), which the server reads back exactly.
    QString toText() const;

    constexpr ExactDecimal operator-() const { return fromUnits(-units_); }
    constexpr ExactDecimal& operator+=(ExactDecimal o) {
        units_ += o.units_;
        return *this;
    }
    constexpr ExactDecimal& operator-=(ExactDecimal o) {
        units_ -= o.units_;
        return *this;
    }
    friend constexpr ExactDecimal operator+(ExactDecimal a, ExactDecimal b) { return a += b; }
    friend constexpr ExactDecimal operator-(ExactDecimal a, ExactDecimal b) { return a -= b; }
    friend constexpr bool operator==(ExactDecimal, ExactDecimal) = default;
    friend constexpr auto operator<=>(ExactDecimal, ExactDecimal) = default;

private:
    qint64 units_ = 0;
};
