// Pump prices of the four fuels over the generated days: reviewed every Monday, the new price
// taking effect from the first shift of that day, so a shift never has two prices.
#pragma once

#include "demo/masters.h"
#include "demo/random.h"

#include <QDate>
#include <QList>

class DemoPriceList {
public:
    // Prices for `days` business days from `firstDay` on.
    DemoPriceList(QDate firstDay, int days, DemoRandom& rng);

    // Prices of the business day `dayIndex` (0 = firstDay).
    const DemoFuelPrices& onDay(int dayIndex) const { return days_[dayIndex]; }
    // Prices of the last day: the list prices of the product table.
    const DemoFuelPrices& last() const { return days_.last(); }

private:
    QList<DemoFuelPrices> days_;
};
