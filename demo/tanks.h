// The tanks shift by shift: deliveries ordered when the book stock runs low and received in
// the next day shift, or at night when it would run dry (oil_change), and the book and gauge
// stock chain of shift_03_tank.
#pragma once

#include "demo/masters.h"
#include "demo/random.h"
#include "demo/shift.h"
#include "demo/shift_totals.h"
#include "demo/table.h"

#include <QList>

class DemoTanks {
public:
    DemoTanks(const DemoMasters& masters, DemoRandom& rng, RowSink& sink, qint64& rowCount);

    // Receives the deliveries ordered for this shift, if it is a day shift.
    void beginShift(const DemoShift& shift);
    // Writes the shift's tank rows from its live sales and orders deliveries for tanks that
    // run low.
    void endShift(const DemoShift& shift, const DemoShiftTotals& totals);

private:
    struct Tank {
        qint64 book = 0;     // book stock, hundredths of a litre
        qint64 gauge = 0;    // last gauge reading
        qint64 received = 0; // receipts of the running shift, deleted entries included
        qint64 lastSold = 0; // sales of the previous shift
        bool ordered = false;
    };

    void receive(const DemoShift& shift, int tank, qint64 volume, bool keyedTwice);

    const DemoMasters& m_;
    DemoRandom& rng_;
    QList<Tank> tanks_;
    qint64 billNumber_;
    DemoTable receipts_;
    DemoTable stock_;
};
