// What the live sales of one shift add up to, per nozzle, fuel, good and payment: the figures
// that the shift tables must agree with.
#pragma once

#include "demo/masters.h"

#include <QList>
#include <array>

struct DemoQuantityAmount {
    qint64 quantity = 0; // hundredths
    qint64 amount = 0;
};

struct DemoShiftTotals {
    explicit DemoShiftTotals(const DemoMasters& m)
        : nozzles(m.nozzles.size()), goods(m.goods.size()), washes(m.carWashes.size()) {}

    void clear() { *this = DemoShiftTotals(nozzles.size(), goods.size(), washes.size()); }

    QList<DemoQuantityAmount> nozzles; // fuel lines per nozzle
    // Fuel lines by fuel and payment.
    std::array<DemoQuantityAmount, FuelCount> tickets{}, bankCards{}, charges{}, charges2{};
    QList<DemoQuantityAmount> goods;  // quantity in hundredths, per DemoMasters::goods entry
    QList<DemoQuantityAmount> washes; // per DemoMasters::carWashes entry
    qint64 fleetDeduction = 0;        // sum of the negative Prod700LT lines
    qint64 jieliDeduction = 0;        // sum of the negative Prod700CT lines
    int fleetLines = 0;
    int jieliLines = 0;

    qint64 fuelAmount = 0;   // fuel lines, before discounts
    qint64 goodsAmount = 0;  // shop goods without car wash
    qint64 washAmount = 0;   // car wash
    qint64 fuelDiscount = 0; // discount lines, as a positive amount
    // Amounts due of the sales by payment.
    qint64 bankCardDue = 0;
    qint64 chargeDue = 0;
    qint64 charge2Due = 0;
    qint64 ticketDue = 0;

private:
    DemoShiftTotals(qsizetype nozzleCount, qsizetype goodsCount, qsizetype washCount)
        : nozzles(nozzleCount), goods(goodsCount), washes(washCount) {}
};
