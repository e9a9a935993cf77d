#include "demo/takings.h"

#include "demo/format.h"

namespace {

enum TotalColumn {
    TShift,
    TGoods,
    TWash,
    TProdDisc,
    TBankCard,
    TCharge2,
    TCharge,
    TTicket,
    TFuel,
    TTotal,
    TFuelDisc
};
const QStringList totalColumns = {"shift",     "goods_amt", "diff_amt1",  "prod_disc",
                                  "cdc1_amt",  "cdc2_amt",  "credit_amt", "ticket_amt",
                                  "oil_amt_2", "tot_amt_2", "oil_disc"};

enum ProductColumn { PShift, PProduct, PClass, PAmount };
const QStringList productColumns = {"shift", "product_id", "class", "amt"};

} // namespace

DemoTakings::DemoTakings(const DemoMasters& masters, RowSink& sink, qint64& rowCount)
    : m_(masters), totals_(sink, QStringLiteral("shift_05"), totalColumns, rowCount),
      products_(sink, QStringLiteral("shift_06"), productColumns, rowCount) {}

void DemoTakings::write(const DemoShift& shift, const DemoShiftTotals& t) {
    totals_[TShift] = shift.code;
    totals_[TGoods] = demo::wholeText(t.goodsAmount);
    totals_[TWash] = demo::wholeText(t.washAmount);
    totals_[TProdDisc] = demo::wholeText(0);
    totals_[TBankCard] = demo::wholeText(t.bankCardDue);
    totals_[TCharge2] = demo::wholeText(t.charge2Due);
    totals_[TCharge] = demo::wholeText(t.chargeDue);
    totals_[TTicket] = demo::wholeText(t.ticketDue);
    totals_[TFuel] = demo::wholeText(t.fuelAmount);
    totals_[TTotal] = demo::wholeText(t.fuelAmount + t.goodsAmount);
    totals_[TFuelDisc] = demo::wholeText(t.fuelDiscount);
    totals_.write();

    auto product = [&](int index, qint64 amount) {
        const DemoProduct& p = m_.products[index];
        products_[PShift] = shift.code;
        products_[PProduct] = p.id;
        products_[PClass] = p.cls;
        products_[PAmount] = demo::wholeText(amount);
        products_.write();
    };
    for (qsizetype w = 0; w < m_.carWashes.size(); ++w)
        if (t.washes[w].quantity > 0) product(m_.carWashes[w], t.washes[w].amount);
    if (t.fleetLines > 0) product(m_.fleetProduct, t.fleetDeduction);
    if (t.jieliLines > 0) product(m_.jieliProduct, t.jieliDeduction);
}
