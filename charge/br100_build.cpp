#include "charge/br100_build.h"

#include "app/data_module.h"
#include "app/progress.h"
#include "charge/charge_lines.h"
#include "db/connection.h"
#include "db/query.h"
#include "reports/common/date_basis.h"
#include "reports/common/work_table.h"

namespace {

const char* const createStatement =
    "create TEMPORARY table tBR100 (island varchar(02),gun_no varchar(02), tran_time "
    "timestamp,car_no varchar(10),ref_no4 varchar(20),shift varchar(09), product_id "
    "varchar(13),name varchar(20),price decimal(18,2) DEFAULT '0.00', qty decimal(18,2) DEFAULT "
    "'0.00',amt decimal(18,0) DEFAULT '0', disamt decimal(18,0) DEFAULT '0') ";

const char* const matchingSale = "where tbr100.island=d.island and tbr100.gun_no=d.gun_no and "
                                 "tbr100.tran_time=d.tran_time ";

// The date conditions of the fuel lines (a.) and the discount lines (no alias), with their
// own parameter names: the sales filter's, renamed.
struct LineFilter {
    QString sql;
    QList<QPair<QString, QString>> params;
};

LineFilter lineFilter(const DateBasisFilter& sales, bool byShift, const QString& alias,
                      const QString& from, const QString& to) {
    const QString tranTime = alias + QStringLiteral("tran_time");
    LineFilter f;
    f.sql = QStringLiteral("Date(%1) >= :%2 and Date(%1) <= :%3 ").arg(tranTime, from, to);
    if (byShift) {
        const QString key = QStringLiteral("substr(%1shift,1,7)").arg(alias);
        f.sql += QStringLiteral("and %1 >= :%2 and %1 <= :%3 ")
                     .arg(key, from + QLatin1Char('1'), to + QLatin1Char('1'));
    }
    for (const auto& [name, value] : sales.params) {
        const QString renamed =
            name.startsWith(QLatin1String("ME01")) ? from + name.mid(4) : to + name.mid(4);
        f.params << qMakePair(renamed, value);
    }
    return f;
}

void setParams(Query& q, const QList<QPair<QString, QString>>& params) {
    for (const auto& [name, value] : params)
        q.param(name).setText(value);
}

// The layout's order by the sort choice, each ended by the sale's time and nozzle so that
// the lines of one day, vehicle or card always print in the same order.
QString orderText(const QString& order) {
    const QChar choice = order.trimmed().isEmpty() ? QChar() : order.trimmed().at(0);
    if (choice == QLatin1Char('1'))
        return QStringLiteral("Order by tdate, shift, tran_time, island, gun_no ");
    if (choice == QLatin1Char('2'))
        return QStringLiteral("Order by car_no, tran_time, island, gun_no ");
    if (choice == QLatin1Char('3'))
        return QStringLiteral("Order by ref_no4, tran_time, island, gun_no ");
    return {};
}

} // namespace

Br100Titles buildBr100(DataModule& dm, Query& work, Query& rows, const Br100Params& p,
                       Progress& progress) {
    const QString basis = p.basis.trimmed();
    const bool byShift = !basis.startsWith(QLatin1Char('2'));
    const DateBasisFilter sales =
        dateBasisFilter(byShift ? QLatin1Char('1') : QLatin1Char('2'), p.start, p.end);
    QString f1 = QStringLiteral("WHERE ") + sales.sql;
    if (!p.car.trimmed().isEmpty()) f1 += QStringLiteral("and m.car_no = :ME03 ");
    if (!p.card.trimmed().isEmpty()) f1 += QStringLiteral("and m.ref_no4 = :ME04 ");
    f1 += QStringLiteral("and m.an_mark < '200' and m.ref_no4=d.dcard_no ");
    const LineFilter f2 = lineFilter(sales, byShift, byShift ? QStringLiteral("a.") : QString(),
                                     QStringLiteral("ME05"), QStringLiteral("ME06"));
    const LineFilter f3 =
        lineFilter(sales, byShift, QString(), QStringLiteral("ME07"), QStringLiteral("ME08"));

    recreateWorkTable(work, QStringLiteral("tBR100"), QString::fromLatin1(createStatement));
    progress.step();
    {
        // The sales and their lines from one snapshot: a sale the point-of-sale system
        // writes meanwhile either comes with its lines or not at all.
        Transaction snapshot(*work.connection(), Connection::Isolation::RepeatableRead);
        chargeLines::preferHashJoins(*work.connection());
        work.close();
        work.setSql(QStringLiteral("insert into tBR100 (island,gun_no,tran_time,car_no,ref_no4,"
                                   "shift) SELECT m.island,m.gun_no,m.tran_time,m.car_no,"
                                   "m.ref_no4,m.shift from tran m, dcard_mbr d ") +
                    f1);
        sales.apply(work);
        if (work.hasParam(QStringLiteral("ME03")))
            work.param(QStringLiteral("ME03")).setText(p.car.trimmed());
        if (work.hasParam(QStringLiteral("ME04")))
            work.param(QStringLiteral("ME04")).setText(p.card.trimmed());
        work.execute();
        progress.step();

        work.setSql(QStringLiteral("Update tbr100 set product_id=d.product_id,name=d.name,"
                                   "price=d.price,    qty=d.qty,amt=d.amt  from (SELECT "
                                   "a.island,a.gun_no,a.tran_time,a.product_id,a.price,a.qty,"
                                   "a.amt,b.name    FROM tran_detl a, product b WHERE ") +
                    f2.sql + QStringLiteral("and a.class='101' and a.product_id=b.product_id ") +
                    QStringLiteral(") d ") + QString::fromLatin1(matchingSale));
        setParams(work, f2.params);
        work.execute();
        progress.step();

        work.setSql(QStringLiteral("Update tbr100 set disamt=d.amt  from (SELECT island,gun_no,"
                                   "tran_time,amt    FROM tran_detl WHERE ") +
                    f3.sql + QStringLiteral("and class='131' ") + QStringLiteral(") d ") +
                    QString::fromLatin1(matchingSale));
        setParams(work, f3.params);
        work.execute();
        snapshot.commit();
        progress.step();
    }
    rows.close();
    rows.setSql(QStringLiteral("select *,(0-disamt) as damt,substr(shift,9,1) as class,   "
                               "date(tran_time) as tdate,(amt+disamt) as payamt from tbr100 ") +
                orderText(p.order));
    rows.open();
    progress.step();
    return {dm.settings.st_name, p};
}

QList<ExportColumn> br100ExportColumns() {
    return {{"tran_time", QStringLiteral("交易日期時間")},
            {"shift", QStringLiteral("班別")},
            {"island", QStringLiteral("島")},
            {"ref_no4", QStringLiteral("團體U卡卡號")},
            {"car_no", QStringLiteral("車號")},
            {"name", QStringLiteral("產品")},
            {"price", QStringLiteral("單價")},
            {"qty", QStringLiteral("數量")},
            {"amt", QStringLiteral("交易金額")},
            {"damt", QStringLiteral("折扣金額")},
            {"payamt", QStringLiteral("應收金額")}};
}
