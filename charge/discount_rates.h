// The two per-litre discounts of a charge-account company, as the office keys them in on
// the company discount screen.
#pragma once

#include <QString>

struct DiscountRates {
    double diesel = 0; // per litre of diesel
    double petrol = 0; // per litre of petrol
};

// The rates typed as `dieselText` and `petrolText`, each brought to two decimals, halves
// away from zero (0.125 gives 0.13). Throws InputRefused "柴油折扣欄位錯誤..." for field
// DBEdit3 when the diesel text is no number (an empty text included), and only then looks at
// the petrol text: "汽油折扣欄位錯誤..." for DBEdit4.
DiscountRates readDiscountRates(const QString& dieselText, const QString& petrolText);
