// The money of one shift: the totals of shift_05 and the car-wash and card-deduction rows of
// shift_06, both from the shift's live sales.
#pragma once

#include "demo/masters.h"
#include "demo/shift.h"
#include "demo/shift_totals.h"
#include "demo/table.h"

class DemoTakings {
public:
    DemoTakings(const DemoMasters& masters, RowSink& sink, qint64& rowCount);

    // Writes the shift's shift_05 row and its shift_06 rows.
    void write(const DemoShift& shift, const DemoShiftTotals& totals);

private:
    const DemoMasters& m_;
    DemoTable totals_;
    DemoTable products_;
};
