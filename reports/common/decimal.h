// An exact decimal figure of the reports (a meter reading, litres, a unit price, an amount as
// the station keyed it): added, multiplied and divided without binary noise, so 80 × 31.2 is
// 2496 and 1.65 + 1.20 + 0.65 is 3.50, and rounded halves away from zero.
#pragma once

#include <QString>
#include <compare>
#include <optional>

class Value;

// The figure is m ÷ 10^s for a whole number m of at most 36 digits and 0 to 36 decimals s,
// kept without trailing zeros in the decimals (so 3.1400 and 3.14 are the same figure).
// That holds every figure a station keeps with room to spare: any number below 10^24 with
// twelve decimals, and the exact sums and products of such figures while they fit.
//
// Beyond it nothing wraps or is cut silently: a reading, sum, difference, product or quotient
// whose exact result needs more than 36 digits or more than 36 decimals throws DbError
// ("數值超出範圍，無法計算"), and so does a product whose two factors' digits, multiplied as
// whole numbers, pass 10^38, or a quotient whose dividend, moved to the decimals asked for,
// does. A whole-number result that does not fit in 64 bits throws the same.
class Decimal {
public:
    // The decimals a figure read from the database, a text or a double keeps by default.
    static constexpr int places = 12;

    constexpr Decimal() = default;
    // The whole number `n`.
    static Decimal whole(qint64 n);
    // The figure of a decimal text ("-12.3400", "7", "1.5e3", blanks around it ignored),
    // rounded to `decimals` places (0 to 36) on the first decimal dropped, halves away from
    // zero. Throws DbError for a text that is no number ("'12a' 不是數值") or out of range.
    static Decimal fromText(const QString& text, int decimals = places);
    // The decimal number `value` stands for: the shortest decimal text that reads back as it
    // (so the double nearest 31.2 is 31.2), rounded as fromText does. Throws DbError for NaN,
    // infinities and numbers out of range.
    static Decimal fromDouble(double value, int decimals = places);
    // A column value as fromText and fromDouble read it (a whole number as it is); none for
    // null, NaN, infinities and a text or other value that is no number. Throws DbError for
    // a number out of range.
    static std::optional<Decimal> fromValue(const Value& value, int decimals = places);
    // A column of the goods and revenue reports' sums: read as fromValue, with null, NaN and
    // infinities as 0. Throws DbError for a text or other value that is no number, and for a
    // number out of range.
    static Decimal fromColumn(const Value& value, int decimals = places);

    Decimal operator-() const;
    // Exact. Throw DbError when the result is out of range.
    friend Decimal operator+(Decimal a, Decimal b);
    friend Decimal operator-(Decimal a, Decimal b);
    friend Decimal operator*(Decimal a, Decimal b);
    Decimal& operator+=(Decimal b) { return *this = *this + b; }
    Decimal& operator-=(Decimal b) { return *this = *this - b; }
    // This divided by `divisor`, the exact quotient rounded to `decimals` places (0 to 36),
    // halves away from zero. Throws DbError when `divisor` is zero ("除數為零，無法計算") or
    // the work is out of range.
    Decimal dividedBy(Decimal divisor, int decimals) const;

    // Rounded to `decimals` places (0 to 36), halves away from zero: what a decimal(18,n)
    // column keeps of it.
    Decimal rounded(int decimals) const;
    // The whole number it rounds to, halves away from zero. Throws DbError beyond 64 bits.
    qint64 toWhole() const;
    // Cut to a whole number toward zero: 2.9 gives 2, -2.9 gives -2. Throws DbError beyond
    // 64 bits.
    qint64 truncated() const;

    bool isZero() const { return mantissa_ == 0; }
    int sign() const { return mantissa_ < 0 ? -1 : mantissa_ > 0 ? 1 : 0; }
    // The double nearest the figure, for the number masks (whose rounding reads its shortest
    // text, so the mask rounds the figure itself).
    double toDouble() const;
    // Plain digits with the decimals the figure has ("-12.5", "0", 3.1400 is "3.14"): no
    // exponent and no grouping, so the server reads it back exactly.
    QString toText() const;
    // The figure with exactly `decimals` places (0 to 36), rounded halves away from zero:
    // "-12.50" for -12.5 and 2, "0.00" (no sign) for -0.004 and 2.
    QString toText(int decimals) const;

    friend bool operator==(Decimal a, Decimal b) = default;
    friend std::strong_ordering operator<=>(Decimal a, Decimal b);

private:
    __extension__ using Wide = __int128;
    Decimal(Wide mantissa, int scale);

    Wide mantissa_ = 0; // the figure is mantissa_ ÷ 10^scale_
    int scale_ = 0;
};
