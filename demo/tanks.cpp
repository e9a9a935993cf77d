#include "demo/tanks.h"

#include "demo/format.h"

#include <algorithm>

namespace {

enum ReceiptColumn { RShift, RTank, RVolume, RPrice, RBill, RProduct, RDelMark };
const QStringList receiptColumns = {"shift",   "target_tank", "gasoline_vol", "in_price",
                                    "bill_no", "prod_id",     "del_mark"};

enum StockColumn {
    SShift,
    STank,
    SOilName,
    SInStock,
    SSale,
    SCheck,
    SAccount1,
    SAccount2,
    SReal1,
    SReal2,
    SCount,
    SSurplus,
    SDiffVol
};
const QStringList stockColumns = {"shift",      "tank",      "oilname",  "in_stock",    "sale",
                                  "checkstock", "account1",  "account2", "real_stock1", "real2",
                                  "count",      "surplus_4", "diff_vol"};

constexpr qint64 litre = 100;

// A gauge reads within some tens of litres of the book stock.
qint64 gaugeNoise(DemoRandom& rng) {
    return rng.between(-60 * litre, 60 * litre);
}

} // namespace

DemoTanks::DemoTanks(const DemoMasters& masters, DemoRandom& rng, RowSink& sink, qint64& rowCount)
    : m_(masters), rng_(rng), tanks_(masters.tanks.size()),
      billNumber_(rng.between(100000, 900000)),
      receipts_(sink, QStringLiteral("oil_change"), receiptColumns, rowCount),
      stock_(sink, QStringLiteral("shift_03_tank"), stockColumns, rowCount) {
    for (qsizetype t = 0; t < tanks_.size(); ++t) {
        const qint64 capacity = m_.tanks[t].capacity;
        tanks_[t].book = rng_.between(capacity / 5, capacity * 7 / 10);
        tanks_[t].gauge = tanks_[t].book + gaugeNoise(rng_);
        tanks_[t].ordered = tanks_[t].book < capacity * 3 / 10;
    }
}

void DemoTanks::beginShift(const DemoShift& shift) {
    constexpr qint64 smallest = 10000 * litre, largest = 16000 * litre;
    for (qsizetype t = 0; t < tanks_.size(); ++t) {
        Tank& tank = tanks_[t];
        tank.received = 0;
        // Deliveries come by day, unless the tank would run dry before morning.
        const bool urgent = tank.book < tank.lastSold;
        const qint64 room = m_.tanks[t].capacity - tank.book - 500 * litre;
        if (!tank.ordered || (!shift.isDayShift() && !urgent) || room < smallest) continue;
        // Now and then the delivery note is keyed in twice and the copy marked deleted; the
        // station's stock figures count it all the same, so the load must fit twice.
        const bool keyedTwice = room >= 2 * smallest && rng_.chance(1, 10);
        const qint64 volume =
            rng_.between(smallest, std::min(largest, keyedTwice ? room / 2 : room));
        receive(shift, int(t), volume, keyedTwice);
        tank.ordered = false;
    }
}

void DemoTanks::receive(const DemoShift& shift, int t, qint64 volume, bool keyedTwice) {
    const DemoTank& tank = m_.tanks[t];
    // Purchase price: 1.50 to 2.60 below the pump price, per litre in ten-thousandths.
    const qint64 price = shift.prices[tank.fuel] * 100 - rng_.between(15000, 26000);
    receipts_[RShift] = shift.code;
    receipts_[RTank] = tank.digit;
    receipts_[RVolume] = demo::fixedText(volume, 2);
    receipts_[RPrice] = demo::fixedText(price, 4);
    receipts_[RBill] = QStringLiteral("TP%1").arg(++billNumber_, 8, 10, QLatin1Char('0'));
    receipts_[RProduct] = m_.products[m_.fuelProduct[tank.fuel]].id;
    receipts_[RDelMark] = QStringLiteral("");
    receipts_.write();
    tanks_[t].received += volume;
    if (keyedTwice) {
        receipts_[RDelMark] = QStringLiteral("D");
        receipts_.write();
        tanks_[t].received += volume;
    }
}

void DemoTanks::endShift(const DemoShift& shift, const DemoShiftTotals& totals) {
    QList<qint64> sold(tanks_.size());
    for (qsizetype n = 0; n < m_.nozzles.size(); ++n)
        sold[m_.nozzles[n].tank] += totals.nozzles[n].quantity;

    for (qsizetype t = 0; t < tanks_.size(); ++t) {
        Tank& tank = tanks_[t];
        const DemoTank& setup = m_.tanks[t];
        const qint64 check = rng_.chance(1, 50) ? rng_.between(-50 * litre, 50 * litre) : 0;
        const qint64 account1 = tank.book;
        const qint64 account2 = account1 + tank.received - sold[t] + check;
        const qint64 real1 = tank.gauge;
        const qint64 real2 = account2 + gaugeNoise(rng_);
        const qint64 count = real1 + tank.received - sold[t] + check;

        stock_[SShift] = shift.code;
        stock_[STank] = setup.code;
        stock_[SOilName] = m_.products[m_.fuelProduct[setup.fuel]].name;
        stock_[SInStock] = demo::fixedText(tank.received, 2);
        stock_[SSale] = demo::fixedText(sold[t], 2);
        stock_[SCheck] = demo::fixedText(check, 2);
        stock_[SAccount1] = demo::fixedText(account1, 2);
        stock_[SAccount2] = demo::fixedText(account2, 2);
        stock_[SReal1] = demo::fixedText(real1, 2);
        stock_[SReal2] = demo::fixedText(real2, 2);
        stock_[SCount] = demo::fixedText(count, 2);
        stock_[SSurplus] = demo::fixedText(count - real2, 2);
        stock_[SDiffVol] = stock_[SSurplus];
        stock_.write();

        tank.book = account2;
        tank.gauge = real2;
        tank.lastSold = sold[t];
        // Order when the stock would not last until a delivery and the shift after it.
        if (account2 < std::max(setup.capacity * 3 / 10, 3 * sold[t])) tank.ordered = true;
    }
}
