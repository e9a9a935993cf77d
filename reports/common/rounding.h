// Rounding of amounts, rates and quantities as the station's figures need it: halves away
// from zero, applied to the decimal number the value stands for, so 2.675 rounds to 2.68
// although its binary double lies just below.
#pragma once

#include <string>

// A value rounded to a number of decimals, as decimal digits.
struct RoundedDecimal {
    bool negative = false; // false for a value that rounds to zero
    std::string integer;   // digits before the point, at least "0"
    std::string fraction;  // exactly the asked number of digits
    bool isZero() const;
};

// `value` rounded to `decimals` places (0 to 15), halves away from zero. Infinite and NaN
// values give zero.
RoundedDecimal roundDecimal(double value, int decimals);
double roundHalfAway(double value, int decimals = 0);
