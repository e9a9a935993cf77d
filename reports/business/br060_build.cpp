#include "reports/business/br060_build.h"

#include "app/data_module.h"
#include "app/progress.h"
#include "db/connection.h"
#include "db/copy_loader.h"
#include "db/input_refused.h"
#include "db/query.h"
#include "reports/common/business_day.h"
#include "reports/common/date_basis.h"
#include "reports/common/decimal.h"
#include "reports/common/work_table.h"

#include <QHash>
#include <vector>

namespace {

const char* const createStatement =
    "create TEMPORARY table tBR060 (product_id varchar(20),product_name varchar(40),  bqty "
    "decimal(18,0) DEFAULT '0',iqty decimal(18,0) DEFAULT '0', iamt decimal(18,0) DEFAULT "
    "'0',iprice decimal(18,4) DEFAULT '0.0000', oqty decimal(18,0) DEFAULT '0',oamt "
    "decimal(18,0) DEFAULT '0', eamt decimal(18,0) DEFAULT '0',dqty decimal(18,0) DEFAULT '0', "
    "sqty decimal(18,0) DEFAULT '0',samt decimal(18,0) DEFAULT '0') ";

// The start and the end day's goods rows of the products in the product list, in shift
// order: the opening stock comes from the first of them, the closing stock from the last.
const char* const dayRowsStatement =
    "SELECT substr(m.shift,1,7) as tday, m.product_id, d.name, "
    "m.bef_stock::numeric::text as bef_stock, m.in_price::numeric::text as in_price, "
    "m.stock::numeric::text as stock FROM shift_04_stock as m, product as d "
    "where substr(m.shift,1,7) in (:ME01, :ME02) and m.product_id = d.product_id "
    "order by m.shift, m.ctid ";

// The movements of the range per product, summed in decimal arithmetic, with the product's
// name from the product list.
const char* const movementsStatement =
    "SELECT s.product_id, (select min(d.name) from product d where d.product_id = s.product_id) "
    "as name, sum(in_qty::numeric)::text as iqty, "
    "sum(in_qty::numeric*in_price::numeric)::text as iamt, "
    "sum(sale_qty::numeric+abert_qty::numeric)::text as oqty, "
    "sum(sale_amt::numeric+abert_qty::numeric*sale_price::numeric)::text as oamt, "
    "sum((sale_qty::numeric+abert_qty::numeric)*(sale_price::numeric-in_price::numeric))::text "
    "as eamt, sum(check_qty::numeric)::text as dqty FROM shift_04_stock s "
    "where substr(shift,1,7) >= :ME01 and substr(shift,1,7) <= :ME02 "
    "group by s.product_id order by s.product_id ";

const QStringList workColumns = {"product_id", "product_name", "bqty", "iqty", "iamt", "iprice",
                                 "oqty",       "oamt",         "eamt", "dqty", "sqty", "samt"};

// One row of tBR060 as it stands in the table: every figure rounded to its column.
struct StockRow {
    QString id;
    QString name; // null until a step names the product
    Decimal bqty, iqty, iamt, iprice, oqty, oamt, eamt, dqty, sqty, samt;

    // The row as the table stores it: decimal(18,0) whole, iprice decimal(18,4).
    void store() {
        for (Decimal* f : {&bqty, &iqty, &iamt, &oqty, &oamt, &eamt, &dqty, &sqty, &samt})
            *f = f->rounded(0);
        iprice = iprice.rounded(4);
    }
};

// The work table in memory: rows by trimmed product id, in the order first written.
class StockTable {
public:
    StockRow* find(const QString& id) {
        const auto at = index_.constFind(id);
        return at == index_.constEnd() ? nullptr : &rows_[std::size_t(*at)];
    }
    StockRow& add(const QString& id) {
        index_.insert(id, int(rows_.size()));
        rows_.push_back(StockRow());
        rows_.back().id = id;
        return rows_.back();
    }
    const std::vector<StockRow>& rows() const { return rows_; }

private:
    QHash<QString, int> index_;
    std::vector<StockRow> rows_;
};

// A figure of the current row, which the statements hand over as numeric text.
Decimal figure(Query& q, const char* column) {
    return Decimal::fromColumn(q.field(QString::fromLatin1(column)).value());
}

} // namespace

Br060Titles buildBr060(DataModule& dm, Query& work, const Br060Params& params, Progress& progress) {
    const QString k1 = businessDayKey(checkedDay(params.start, QStringLiteral("e01")));
    const QString k2 = businessDayKey(checkedDay(params.end, QStringLiteral("e02")));
    recreateWorkTable(work, QStringLiteral("tBR060"), QString::fromLatin1(createStatement));
    progress.step();

    Connection& cn = *work.connection();
    const TextCodec& codec = cn.codec();
    // A product's id as the work table keeps it and looks it up: trimmed, cut to its column.
    auto key = [&codec](const Value& id) { return fitToColumn(id.toText().trimmed(), 20, codec); };

    Transaction snapshot(cn, Connection::Isolation::RepeatableRead);
    Query days(cn);
    days.setSql(QString::fromLatin1(dayRowsStatement));
    days.param(QStringLiteral("ME01")).setText(k1);
    days.param(QStringLiteral("ME02")).setText(k2);
    days.open();
    Query moves(cn);
    moves.setSql(QString::fromLatin1(movementsStatement));
    moves.param(QStringLiteral("ME01")).setText(k1);
    moves.param(QStringLiteral("ME02")).setText(k2);
    moves.open();

    StockTable table;
    // Opening stock: the first shift of the start day that holds the product.
    for (days.first(); !days.eof(); days.next()) {
        if (days.field(QStringLiteral("tday")).asText() != k1) continue;
        const QString id = key(days.field(QStringLiteral("product_id")).value());
        if (!table.find(id)) {
            StockRow& r = table.add(id);
            r.name = fitToColumn(days.field(QStringLiteral("name")).asText().trimmed(), 40, codec);
            const Decimal before = figure(days, "bef_stock");
            const Decimal price = figure(days, "in_price");
            r.bqty = before;
            r.iprice = price;
            r.sqty = before;
            r.samt = (price * before).rounded(0);
            r.store();
        }
        progress.step();
    }
    // Movements of the range. A product without an opening row starts from nothing and is
    // valued at the average purchase price of the range.
    for (moves.first(); !moves.eof(); moves.next()) {
        const QString id = key(moves.field(QStringLiteral("product_id")).value());
        const Decimal iqty = figure(moves, "iqty"), iamt = figure(moves, "iamt"),
                      oqty = figure(moves, "oqty"), oamt = figure(moves, "oamt"),
                      eamt = figure(moves, "eamt"), dqty = figure(moves, "dqty");
        StockRow* r = table.find(id);
        const bool opened = r != nullptr;
        if (!opened) {
            // A product first met in the range is named as the product list names it (by its
            // id when the list lacks it), so that its row can be told from the others.
            r = &table.add(id);
            const QString name = moves.field(QStringLiteral("name")).asText().trimmed();
            r->name = name.isEmpty() ? id : fitToColumn(name, 40, codec);
        }
        r->iqty = iqty;
        r->iamt = iamt;
        r->oqty = oqty;
        r->oamt = oamt;
        r->eamt = eamt;
        r->dqty = dqty;
        if (opened) {
            r->sqty = r->bqty + iqty - oqty + dqty;
            r->samt = (r->iprice * r->sqty).rounded(0);
        } else {
            r->sqty = iqty - oqty + dqty;
            if (!iqty.isZero()) r->samt = (iamt * r->sqty).dividedBy(iqty, 0);
        }
        r->store();
        progress.step();
    }
    // Closing stock: the last shift of the end day overrides what the movements add up to.
    for (days.first(); !days.eof(); days.next()) {
        if (days.field(QStringLiteral("tday")).asText() != k2) continue;
        if (StockRow* r = table.find(key(days.field(QStringLiteral("product_id")).value()))) {
            const Decimal price = figure(days, "in_price");
            const Decimal stock = figure(days, "stock");
            r->name = fitToColumn(days.field(QStringLiteral("name")).asText().trimmed(), 40, codec);
            r->iprice = price;
            r->sqty = stock;
            r->samt = (price * stock).rounded(0);
            r->store();
        }
        progress.step();
    }

    CopyLoader loader(cn);
    const int tBR060 = loader.declare(QStringLiteral("tBR060"), workColumns);
    for (const StockRow& r : table.rows())
        loader.row(tBR060, {r.id, r.name, r.bqty.toText(), r.iqty.toText(), r.iamt.toText(),
                            r.iprice.toText(), r.oqty.toText(), r.oamt.toText(), r.eamt.toText(),
                            r.dqty.toText(), r.sqty.toText(), r.samt.toText()});
    loader.finish();
    dm.qy.close();
    dm.qy.setSql(QStringLiteral("select * from tBR060 order by product_id "));
    dm.qy.open();
    snapshot.commit();
    progress.step();
    return {dm.settings.st_name, params};
}
