#include "charge/discount_rates.h"

#include "db/input_refused.h"
#include "reports/common/rounding.h"
#include "reports/common/typed_number.h"

namespace {

double rate(const QString& text, const QString& refusal, const QString& field) {
    const std::optional<double> number = typedNumber(text);
    if (!number) throw InputRefused(refusal, field);
    return roundHalfAway(*number, 2);
}

} // namespace

DiscountRates readDiscountRates(const QString& dieselText, const QString& petrolText) {
    DiscountRates rates;
    rates.diesel =
        rate(dieselText, QStringLiteral("柴油折扣欄位錯誤..."), QStringLiteral("DBEdit3"));
    rates.petrol =
        rate(petrolText, QStringLiteral("汽油折扣欄位錯誤..."), QStringLiteral("DBEdit4"));
    return rates;
}
