#include "reports/business/br030_build.h"

#include "app/data_module.h"
#include "app/product_codes.h"
#include "app/progress.h"
#include "db/connection.h"
#include "db/input_refused.h"
#include "db/query.h"
#include "reports/common/business_day.h"
#include "reports/common/date_basis.h"
#include "reports/common/work_table.h"

#include <QHash>

namespace {

const char* const createStatement =
    "create TEMPORARY table tBR030 (tank varchar(02),name varchar(12),  bqty decimal(18,2) "
    "DEFAULT '0.00',iqty decimal(18,2) DEFAULT '0.00', oqty decimal(18,2) DEFAULT "
    "'0.00',sqty decimal(18,2) DEFAULT '0.00', rqty decimal(18,2) DEFAULT '0.00',dqty "
    "decimal(18,2) DEFAULT '0.00') ";

constexpr int tankWidth = 2, nameWidth = 12; // tBR030's varchar(02) and varchar(12)

// A figure as the day's rows hold it, to four decimals.
Decimal quantityOf(Query& q, const char* column) {
    return Decimal::fromColumn(q.field(QString::fromLatin1(column)).value(), 4);
}

qint64 amountOf(Query& q, const char* column) {
    return quantityOf(q, column).toWhole();
}

std::optional<qint64> sumOf(Query& q, const char* column) {
    const Field f = q.field(QString::fromLatin1(column));
    if (f.isNull()) return std::nullopt;
    return Decimal::fromColumn(f.value(), 4).toWhole();
}

QString codeOf(Query& q, const char* column) {
    return q.field(QString::fromLatin1(column)).asText().trimmed();
}

// Opens `sql` on `q` with its business-day parameters.
void openDay(Query& q, const QString& sql, const QList<QPair<QString, QString>>& params) {
    q.close();
    q.setSql(sql);
    for (const auto& [name, value] : params)
        q.param(name).setText(value);
    q.open();
}

// A row of tBR030 as the day's shifts leave it.
struct TankRow {
    QString tank, name;
    Decimal bqty, iqty, oqty, sqty, rqty, dqty;
};

// The decimal(18,2) columns keep two decimals; a later shift adds to what was kept.
Decimal kept(Decimal value) {
    return value.rounded(2);
}

// The tank table from the day's shift_03_tank rows, open on `q` in shift and tank order:
// each tank's opening book stock from its first shift, the receipts and sales of all its
// shifts, the closing book and measured stock from its last.
QList<TankRow> tankRows(Query& q, const TextCodec& codec, Progress& progress) {
    QList<TankRow> rows;
    QHash<QString, qsizetype> byTank;
    for (q.first(); !q.eof(); q.next()) {
        const QString tank = codeOf(q, "tank");
        const Decimal real2 = quantityOf(q, "real2"), account2 = quantityOf(q, "account2");
        auto found = byTank.constFind(tank);
        if (found == byTank.constEnd()) {
            TankRow row;
            row.tank = fitToColumn(tank, tankWidth, codec);
            row.name = fitToColumn(codeOf(q, "oilname"), nameWidth, codec);
            row.bqty = kept(quantityOf(q, "account1"));
            row.iqty = kept(quantityOf(q, "in_stock"));
            row.oqty = kept(quantityOf(q, "sale"));
            byTank.insert(tank, rows.size());
            rows.append(row);
        } else {
            TankRow& row = rows[*found];
            row.iqty = kept(row.iqty + quantityOf(q, "in_stock"));
            row.oqty = kept(row.oqty + quantityOf(q, "sale"));
        }
        TankRow& row = rows[byTank.value(tank)];
        row.sqty = kept(account2);
        row.rqty = kept(real2);
        row.dqty = kept(real2 - account2);
        progress.step();
    }
    return rows;
}

// Writes the tank rows with one statement.
void insertTankRows(Query& work, const QList<TankRow>& rows) {
    if (rows.isEmpty()) return;
    QString sql =
        QStringLiteral("insert into tBR030 (tank,name,bqty,iqty,oqty,sqty,rqty,dqty) values ");
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const TankRow& r = rows[i];
        sql += QStringLiteral("%1(:MTank%2,:MName%2,%3,%4,%5,%6,%7,%8)")
                   .arg(i ? QStringLiteral(",") : QString())
                   .arg(i)
                   .arg(r.bqty.toText(), r.iqty.toText(), r.oqty.toText(), r.sqty.toText(),
                        r.rqty.toText(), r.dqty.toText());
    }
    work.close();
    work.setSql(sql);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        work.param(QStringLiteral("MTank%1").arg(i)).setText(rows[i].tank);
        work.param(QStringLiteral("MName%1").arg(i)).setText(rows[i].name);
    }
    work.execute();
}

} // namespace

int br030ProductCode(int product) {
    static const int codes[br030ProductCount] = {2, 3, 5, 8};
    return codes[product];
}

int br030ProductOf(const QString& productId) {
    const QString id = productId.trimmed();
    if (id == products::Prod92) return 0;
    if (id == products::ProdDiesel) return 1;
    if (id == products::Prod95) return 2;
    if (id == products::Prod98) return 3;
    return -1;
}

Decimal Br030Figures::dayQuantity() const {
    Decimal sum;
    for (const auto& product : cells)
        sum += product[Br030Col::Dispensed].quantity;
    return sum;
}

std::optional<Decimal> Br030Figures::share(int product) const {
    const qint64 amount = cells[std::size_t(product)][Br030Col::Dispensed].amount;
    const qint64 total = totals[Br030Col::Dispensed];
    // A day whose sales add up to nothing has no shares to divide out.
    if (amount == 0 || total == 0) return std::nullopt;
    return Decimal::whole(amount * 100).dividedBy(Decimal::whole(total), 2);
}

Br030Report buildBr030(DataModule& dm, Query& work, const Br030Params& params, Progress& progress) {
    const QDate day = checkedDay(params.date, QStringLiteral("e01"));
    const QString key = businessDayKey(day);
    const QList<QPair<QString, QString>> dayKey = {{QStringLiteral("MShift"), key}};

    Br030Report report;
    report.titles = {dm.settings.st_name, params.date, params.weather};
    Br030Figures& f = report.figures;
    auto& cells = f.cells;

    recreateWorkTable(work, QStringLiteral("tBR030"), QString::fromLatin1(createStatement));
    // Every figure of the page from one picture of the day, however the point-of-sale
    // system writes meanwhile.
    Connection& cn = dm.cn;
    Transaction snapshot(cn, Connection::Isolation::RepeatableRead);

    // Sales and tests.
    openDay(work,
            QStringLiteral(
                "SELECT product_id, sum(out_qty) as tqty, sum(out_amt) as tamt,   "
                "sum(test_qty+walk_qty) as testqty, sum(test_amt+walk_amt) as testamt FROM "
                "shift_01_gun  WHERE substr(shift,1,7) = :MShift Group BY product_id ORDER BY "
                "product_id "),
            dayKey);
    for (work.first(); !work.eof(); work.next()) {
        const int p = br030ProductOf(codeOf(work, "product_id"));
        if (p >= 0) {
            cells[p][Br030Col::Dispensed].amount += amountOf(work, "tamt");
            cells[p][Br030Col::Dispensed].quantity += quantityOf(work, "tqty");
            cells[p][Br030Col::Tests].amount += amountOf(work, "testamt");
            cells[p][Br030Col::Tests].quantity += quantityOf(work, "testqty");
        }
        progress.step();
    }

    // Deduction and discount lines, each with the fuel line of its sale.
    openDay(work,
            QStringLiteral(
                "SELECT m.island,m.gun_no,m.tran_time,m.shift,m.ref_no2,d.product_id,d.class,     "
                "d.price,d.amt,d.qty,j.product_id as itemno,j.qty as qty1 FROM tran as m, "
                "tran_detl as d, tran_detl as j WHERE Date(m.tran_time) >= :MD1 and "
                "Date(m.tran_time) <= :MD2 and substr(m.shift,1,7) = :MShift   and ((d.class = "
                "'131') or (d.class = '132')) and m.an_mark < '200' and j.class = '101'   and "
                "m.island = d.island and m.gun_no = d.gun_no and m.tran_time = d.tran_time   and "
                "m.island = j.island and m.gun_no = j.gun_no and m.tran_time = j.tran_time Order "
                "by m.tran_time "),
            {{QStringLiteral("MD1"), dayText(day.addDays(-1))},
             {QStringLiteral("MD2"), dayText(day.addDays(1))},
             {QStringLiteral("MShift"), key}});
    for (work.first(); !work.eof(); work.next()) {
        const QString cls = codeOf(work, "class");
        const QString product = codeOf(work, "product_id");
        const qint64 amt = amountOf(work, "amt");
        if (cls == QLatin1String("132")) f.otherDeductions -= amt;
        const int p = br030ProductOf(codeOf(work, "itemno"));
        if (p >= 0) {
            auto deduct = [&](int column) {
                cells[p][column].amount -= amt;
                cells[p][column].quantity += quantityOf(work, "qty1");
            };
            if (product == products::Prod700LT) deduct(Br030Col::Fleet);
            if (product == products::Prod700CT) deduct(Br030Col::Jieli);
            if (cls == QLatin1String("131")) {
                cells[p][Br030Col::Discount].amount -= amt;
                if (!codeOf(work, "ref_no2").isEmpty()) cells[p][Br030Col::Charge].amount += amt;
            }
        }
        progress.step();
    }

    // Tickets, charge accounts and bank cards; the cash is what remains.
    openDay(work,
            QStringLiteral(
                "SELECT product_id, sum(ticket_qty) as tick_qty,   sum(ticket_amt) as tick_amt, "
                "sum(cdc_qty) as cr_qty, sum(cdc_amt) as cr_amt,    sum(cdc_qty2+credit_qty) as "
                "sign_qty, sum(cdc_amt2+credit_amt) as sign_amt FROM shift_02_oil  WHERE "
                "substr(shift,1,7) = :MShift Group BY product_id ORDER BY product_id "),
            dayKey);
    for (work.first(); !work.eof(); work.next()) {
        const int p = br030ProductOf(codeOf(work, "product_id"));
        if (p >= 0) {
            auto& c = cells[p];
            c[Br030Col::Tickets].amount += amountOf(work, "tick_amt");
            c[Br030Col::Tickets].quantity += quantityOf(work, "tick_qty");
            c[Br030Col::Charge].amount += amountOf(work, "sign_amt");
            c[Br030Col::Charge].quantity += quantityOf(work, "sign_qty");
            c[Br030Col::BankCard].amount += amountOf(work, "cr_amt");
            c[Br030Col::BankCard].quantity += quantityOf(work, "cr_qty");
            c[Br030Col::Cash].amount = c[Br030Col::Dispensed].amount;
            c[Br030Col::Cash].quantity = c[Br030Col::Dispensed].quantity;
            for (int column = Br030Col::Tickets; column <= Br030Col::Jieli; ++column) {
                c[Br030Col::Cash].amount -= c[column].amount;
                c[Br030Col::Cash].quantity -= c[column].quantity;
            }
            c[Br030Col::Cash].amount -= c[Br030Col::Discount].amount;
        }
        progress.step();
    }

    // The totals row; the card deductions were counted among the other deductions above.
    for (int column = Br030Col::Cash; column <= Br030Col::Dispensed; ++column)
        for (const auto& product : cells)
            f.totals[column] += product[column].amount;
    f.otherDeductions -= f.totals[Br030Col::Fleet] + f.totals[Br030Col::Jieli];

    // The day's money totals, left open on qy for the page.
    openDay(dm.qy,
            QStringLiteral("SELECT sum(goods_amt+diff_amt1) as ws_amt, sum(prod_disc) as "
                           "pdis_amt,   sum(cdc1_amt) as cr_amt, sum(cdc2_amt+credit_amt) as "
                           "sign_amt,   sum(ticket_amt) as tick_amt,sum(credit_amt) as "
                           "credit_amt FROM shift_05  WHERE substr(shift,1,7) = :MShift "),
            dayKey);
    if (!dm.qy.isEmpty()) {
        f.goodsSales = sumOf(dm.qy, "ws_amt");
        f.productDiscount = sumOf(dm.qy, "pdis_amt");
        f.bankCards = sumOf(dm.qy, "cr_amt");
        f.charges = sumOf(dm.qy, "sign_amt");
        f.tickets = sumOf(dm.qy, "tick_amt");
        f.passbook = sumOf(dm.qy, "credit_amt");
        auto& sub = f.subProduct;
        if (f.goodsSales) sub[Br030Col::Dispensed] = *f.goodsSales;
        if (f.bankCards) sub[Br030Col::BankCard] = *f.bankCards - f.totals[Br030Col::BankCard];
        if (f.charges) sub[Br030Col::Charge] = *f.charges - f.totals[Br030Col::Charge];
        sub[Br030Col::Cash] =
            sub[Br030Col::Dispensed] - sub[Br030Col::BankCard] - sub[Br030Col::Charge];
        progress.step();
    }

    // Car wash and the card deductions of the goods lines.
    openDay(work, QStringLiteral("SELECT * FROM shift_06  WHERE substr(shift,1,7) = :MShift "),
            dayKey);
    for (work.first(); !work.eof(); work.next()) {
        const QString cls = codeOf(work, "class");
        const QString product = codeOf(work, "product_id");
        const qint64 amt = amountOf(work, "amt");
        if (cls == QLatin1String("102")) f.carWash += amt;
        if (cls == QLatin1String("132") && product == products::Prod700LT) f.fleetCard -= amt;
        if (cls == QLatin1String("132") && product == products::Prod700CT) f.jieliCard -= amt;
        progress.step();
    }

    // The income line.
    f.mainIncome =
        f.totals[Br030Col::Dispensed] - f.totals[Br030Col::Discount] - f.totals[Br030Col::Tests];
    f.subIncome = f.subProduct[Br030Col::Dispensed] - f.carWash;
    f.totalIncome = f.mainIncome + f.subIncome + f.carWash;
    if (f.charges && f.bankCards && f.tickets)
        f.incomeCash =
            f.totalIncome - f.fleetCard - f.jieliCard - *f.charges - *f.bankCards - *f.tickets;

    // The tank table.
    openDay(work,
            QStringLiteral("SELECT * FROM shift_03_tank  WHERE substr(shift,1,7) = :MShift order "
                           "by shift, tank "),
            dayKey);
    const QList<TankRow> tanks = tankRows(work, cn.codec(), progress);
    insertTankRows(work, tanks);
    work.close();
    dm.qy1.close();
    dm.qy1.setSql(QStringLiteral("SELECT * from tBR030  Order BY tank "));
    dm.qy1.open();

    // The month to the day.
    openDay(work,
            QStringLiteral("SELECT sum(out_qty-test_qty-walk_qty) as tqty, "
                           "sum(out_amt-test_amt-walk_amt) as tamt FROM shift_01_gun  WHERE "
                           "substr(shift,1,7) >= :MShift1   and substr(shift,1,7) <= :MShift2 "),
            {{QStringLiteral("MShift1"), key.left(5) + QStringLiteral("01")},
             {QStringLiteral("MShift2"), key}});
    if (!work.isEmpty()) {
        const int days = key.mid(5, 2).toInt();
        f.monthQuantity = quantityOf(work, "tqty");
        f.monthAmount = quantityOf(work, "tamt");
        f.averageQuantity = f.monthQuantity.dividedBy(Decimal::whole(days), 2);
        f.averageAmount = f.monthAmount.dividedBy(Decimal::whole(days), 0);
        progress.step();
    }
    work.close();
    snapshot.commit();
    return report;
}
