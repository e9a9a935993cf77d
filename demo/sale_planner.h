// Decides the sales of one shift: when, at which nozzle or the shop counter, what was sold, how
// it was paid, whether an invoice was printed and whether the sale was voided.
#pragma once

#include "demo/masters.h"
#include "demo/random.h"
#include "demo/sale.h"
#include "demo/shift.h"

#include <QList>
#include <bitset>
#include <vector>

class DemoSalePlanner {
public:
    DemoSalePlanner(const DemoMasters& masters, DemoRandom& rng);

    // Replaces `sales` with `count` sales of `shift` in time order (ties by nozzle), each
    // nozzle at most once a second. `goodsOnHand` (pieces per DemoMasters::goods entry) limits
    // the counter's goods and is reduced by the live sales.
    void plan(const DemoShift& shift, int count, QList<qint64>& goodsOnHand,
              std::vector<DemoSale>& sales);

private:
    void planPumpSale(const DemoShift& shift, DemoSale& sale);
    void planCounterSale(DemoSale& sale, QList<qint64>& goodsOnHand);
    void planInvoice(DemoSale& sale);
    int moment(const DemoShift& shift, int nozzle);
    qint64 litres(DemoVehicleKind kind, qint64 priceCents);
    DemoVehicleKind walkInKind(int fuel);

    const DemoMasters& m_;
    DemoRandom& rng_;
    std::array<QList<int>, FuelCount> nozzlesOfFuel_;
    // Seconds of the shift already taken, per nozzle and the counter.
    std::vector<std::bitset<DemoShift::length>> taken_;
};
