#include "charge/br020_build.h"

#include "app/data_module.h"
#include "app/product_codes.h"
#include "app/progress.h"
#include "charge/charge_lines.h"
#include "db/connection.h"
#include "db/query.h"
#include "reports/common/date_basis.h"
#include "reports/common/work_table.h"

namespace {

const char* const createStatement =
    "create TEMPORARY table tBR020 (comp_no varchar(20),comp_name varchar(40),  qty300 "
    "decimal(18,2) DEFAULT '0.00',amt300 decimal(18,0) DEFAULT '0', qty200 decimal(18,2) DEFAULT "
    "'0.00',amt200 decimal(18,0) DEFAULT '0', qty500 decimal(18,2) DEFAULT '0.00',amt500 "
    "decimal(18,0) DEFAULT '0', qty800 decimal(18,2) DEFAULT '0.00',amt800 decimal(18,0) DEFAULT "
    "'0', qtysub decimal(18,2) DEFAULT '0.00',amtsub decimal(18,0) DEFAULT '0', qtytot "
    "decimal(18,2) DEFAULT '0.00',amttot decimal(18,0) DEFAULT '0') ";

QString quoted(const QString& code) {
    return QLatin1Char('\'') + code + QLatin1Char('\'');
}

// The sums of one fuel's litres and net amount, by its exact product id.
QString fuelSums(const QString& product) {
    return QStringLiteral("sum(case when l.product_id = %1 then l.qty else 0 end), "
                          "sum(case when l.product_id = %1 then l.net else 0 end)")
        .arg(quoted(product));
}

// One statement fills the work table. Each line is taken as the row-by-row walk over the
// lines would add it: litres to two decimals, the amount less the line's own discount as a
// whole number (the columns' own roundings), the discount worked out and rounded per line
// before anything is added, so 0.5 on two lines of 45 L takes off 23 + 23.
QString fillStatement(const QString& filter) {
    using namespace products;
    const QString fuels =
        QStringLiteral("(%1, %2, %3, %4)")
            .arg(quoted(Prod92), quoted(Prod95), quoted(Prod98), quoted(ProdDiesel));
    return QStringLiteral(
               "insert into tBR020 (comp_no,comp_name,qty300,amt300,qty200,amt200,qty500,amt500,"
               "qty800,amt800,amtsub,qtytot,amttot) "
               "select l.comp_no, max(l.comp_name), %1, %2, %3, %4, "
               "sum(case when l.fuel then 0 else l.amt end), "
               "sum(case when l.fuel then l.qty else 0 end), "
               "sum(case when l.fuel then l.net else l.amt end) "
               "from (select coalesce(trim(m.ref_no2), '') as comp_no, "
               "case when c.cust_id is null then '' else c.unit_name end as comp_name, "
               "d.product_id, coalesce(d.product_id in %5, false) as fuel, "
               "round(coalesce(d.qty,0)::numeric, 2) as qty, "
               "round(coalesce(d.amt,0)::numeric) as amt, "
               "round(coalesce(d.amt,0)::numeric - %6) as net "
               "from tran m cross join tran_detl d "
               "left join cust_unit c on c.cust_id = trim(m.ref_no2) "
               "WHERE %7%8) l "
               "group by l.comp_no ")
        .arg(fuelSums(ProdDiesel), fuelSums(Prod92), fuelSums(Prod95), fuelSums(Prod98), fuels,
             chargeLines::lineDiscountSql(), filter, chargeLines::liveChargeLinesSql());
}

} // namespace

Br020Titles buildBr020(DataModule& dm, Query& work, Query& rows, const Br020Params& params,
                       Progress& progress) {
    const DateBasisFilter filter = dateBasisFilter(
        params.basis.isEmpty() ? QChar() : params.basis.at(0), params.start, params.end);
    recreateWorkTable(work, QStringLiteral("tBR020"), QString::fromLatin1(createStatement));
    progress.step();
    work.close();
    work.setSql(fillStatement(filter.sql));
    filter.apply(work);
    {
        Connection& cn = *work.connection();
        Transaction transaction(cn);
        chargeLines::preferHashJoins(cn);
        work.execute();
        transaction.commit();
    }
    progress.step();
    rows.close();
    rows.setSql(QStringLiteral("select * from tBR020 order by comp_no "));
    rows.open();
    progress.step();
    return {dm.settings.st_name, params};
}

QList<ExportColumn> br020ExportColumns() {
    return {{"comp_no", QStringLiteral("公司代號")}, {"comp_name", QStringLiteral("公司名稱")},
            {"qty300", QStringLiteral("超柴數量")},  {"amt300", QStringLiteral("超柴金額")},
            {"qty200", QStringLiteral("九二數量")},  {"amt200", QStringLiteral("九二金額")},
            {"qty500", QStringLiteral("九五數量")},  {"amt500", QStringLiteral("九五金額")},
            {"qty800", QStringLiteral("九八數量")},  {"amt800", QStringLiteral("九八金額")},
            {"amtsub", QStringLiteral("副品/折扣")}, {"qtytot", QStringLiteral("數量小計")},
            {"amttot", QStringLiteral("金額小計")}};
}
