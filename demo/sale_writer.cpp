#include "demo/sale_writer.h"

#include "demo/format.h"
#include "demo/money.h"

namespace {

enum TranColumn {
    TIsland,
    TGun,
    TTime,
    TShift,
    TCarNo,
    TRef1,
    TRef2,
    TRef4,
    TTranAmt,
    TRealAmt,
    TInvAmt,
    TTax,
    TDiscount,
    TPayment,
    TTranTp,
    TTaxType,
    TSerNo,
    TTranMode,
    TAnMark,
    TInvoice,
    TInvoiceTp,
    TUid,
    TVoid,
    TPrtInvoice
};
const QStringList tranColumns = {"island",     "gun_no",  "tran_time", "shift",      "car_no",
                                 "ref_no1",    "ref_no2", "ref_no4",   "tran_amt",   "real_amt",
                                 "inv_amt",    "tax",     "discount",  "payment",    "tran_tp",
                                 "tax_type",   "ser_no",  "tran_mode", "an_mark",    "invoice",
                                 "invoice_tp", "uid",     "void",      "prt_invoice"};

enum DetailColumn {
    DIsland,
    DGun,
    DTime,
    DSeq,
    DShift,
    DProduct,
    DClass,
    DPrice,
    DQty,
    DAmt,
    DUnit,
    DTaxType
};
const QStringList detailColumns = {"island", "gun_no", "tran_time", "seq", "shift", "product_id",
                                   "class",  "price",  "qty",       "amt", "unit",  "tax_type"};

// Field texts shared by many rows: assigning them costs no allocation.
struct Codes {
    QString empty = QStringLiteral("");
    QString payments[7] = {QStringLiteral("900"), QStringLiteral("901"), QStringLiteral("902"),
                           QStringLiteral("903"), QStringLiteral("904"), QStringLiteral("905"),
                           QStringLiteral("906")};
    QString marks[3] = {QStringLiteral("100"), QStringLiteral("200"), QStringLiteral("300")};
    QString pumpSale = QStringLiteral("100");
    QString counterSale = QStringLiteral("110");
    QString automatic = QStringLiteral("0");
    QString taxed = QStringLiteral("TX");
    QString taxFree = QStringLiteral("TF");
    QString printed = QStringLiteral("-1");
    QString notPrinted = QStringLiteral("0");
    QString valid = QStringLiteral("0");
    QString voided = QStringLiteral("1");
    QString twoPart = QStringLiteral("2");
    QString threePart = QStringLiteral("3");
    QString noBuyer = QStringLiteral("00000000");
    QString seq[4] = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                      QStringLiteral("4")};
    QString litre = QStringLiteral("LE");
    QString piece = QStringLiteral("EA");
};

const Codes& codes() {
    static const Codes c;
    return c;
}

const QString& orEmpty(const QString& text) {
    return text.isNull() ? codes().empty : text;
}

} // namespace

DemoSaleWriter::DemoSaleWriter(const DemoMasters& masters, DemoInvoiceBook& invoices, RowSink& sink,
                               qint64& rowCount)
    : m_(masters), invoices_(invoices), tran_(sink, QStringLiteral("tran"), tranColumns, rowCount),
      detail_(sink, QStringLiteral("tran_detl"), detailColumns, rowCount),
      roles_(masters.products.size()) {
    for (int f = 0; f < FuelCount; ++f)
        roles_[m_.fuelProduct[f]] = {Role::Fuel, f};
    for (int g = 0; g < m_.goods.size(); ++g)
        roles_[m_.goods[g]] = {Role::Good, g};
    for (int w = 0; w < m_.carWashes.size(); ++w)
        roles_[m_.carWashes[w]] = {Role::Wash, w};
    roles_[m_.discountProduct] = {Role::Discount, 0};
    roles_[m_.fleetProduct] = {Role::Fleet, 0};
    roles_[m_.jieliProduct] = {Role::Jieli, 0};
}

void DemoSaleWriter::write(const DemoShift& shift, const DemoSale& sale, DemoShiftTotals& totals) {
    const Codes& c = codes();
    const bool counter = sale.nozzle == m_.nozzles.size();
    const DemoNozzle& nozzle = counter ? m_.counter : m_.nozzles[sale.nozzle];
    const QString time = shift.timestamp(sale.second);

    qint64 gross = 0, discount = 0;
    for (int l = 0; l < sale.lineCount; ++l) {
        const DemoLine& line = sale.lines[l];
        if (roles_[line.product].role == Role::Discount)
            discount -= line.amount;
        else if (line.amount > 0)
            gross += line.amount;
    }
    const qint64 due = gross - discount;
    const QString& taxType = sale.taxFree ? c.taxFree : c.taxed;

    tran_[TIsland] = nozzle.island;
    tran_[TGun] = nozzle.gun;
    tran_[TTime] = time;
    tran_[TShift] = shift.code;
    tran_[TCarNo] = orEmpty(sale.carNo);
    tran_[TRef1] = orEmpty(sale.company);
    tran_[TRef2] = orEmpty(sale.company);
    tran_[TRef4] = orEmpty(sale.card);
    tran_[TTranAmt] = demo::wholeText(gross);
    tran_[TRealAmt] = demo::wholeText(due);
    tran_[TInvAmt] = tran_[TRealAmt];
    tran_[TTax] = demo::wholeText(sale.taxFree ? 0 : demo::includedTax(due));
    tran_[TDiscount] = demo::wholeText(discount);
    tran_[TPayment] = c.payments[int(sale.payment)];
    tran_[TTranTp] = counter ? c.counterSale : c.pumpSale;
    tran_[TTaxType] = taxType;
    tran_[TSerNo] = demo::wholeText(++sales_);
    tran_[TTranMode] = c.automatic;
    tran_[TAnMark] = c.marks[int(sale.status)];
    if (sale.invoiceForm != 0) {
        tran_[TInvoice] = invoices_.issue(shift.dateAt(sale.second), sale.invoiceForm);
        tran_[TInvoiceTp] = sale.invoiceForm == 3 ? c.threePart : c.twoPart;
        tran_[TUid] = sale.invoiceForm == 3 ? sale.buyerUid : c.noBuyer;
        tran_[TVoid] = sale.isLive() ? c.valid : c.voided;
        tran_[TPrtInvoice] = c.printed;
    } else {
        tran_[TInvoice] = c.empty;
        tran_[TInvoiceTp] = c.empty;
        tran_[TUid] = c.empty;
        tran_[TVoid] = c.valid;
        tran_[TPrtInvoice] = c.notPrinted;
    }
    tran_.write();

    detail_[DIsland] = nozzle.island;
    detail_[DGun] = nozzle.gun;
    detail_[DTime] = time;
    detail_[DShift] = shift.code;
    detail_[DTaxType] = taxType;
    for (int l = 0; l < sale.lineCount; ++l) {
        const DemoLine& line = sale.lines[l];
        const DemoProduct& product = m_.products[line.product];
        const Role role = roles_[line.product].role;
        detail_[DSeq] = c.seq[l];
        detail_[DProduct] = product.id;
        detail_[DClass] = product.cls;
        detail_[DPrice] = demo::fixedText(line.priceCents, 2);
        detail_[DQty] = demo::fixedText(line.quantity, 2);
        detail_[DAmt] = demo::wholeText(line.amount);
        detail_[DUnit] = role == Role::Fuel || role == Role::Discount ? c.litre : c.piece;
        detail_.write();
    }
    lines_ += sale.lineCount;

    if (sale.isLive()) addToTotals(sale, due, totals);
}

void DemoSaleWriter::addToTotals(const DemoSale& sale, qint64 due, DemoShiftTotals& t) const {
    for (int l = 0; l < sale.lineCount; ++l) {
        const DemoLine& line = sale.lines[l];
        const ProductRole& r = roles_[line.product];
        switch (r.role) {
        case Role::Fuel: {
            t.nozzles[sale.nozzle].quantity += line.quantity;
            t.nozzles[sale.nozzle].amount += line.amount;
            t.fuelAmount += line.amount;
            DemoQuantityAmount* byPayment =
                sale.payment == DemoPayment::Ticket     ? &t.tickets[r.index]
                : sale.payment == DemoPayment::BankCard ? &t.bankCards[r.index]
                : sale.payment == DemoPayment::Charge   ? &t.charges[r.index]
                : sale.payment == DemoPayment::Charge2  ? &t.charges2[r.index]
                                                        : nullptr;
            if (byPayment) {
                byPayment->quantity += line.quantity;
                byPayment->amount += line.amount;
            }
            break;
        }
        case Role::Good:
            t.goods[r.index].quantity += line.quantity;
            t.goods[r.index].amount += line.amount;
            t.goodsAmount += line.amount;
            break;
        case Role::Wash:
            t.washes[r.index].quantity += line.quantity;
            t.washes[r.index].amount += line.amount;
            t.washAmount += line.amount;
            break;
        case Role::Discount:
            t.fuelDiscount -= line.amount;
            break;
        case Role::Fleet:
            t.fleetDeduction += line.amount;
            ++t.fleetLines;
            break;
        case Role::Jieli:
            t.jieliDeduction += line.amount;
            ++t.jieliLines;
            break;
        case Role::Gift:
            break;
        }
    }
    switch (sale.payment) {
    case DemoPayment::BankCard:
        t.bankCardDue += due;
        break;
    case DemoPayment::Charge:
        t.chargeDue += due;
        break;
    case DemoPayment::Charge2:
        t.charge2Due += due;
        break;
    case DemoPayment::Ticket:
        t.ticketDue += due;
        break;
    default:
        break;
    }
}
