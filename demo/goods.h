// The shop's stocked goods shift by shift: restocks, breakage and stock-take corrections and
// the counter's sales, written to shift_04_stock.
#pragma once

#include "demo/masters.h"
#include "demo/random.h"
#include "demo/shift.h"
#include "demo/shift_totals.h"
#include "demo/table.h"

#include <QList>

class DemoGoods {
public:
    DemoGoods(const DemoMasters& masters, DemoRandom& rng, RowSink& sink, qint64& rowCount);

    // Books the shift's restocks and corrections. Returns the pieces the counter can sell, per
    // DemoMasters::goods entry; the sale planner takes its live sales off them.
    QList<qint64>& beginShift(const DemoShift& shift);
    // Writes the shift's rows from its live sales.
    void endShift(const DemoShift& shift, const DemoShiftTotals& totals);

private:
    struct Good {
        qint64 stock = 0; // pieces at the start of the shift
        qint64 received = 0;
        qint64 broken = 0;    // abert_qty
        qint64 corrected = 0; // check_qty
    };

    const DemoMasters& m_;
    DemoRandom& rng_;
    QList<Good> goods_;
    QList<qint64> onHand_;
    DemoTable table_;
};
