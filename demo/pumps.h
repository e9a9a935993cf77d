// The pumps shift by shift: volume and amount meters of every nozzle, its test and walk
// pumpings, written to shift_01_gun, and the payment figures per fuel of shift_02_oil.
#pragma once

#include "demo/masters.h"
#include "demo/random.h"
#include "demo/shift.h"
#include "demo/shift_totals.h"
#include "demo/table.h"

#include <QList>

class DemoPumps {
public:
    DemoPumps(const DemoMasters& masters, DemoRandom& rng, RowSink& sink, qint64& rowCount);

    // Draws the test and walk pumpings of `shift`.
    void beginShift(const DemoShift& shift);
    // Writes the shift's rows from its live sales and moves the meters on.
    void endShift(const DemoShift& shift, const DemoShiftTotals& totals);

private:
    struct Nozzle {
        qint64 volume = 0; // meter reading, hundredths of a litre
        qint64 amount = 0; // meter reading, dollars
        qint64 test = 0;   // test pumping of the shift, hundredths
        qint64 walk = 0;
    };

    const DemoMasters& m_;
    DemoRandom& rng_;
    QList<Nozzle> nozzles_;
    DemoTable meters_;
    DemoTable payments_;
};
