// BR040 monthly business statistics: for each business day of a range its fuel received and
// sold by product and its revenue by kind of payment (work table tBR040), and the range's
// totals.
#pragma once

#include "reports/common/decimal.h"

#include <QList>
#include <QString>
#include <array>

class DataModule;
class Progress;
class Query;

// The screen's parameter texts as the user sees them.
struct Br040Params {
    QString start, end; // yyyy/MM/dd
};

// One row of tBR040 as the build leaves it: litres received in whole litres, litres sold to
// the hundredth, amounts in whole dollars, each rounded as its column keeps it.
struct Br040Day {
    QString shift; // the business-day key
    QString tdate; // the key as yyy/MM/dd
    // By main fuel, in the order 92, super diesel, 95, 98.
    std::array<Decimal, 4> received{}, sold{};
    Decimal soldTotal, fuelSales, goods, carWash, revenue, tickets, charges, bankCards, fleetCard,
        jieliCard, tests, discounts, cash;
};

struct Br040Report {
    QString station, start, end; // the title values
    QList<Br040Day> days;        // in date order
    Br040Day totals;             // each column summed over the days
};

// Builds the range of `params` in one snapshot of the station database: recreates tBR040
// through `work`, fills it with one row per business day that has takings or tank rows, and
// opens it on the data module's qy in date order. Throws DbError; InputRefused naming e01 or
// e02 for a date that is none.
Br040Report buildBr040(DataModule& dm, Query& work, const Br040Params& params, Progress& progress);
