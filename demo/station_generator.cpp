#include "demo/station_generator.h"

#include "app/progress.h"
#include "demo/goods.h"
#include "demo/invoices.h"
#include "demo/masters.h"
#include "demo/prices.h"
#include "demo/pumps.h"
#include "demo/random.h"
#include "demo/sale_planner.h"
#include "demo/sale_writer.h"
#include "demo/shift.h"
#include "demo/shift_totals.h"
#include "demo/takings.h"
#include "demo/tanks.h"

#include <algorithm>
#include <vector>

namespace {

// Sales of each shift of a day with `daySales` sales: the night shift is the quiet one.
std::array<int, 3> shiftSales(int daySales) {
    const int first = daySales * 42 / 100;
    const int second = daySales * 43 / 100;
    return {first, second, daySales - first - second};
}

} // namespace

DemoSummary generateDemoStation(const DemoOptions& options, RowSink& sink, Progress& progress) {
    DemoSummary summary;
    const int days = std::max(options.days, 0);
    const QDate lastDay = options.lastDay.isNull() ? QDate::currentDate() : options.lastDay;
    const QDate firstDay = lastDay.addDays(1 - days);
    const int salesPerDay = std::max(options.salesPerDay, 0);

    DemoRandom rng(options.seed);
    const DemoMasters masters = makeDemoMasters(rng);
    const DemoPriceList prices(firstDay, days, rng);
    writeDemoMasters(masters, prices.last(), sink, summary.rows);

    // A range holds about a day's two-part invoices unless told otherwise; three-part ones
    // are few.
    const int rangeBlocks = options.invoiceRangeNumbers / 250;
    DemoInvoiceBook invoices(
        sink, rng, rangeBlocks > 0 ? rangeBlocks : std::clamp(salesPerDay / 250, 1, 20),
        rangeBlocks > 0 ? rangeBlocks : std::clamp(salesPerDay / 2500, 1, 4), summary.rows);
    DemoSaleWriter saleWriter(masters, invoices, sink, summary.rows);
    DemoPumps pumps(masters, rng, sink, summary.rows);
    DemoTanks tanks(masters, rng, sink, summary.rows);
    DemoGoods goods(masters, rng, sink, summary.rows);
    DemoTakings takings(masters, sink, summary.rows);
    DemoSalePlanner planner(masters, rng);
    DemoShiftTotals totals(masters);
    std::vector<DemoSale> sales;

    for (int d = 0; d < days; ++d) {
        const QDate day = firstDay.addDays(d);
        const int daySales = int(qint64(salesPerDay) * rng.between(88, 112) / 100);
        const std::array<int, 3> counts = shiftSales(daySales);
        for (int number = 1; number <= 3; ++number) {
            const DemoShift shift(day, number, prices.onDay(d));
            totals.clear();
            tanks.beginShift(shift);
            pumps.beginShift(shift);
            QList<qint64>& onHand = goods.beginShift(shift);
            planner.plan(shift, counts[number - 1], onHand, sales);
            for (const DemoSale& sale : sales)
                saleWriter.write(shift, sale, totals);
            pumps.endShift(shift, totals);
            tanks.endShift(shift, totals);
            goods.endShift(shift, totals);
            takings.write(shift, totals);
            ++summary.shifts;
        }
        progress.step();
    }
    summary.sales = saleWriter.sales();
    summary.salesLines = saleWriter.lines();
    return summary;
}
