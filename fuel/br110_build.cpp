#include "fuel/br110_build.h"

#include "app/data_module.h"
#include "app/progress.h"
#include "db/input_refused.h"
#include "reports/common/business_day.h"
#include "reports/common/date_basis.h"

void openBr110Rows(Query& query, const Br110Params& params, Progress& progress) {
    const QString key1 = businessDayKey(checkedDay(params.start, QStringLiteral("e01")));
    const QString key2 = businessDayKey(checkedDay(params.end, QStringLiteral("e02")));
    const QString product = params.product.trimmed();
    progress.step();
    // The value is the database's own rounding of volume times unit price: numeric times
    // float8 is float8, whose round() takes a half to the even neighbour. That is the figure
    // settled with the supplier. Deliveries of one shift come in tank and note order, so that
    // the printout and the export list them alike every time.
    QString sql = QStringLiteral("select m.*, d.name, round(m.gasoline_vol * m.in_price) as amt  "
                                 "from oil_change m, product d WHERE substr(m.shift,1,7) >= "
                                 ":ME011 and substr(m.shift,1,7) <= :ME021 ");
    if (!product.isEmpty()) sql += QStringLiteral("and m.prod_id = :ME03 ");
    sql += QStringLiteral("and m.del_mark = '' and m.prod_id = d.product_id  order by m.shift, "
                          "m.target_tank, m.bill_no ");
    query.close();
    query.setSql(sql);
    query.param(QStringLiteral("ME011")).setText(key1);
    query.param(QStringLiteral("ME021")).setText(key2);
    if (!product.isEmpty()) query.param(QStringLiteral("ME03")).setText(product);
    query.open();
    progress.step();
}

Br110Titles buildBr110(DataModule& dm, const Br110Params& params, Progress& progress) {
    openBr110Rows(dm.qy, params, progress);
    return {dm.settings.st_name, params};
}

QList<ExportColumn> br110ExportColumns() {
    return {{"shift", QStringLiteral("日期班別")},        {"name", QStringLiteral("產品名稱")},
            {"target_tank", QStringLiteral("油槽代號")},  {"in_price", QStringLiteral("進油單價")},
            {"gasoline_vol", QStringLiteral("進油數量")}, {"amt", QStringLiteral("進油金額")}};
}
