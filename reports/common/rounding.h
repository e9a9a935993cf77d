// Rounding of amounts, rates and quantities as the station's figures need it: halves away
// from zero, applied to the decimal number the value stands for, so 2.675 rounds to 2.68
// although its binary double lies just below.
#pragma once

// `value` rounded to `decimals` places (0 to 15), halves away from zero.
double roundHalfAway(double value, int decimals = 0);
