// An exact decimal figure of the goods reports (a quantity, a price, an amount as the station
// database holds it): added, subtracted and multiplied without binary noise, rounded halves
// away from zero, so that 1.15 × 10 is 11.5 and rounds to 12.
#pragma once

#include <QString>

class Value;

class DecimalFigure {
public:
    DecimalFigure() = default;
    static DecimalFigure whole(qint64 number);
    // The figure of a decimal text ("-12.3400", "7", "1.5e3"), blanks around it ignored;
    // more than 12 decimals are rounded to 12. Throws DbError for a text that is no number
    // or needs more than 36 digits.
    static DecimalFigure fromText(const QString& text);
    // Null is 0, a text is read as fromText, a number by the shortest text that reads back
    // as it. Throws DbError as fromText does.
    static DecimalFigure fromValue(const Value& value);

    // Throw DbError when the result needs more than 36 digits.
    DecimalFigure operator+(const DecimalFigure& other) const;
    DecimalFigure operator-(const DecimalFigure& other) const;
    DecimalFigure operator*(const DecimalFigure& other) const;
    // `a` × `b` ÷ `c` rounded to `decimals` places, halves away from zero, worked out exactly
    // (no rounding of the quotient before the product). Throws DbError when `c` is zero or
    // the work needs more than 36 digits.
    static DecimalFigure productRatio(const DecimalFigure& a, const DecimalFigure& b,
                                      const DecimalFigure& c, int decimals);

    // Rounded to `decimals` places (0 to 12), halves away from zero.
    DecimalFigure rounded(int decimals) const;
    bool isZero() const { return mantissa_ == 0; }
    int sign() const { return mantissa_ < 0 ? -1 : mantissa_ > 0 ? 1 : 0; }
    // Plain digits with as many decimals as the figure has ("-12.5", "0", "3.1400" stays
    // "3.14"); no exponent, no grouping.
    QString toText() const;
    double toDouble() const;
    bool operator==(const DecimalFigure& other) const;

private:
    __extension__ typedef __int128 Wide;
    DecimalFigure(Wide mantissa, int scale);
    DecimalFigure normalised() const;

    Wide mantissa_ = 0; // the figure is mantissa_ ÷ 10^scale_
    int scale_ = 0;
};
