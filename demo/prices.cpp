#include "demo/prices.h"

#include <algorithm>

namespace {

// A weekly change of 10 to 30 cents, up or down.
qint64 weeklyChange(DemoRandom& rng) {
    const qint64 cents = 10 * rng.between(1, 3);
    return rng.chance(1, 2) ? cents : -cents;
}

} // namespace

DemoPriceList::DemoPriceList(QDate firstDay, int days, DemoRandom& rng) {
    // 95 and 98 keep their distance to 92, as the supplier's list does.
    qint64 petrol = 2800 + 10 * rng.between(0, 10);
    qint64 diesel = 2700 + 10 * rng.between(0, 10);
    for (int d = 0; d < std::max(days, 1); ++d) {
        if (d > 0 && firstDay.addDays(d).dayOfWeek() == Qt::Monday) {
            petrol = std::clamp<qint64>(petrol + weeklyChange(rng), 2700, 2950);
            diesel = std::clamp<qint64>(diesel + weeklyChange(rng), 2650, 2950);
        }
        DemoFuelPrices prices{};
        prices[Fuel92] = petrol;
        prices[Fuel95] = petrol + 150;
        prices[Fuel98] = petrol + 350;
        prices[FuelDiesel] = diesel;
        days_.append(prices);
    }
}
