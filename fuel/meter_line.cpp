#include "fuel/meter_line.h"

namespace fuel {

namespace {

// The width of a meter whose opening reading is `start`.
Decimal wrapAt(Decimal start) {
    for (qint64 m = 10; m <= 100'000'000; m *= 10)
        if (Decimal::whole(m) > start) return Decimal::whole(m);
    return Decimal::whole(1'000'000'000);
}

} // namespace

Decimal meterAdvance(Decimal start, Decimal now) {
    if (now >= start) return now - start;
    return wrapAt(start) + now - start;
}

MeterLine meterLine(const MeterReadings& r) {
    MeterLine line;
    if (!r.startQty || !r.startAmt || !r.nowQty || !r.nowAmt) return line;
    line.complete = true;
    line.volume = meterAdvance(*r.startQty, *r.nowQty);
    line.amount = meterAdvance(*r.startAmt, *r.nowAmt);
    const Decimal price = r.price.value_or(Decimal());
    // Q × price to twelve decimals, halves away from zero, as the line has always been
    // checked against (exact for readings and prices of up to twelve decimals between them).
    const Decimal expected = (line.volume * price).rounded(Decimal::places);
    // An amount meter that wrapped below 100,000 shows far less than the litres were worth:
    // one more turn of the meter for every threshold the shortfall passes.
    const Decimal below = Decimal::whole(100'000);
    if (*r.startAmt < below && *r.nowAmt < below) {
        const Decimal shortfall = expected - line.amount;
        for (qint64 threshold : {80'000, 180'000, 280'000, 380'000, 480'000})
            if (shortfall > Decimal::whole(threshold)) line.amount += below;
    }
    line.error = price == r.price1.value_or(Decimal()) ? (line.amount - expected).truncated() : 0;
    return line;
}

} // namespace fuel
