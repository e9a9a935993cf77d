// One nozzle line of the oil-meter report BR050: the volume and the amount sold between the
// opening readings of one shift and the closing readings of a later one, the meters' wraps
// compensated, and the difference between the amount meter and volume times price.
#pragma once

#include "reports/common/decimal.h"

#include <optional>

namespace fuel {

// The readings of one nozzle; a reading the database holds no value for is none.
struct MeterReadings {
    std::optional<Decimal> startQty, startAmt; // opening readings of the start shift
    std::optional<Decimal> nowQty, nowAmt;     // closing readings of the end shift
    std::optional<Decimal> price;              // unit price in the start shift
    std::optional<Decimal> price1;             // unit price in the end shift
};

struct MeterLine {
    // Both meters have both readings, so the figures below hold. A nozzle that the end shift
    // does not list has no closing readings: its line shows no figures and adds to no total.
    bool complete = false;
    Decimal volume;   // Q, litres sold
    Decimal amount;   // A, dollars sold, the amount meter's wrap correction applied
    qint64 error = 0; // R, A − Q × price cut toward zero; 0 when the price changed
};

// What a meter counted from `start` to `now`: their difference, or when `now` is below
// `start` the meter wrapped at the first power of ten from 10 to 100,000,000 above `start`
// (1,000,000,000 from 100,000,000 on) and counted on from zero.
Decimal meterAdvance(Decimal start, Decimal now);

// The line's figures. A missing price counts as 0 (no expected amount).
MeterLine meterLine(const MeterReadings& readings);

} // namespace fuel
