#include "reports/business/br080_build.h"

#include "app/data_module.h"
#include "app/progress.h"
#include "db/connection.h"
#include "db/query.h"
#include "reports/common/date_basis.h"

namespace {

// W: the gift lines of the live sales of the range, with their product.
QString filterText(const Br080Params& p, const DateBasisFilter& dates) {
    QString w = QStringLiteral("WHERE ") + dates.sql;
    if (!p.gift.trimmed().isEmpty()) w += QStringLiteral("and d.product_id = :ME03 ");
    w += QStringLiteral(
        "and d.class = '104' and m.an_mark < '200' and d.product_id = p.product_id ");
    w += QStringLiteral(
        "and m.island = d.island and m.gun_no = d.gun_no and m.tran_time = d.tran_time ");
    return w;
}

QString rowsStatement(const Br080Params& p, const QString& w) {
    if (p.detail())
        return QStringLiteral("SELECT date(m.tran_time) as tdate,m.invoice,d.product_id,p.name,"
                              "d.qty,m.shift FROM tran m, tran_detl d, product p ") +
               w +
               (p.byDate() ? QStringLiteral("Order by date(m.tran_time), m.invoice ")
                           : QStringLiteral("Order by d.product_id, m.tran_time "));
    return QStringLiteral("SELECT date(m.tran_time) as tdate,d.product_id,p.name,sum(d.qty) as "
                          "qty FROM tran m, tran_detl d, product p ") +
           w + QStringLiteral("Group by date(m.tran_time), d.product_id, p.name ") +
           (p.byDate() ? QStringLiteral("Order by date(m.tran_time), d.product_id ")
                       : QStringLiteral("Order by d.product_id, date(m.tran_time) "));
}

QString totalsStatement(const QString& w) {
    return QStringLiteral("SELECT d.product_id,p.name,sum(d.qty) as qty FROM tran m, tran_detl d, "
                          "product p ") +
           w + QStringLiteral("group by d.product_id,p.name ") +
           QStringLiteral("order by d.product_id ");
}

void openOn(Query& q, const QString& sql, const Br080Params& p, const DateBasisFilter& dates) {
    q.close();
    q.setSql(sql);
    dates.apply(q);
    if (q.hasParam(QStringLiteral("ME03")))
        q.param(QStringLiteral("ME03")).setText(p.gift.trimmed());
    q.open();
}

} // namespace

Br080Titles buildBr080(DataModule& dm, const Br080Params& params, Progress& progress) {
    const DateBasisFilter dates = dateBasisFilter(
        params.basis.isEmpty() ? QChar() : params.basis.at(0), params.start, params.end);
    const QString w = filterText(params, dates);
    progress.step();
    // The quoted date and shift conditions make the planner expect a row or two where a
    // month holds thousands of sales; on a station without indexes on its sales it would
    // then scan the lines once per sale. Hash joins suit a month of sales whatever the indexes.
    // The one join left to a nested loop (the product, when one gift is asked for) then
    // carries the planner's penalty, which would have the server compile the statement
    // (JIT) for seconds: the statements are small, they run as they are.
    Transaction snapshot(dm.cn, Connection::Isolation::RepeatableRead);
    dm.cn.exec(QStringLiteral("SET LOCAL enable_nestloop = off"));
    if (dm.cn.serverVersion() >= 110000) dm.cn.exec(QStringLiteral("SET LOCAL jit = off"));
    openOn(dm.qy, rowsStatement(params, w), params, dates);
    progress.step();
    openOn(dm.qy1, totalsStatement(w), params, dates);
    snapshot.commit();
    progress.step();
    return {dm.settings.st_name, params};
}
