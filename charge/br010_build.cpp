#include "charge/br010_build.h"

#include "app/data_module.h"
#include "app/progress.h"
#include "charge/charge_lines.h"
#include "db/connection.h"
#include "db/query.h"
#include "reports/common/date_basis.h"
#include "reports/common/work_table.h"

namespace {

const char* const createStatement =
    "create TEMPORARY table tBR010 (island varchar(02),gun_no varchar(02),tran_time timestamp,  "
    "car_no varchar(10),comp_no varchar(20),shift varchar(09),product_id varchar(13),class "
    "varchar(03), price decimal(18,2) DEFAULT '0.00',qty decimal(18,2) DEFAULT '0.00',amt "
    "decimal(18,0) DEFAULT '0', discount decimal(18,2) DEFAULT '0.00',disamt decimal(18,0) "
    "DEFAULT '0',payamt decimal(18,0) DEFAULT '0', comp_name varchar(40),product_name "
    "varchar(30),wdate varchar(10),wtime varchar(08)) ";

// The conditions that pick the charge sales lines of the range, and the chosen order.
QString selection(const Br010Params& p, const DateBasisFilter& filter) {
    QString sql = QStringLiteral("WHERE ") + filter.sql;
    if (!p.car.trimmed().isEmpty()) sql += QStringLiteral("and m.car_no = :ME03 ");
    if (!p.company.trimmed().isEmpty()) sql += QStringLiteral("and m.ref_no2 = :ME04 ");
    sql += chargeLines::liveChargeLinesSql();
    const QChar order = p.order.isEmpty() ? QChar() : p.order.at(0);
    if (order == QLatin1Char('1')) sql += QStringLiteral("Order by m.tran_time ");
    if (order == QLatin1Char('2')) sql += QStringLiteral("Order by m.car_no, m.tran_time ");
    if (order == QLatin1Char('3')) sql += QStringLiteral("Order by m.ref_no2, m.tran_time ");
    return sql;
}

// The work table's columns in the chosen order, as the lines were written.
QString workOrder(const Br010Params& p) {
    const QChar order = p.order.isEmpty() ? QChar() : p.order.at(0);
    if (order == QLatin1Char('1')) return QStringLiteral("tran_time");
    if (order == QLatin1Char('2')) return QStringLiteral("car_no, tran_time");
    if (order == QLatin1Char('3')) return QStringLiteral("comp_no, tran_time");
    return {};
}

// How a line's product and company are found in their masters: by the trimmed codes for
// print, by the codes as stored (read as the master's own column type) for export.
struct MasterKeys {
    QString product = QStringLiteral("trim(d.product_id)");
    QString company = QStringLiteral("trim(m.ref_no2)");
};

MasterKeys storedKeys(Query& work) {
    work.close();
    work.setSql(QStringLiteral(
        "select c.relname::text, format_type(a.atttypid, a.atttypmod) from pg_attribute a "
        "join pg_class c on c.oid = a.attrelid where pg_table_is_visible(c.oid) and "
        "((c.relname = 'product' and a.attname = 'product_id') or "
        "(c.relname = 'cust_unit' and a.attname = 'cust_id'))"));
    work.open();
    MasterKeys keys{QStringLiteral("d.product_id::text"), QStringLiteral("m.ref_no2::text")};
    for (work.first(); !work.eof(); work.next()) {
        const QString cast = QStringLiteral("::") + work.fieldAt(1).asText();
        if (work.fieldAt(0).asText() == QLatin1String("product"))
            keys.product += cast;
        else
            keys.company += cast;
    }
    work.close();
    return keys;
}

// One statement fills the work table: the charge sales lines with their product and
// company joined, the discount per litre and its amount worked out in decimal arithmetic
// (the rate times the litres the user sees, halves away from zero), in the chosen order.
void fillWorkTable(Query& work, const Br010Params& p, const MasterKeys& keys, Progress& progress) {
    const DateBasisFilter filter =
        dateBasisFilter(p.basis.isEmpty() ? QChar() : p.basis.at(0), p.start, p.end);
    recreateWorkTable(work, QStringLiteral("tBR010"), QString::fromLatin1(createStatement));
    progress.step();
    const QString rate = chargeLines::discountRateSql();
    const QString disamt = chargeLines::lineDiscountSql();
    work.close();
    work.setSql(
        QStringLiteral(
            "insert into tBR010 (island,gun_no,tran_time,car_no,comp_no,shift,product_id,class,"
            "price,qty,amt,discount,disamt,payamt,comp_name,product_name,wdate,wtime) "
            "select m.island, m.gun_no, m.tran_time, m.car_no, m.ref_no2, m.shift, d.product_id, "
            "d.class, d.price, d.qty, d.amt, %1, %2, coalesce(d.amt,0)::numeric - %2, "
            "case when c.cust_id is null then '' else c.unit_name end, "
            "coalesce(p.name, trim(d.product_id)), to_char(m.tran_time,'YYYY/MM/DD'), "
            "to_char(m.tran_time,'HH24:MI:SS') "
            "from tran m cross join tran_detl d "
            "left join product p on p.product_id = %3 "
            "left join cust_unit c on c.cust_id = %4 %5")
            .arg(rate, disamt, keys.product, keys.company, selection(p, filter)));
    filter.apply(work);
    if (work.hasParam(QStringLiteral("ME03")))
        work.param(QStringLiteral("ME03")).setText(p.car.trimmed());
    if (work.hasParam(QStringLiteral("ME04")))
        work.param(QStringLiteral("ME04")).setText(p.company.trimmed());
    Connection& cn = *work.connection();
    Transaction transaction(cn);
    chargeLines::preferHashJoins(cn);
    work.execute();
    transaction.commit();
    progress.step();
}

} // namespace

Br010Titles buildBr010(DataModule& dm, Query& work, const Br010Params& params, Progress& progress) {
    fillWorkTable(work, params, MasterKeys(), progress);
    openWorkRows(dm.qy, QStringLiteral("tBR010"), workOrder(params));
    progress.step();
    return {dm.settings.st_name, params, dm.settings.tax_rate};
}

void buildBr010Export(Query& work, const Br010Params& params, Progress& progress) {
    fillWorkTable(work, params, storedKeys(work), progress);
    openWorkRows(work, QStringLiteral("tBR010"), workOrder(params));
    progress.step();
}

QList<ExportColumn> br010ExportColumns() {
    return {{"wdate", QStringLiteral("交易日期")},        {"wtime", QStringLiteral("時間")},
            {"car_no", QStringLiteral("車號")},           {"comp_no", QStringLiteral("公司代號")},
            {"comp_name", QStringLiteral("公司名稱")},    {"product_id", QStringLiteral("產品")},
            {"product_name", QStringLiteral("產品名稱")}, {"price", QStringLiteral("單價")},
            {"discount", QStringLiteral("折扣")},         {"qty", QStringLiteral("數量")},
            {"amt", QStringLiteral("交易金額")},          {"disamt", QStringLiteral("折扣金額")},
            {"payamt", QStringLiteral("應收金額")}};
}
