// Decimal figures of the fuel reports (meter readings, litres, unit prices) worked out
// exactly: sums, products and truncations of the numbers the station keyed in, never of their
// binary approximations, so 80 × 31.2 is 2496 and not 2496.0000000000005.
#pragma once

#include <QString>
#include <optional>

class Value;

namespace fuel {

// A signed decimal number held as a whole count of 10^-12 units: exact for every figure of
// up to twelve decimals and some hundred trillion trillion in size.
class Decimal {
public:
    __extension__ using Units = __int128;
    static constexpr int places = 12;

    constexpr Decimal() = default;
    // The whole number `n`.
    static Decimal whole(qint64 n);
    // The decimal number `value` stands for: the shortest decimal text that reads back as
    // it (so the double nearest 31.2 is 31.2), to twelve places, halves away from zero.
    // None for infinity and NaN.
    static std::optional<Decimal> fromDouble(double value);
    // A column value: numbers as above, text as a decimal number; none for null or for
    // anything that is not a finite number.
    static std::optional<Decimal> fromValue(const Value& value);

    // Rounded to `decimals` places (0 to 12), halves away from zero.
    Decimal rounded(int decimals) const;
    // Cut to a whole number toward zero: 2.9 gives 2, -2.9 gives -2.
    qint64 truncated() const;
    // The nearest double, for the number masks (whose rounding reads its shortest text).
    double toDouble() const;
    // The number with exactly `decimals` places (0 to 12), rounded halves away from zero:
    // "-12.50" for -12.5 and 2.
    QString toText(int decimals) const;

    bool isZero() const { return units_ == 0; }
    Units units() const { return units_; }

    friend Decimal operator+(Decimal a, Decimal b) { return Decimal(a.units_ + b.units_); }
    friend Decimal operator-(Decimal a, Decimal b) { return Decimal(a.units_ - b.units_); }
    // The product to twelve places, halves away from zero (exact when the places of the two
    // factors add up to twelve or fewer).
    friend Decimal operator*(Decimal a, Decimal b);
    Decimal& operator+=(Decimal b) {
        units_ += b.units_;
        return *this;
    }
    friend bool operator==(Decimal a, Decimal b) { return a.units_ == b.units_; }
    friend bool operator<(Decimal a, Decimal b) { return a.units_ < b.units_; }
    friend bool operator>(Decimal a, Decimal b) { return b < a; }
    friend bool operator<=(Decimal a, Decimal b) { return !(b < a); }
    friend bool operator>=(Decimal a, Decimal b) { return !(a < b); }

private:
    constexpr explicit Decimal(Units units) : units_(units) {}
    Units units_ = 0;
};

} // namespace fuel
