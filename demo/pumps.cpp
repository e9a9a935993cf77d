#include "demo/pumps.h"

#include "demo/format.h"
#include "demo/money.h"

namespace {

// The totalizers count to 999,999.99 litres and 999,999 dollars, then start again at zero.
constexpr qint64 volumeWrap = 100000000;
constexpr qint64 amountWrap = 1000000;

enum MeterColumn {
    MShift,
    MIsland,
    MGun,
    MProduct,
    MOilName,
    MPrice,
    MStartQty,
    MStartAmt,
    MNowQty,
    MNowAmt,
    MOutQty,
    MOutAmt,
    MTestQty,
    MTestAmt,
    MWalkQty,
    MWalkAmt
};
const QStringList meterColumns = {
    "shift",   "island",  "gun_no",  "product_id", "oilname",  "price",    "start_qty", "start_amt",
    "now_qty", "now_amt", "out_qty", "out_amt",    "test_qty", "test_amt", "walk_qty",  "walk_amt"};

enum PaymentColumn {
    PShift,
    PProduct,
    PTicketQty,
    PTicketAmt,
    PCardQty,
    PCardAmt,
    PCharge2Qty,
    PCharge2Amt,
    PChargeQty,
    PChargeAmt,
    PTestAmt,
    PWalkAmt
};
const QStringList paymentColumns = {"shift",      "product_id", "ticket_qty", "ticket_amt",
                                    "cdc_qty",    "cdc_amt",    "cdc_qty2",   "cdc_amt2",
                                    "credit_qty", "credit_amt", "test_amt",   "walk_amt"};

} // namespace

DemoPumps::DemoPumps(const DemoMasters& masters, DemoRandom& rng, RowSink& sink, qint64& rowCount)
    : m_(masters), rng_(rng), nozzles_(masters.nozzles.size()),
      meters_(sink, QStringLiteral("shift_01_gun"), meterColumns, rowCount),
      payments_(sink, QStringLiteral("shift_02_oil"), paymentColumns, rowCount) {
    // A few meters start just short of their wrap, so that wraps come within days.
    const qint64 offset = rng_.below(5);
    for (qsizetype n = 0; n < nozzles_.size(); ++n) {
        Nozzle& z = nozzles_[n];
        z.volume = (n + offset) % 5 == 0 ? volumeWrap - rng_.between(2000, 30000)
                                         : rng_.between(0, volumeWrap * 9 / 10);
        z.amount = (n + offset) % 5 == 2 ? amountWrap - rng_.between(500, 8000)
                                         : rng_.between(0, amountWrap * 9 / 10);
    }
}

void DemoPumps::beginShift(const DemoShift& shift) {
    for (Nozzle& z : nozzles_) {
        // The morning shift checks some nozzles against a measure; walks are rare.
        z.test = shift.number == 1 && rng_.chance(1, 4) ? rng_.between(500, 2000) : 0;
        z.walk = rng_.chance(1, 100) ? rng_.between(100, 1000) : 0;
    }
}

void DemoPumps::endShift(const DemoShift& shift, const DemoShiftTotals& totals) {
    std::array<qint64, FuelCount> testAmount{}, walkAmount{};
    for (qsizetype n = 0; n < nozzles_.size(); ++n) {
        Nozzle& z = nozzles_[n];
        const DemoNozzle& nozzle = m_.nozzles[n];
        const DemoProduct& product = m_.products[m_.fuelProduct[nozzle.fuel]];
        const qint64 price = shift.prices[nozzle.fuel];
        const qint64 test = demo::lineAmount(price, z.test);
        const qint64 walk = demo::lineAmount(price, z.walk);
        const qint64 outVolume = totals.nozzles[n].quantity + z.test + z.walk;
        const qint64 outAmount = totals.nozzles[n].amount + test + walk;
        testAmount[nozzle.fuel] += test;
        walkAmount[nozzle.fuel] += walk;

        meters_[MShift] = shift.code;
        meters_[MIsland] = nozzle.island;
        meters_[MGun] = nozzle.gun;
        meters_[MProduct] = product.id;
        meters_[MOilName] = product.name;
        meters_[MPrice] = demo::fixedText(price, 2);
        meters_[MStartQty] = demo::fixedText(z.volume, 2);
        meters_[MStartAmt] = demo::wholeText(z.amount);
        z.volume = demo::meterAfter(z.volume, outVolume, volumeWrap);
        z.amount = demo::meterAfter(z.amount, outAmount, amountWrap);
        meters_[MNowQty] = demo::fixedText(z.volume, 2);
        meters_[MNowAmt] = demo::wholeText(z.amount);
        meters_[MOutQty] = demo::fixedText(outVolume, 2);
        meters_[MOutAmt] = demo::wholeText(outAmount);
        meters_[MTestQty] = demo::fixedText(z.test, 2);
        meters_[MTestAmt] = demo::wholeText(test);
        meters_[MWalkQty] = demo::fixedText(z.walk, 2);
        meters_[MWalkAmt] = demo::wholeText(walk);
        meters_.write();
    }

    for (int f = 0; f < FuelCount; ++f) {
        payments_[PShift] = shift.code;
        payments_[PProduct] = m_.products[m_.fuelProduct[f]].id;
        payments_[PTicketQty] = demo::fixedText(totals.tickets[f].quantity, 2);
        payments_[PTicketAmt] = demo::wholeText(totals.tickets[f].amount);
        payments_[PCardQty] = demo::fixedText(totals.bankCards[f].quantity, 2);
        payments_[PCardAmt] = demo::wholeText(totals.bankCards[f].amount);
        payments_[PCharge2Qty] = demo::fixedText(totals.charges2[f].quantity, 2);
        payments_[PCharge2Amt] = demo::wholeText(totals.charges2[f].amount);
        payments_[PChargeQty] = demo::fixedText(totals.charges[f].quantity, 2);
        payments_[PChargeAmt] = demo::wholeText(totals.charges[f].amount);
        payments_[PTestAmt] = demo::wholeText(testAmount[f]);
        payments_[PWalkAmt] = demo::wholeText(walkAmount[f]);
        payments_.write();
    }
}
