// Money and volume arithmetic of the demo station, in whole numbers: prices in cents,
// quantities in hundredths, so that every figure is exact and sums agree to the cent.
#pragma once

#include <QtGlobal>

namespace demo {

// numerator / denominator rounded to a whole number, halves away from zero (denominator > 0).
inline qint64 roundedQuotient(qint64 numerator, qint64 denominator) {
    if (numerator >= 0) return (2 * numerator + denominator) / (2 * denominator);
    return -((-2 * numerator + denominator) / (2 * denominator));
}

// Amount of a sales line: unit price (cents) times quantity (hundredths), whole dollars.
inline qint64 lineAmount(qint64 priceCents, qint64 quantityHundredths) {
    return roundedQuotient(priceCents * quantityHundredths, 10000);
}

// The 5 % VAT contained in a taxed amount: amount - round(amount / 1.05).
inline qint64 includedTax(qint64 amount) {
    return amount - roundedQuotient(amount * 100, 105);
}

// A meter reading moved on by `amount`, wrapping to zero at `wrap`.
inline qint64 meterAfter(qint64 reading, qint64 amount, qint64 wrap) {
    return (reading + amount) % wrap;
}

} // namespace demo
