#include "fuel/br050_build.h"

#include "app/data_module.h"
#include "app/progress.h"
#include "db/input_refused.h"
#include "reports/common/business_day.h"
#include "reports/common/date_basis.h"

namespace {

void checkShifts(const Br050Params& p) {
    const QString from = p.fromShift.trimmed(), to = p.toShift.trimmed();
    const QString blank = QStringLiteral("班別不可空白...");
    if (from.isEmpty()) throw InputRefused(blank, QStringLiteral("e03"));
    if (to.isEmpty()) throw InputRefused(blank, QStringLiteral("e04"));
    // The screen's fields hold one character; a longer shift names no shift of a day.
    const QString wrong = QStringLiteral("班別錯誤,請重新輸入...");
    if (from.size() > 1) throw InputRefused(wrong, QStringLiteral("e03"));
    if (to.size() > 1) throw InputRefused(wrong, QStringLiteral("e04"));
    if (p.end.trimmed() + to < p.start.trimmed() + from)
        throw InputRefused(QStringLiteral("日期班別範圍錯誤..."), QStringLiteral("e04"));
}

} // namespace

QString br050LastShift(DataModule& dm) {
    Query& qy2 = dm.qy2;
    qy2.close();
    qy2.setSql(QStringLiteral("SELECT * FROM shift  ORDER BY shift desc"));
    qy2.open();
    const QString last =
        qy2.isEmpty() ? QString() : qy2.field(QStringLiteral("shift")).asText().trimmed();
    qy2.close();
    return last.isEmpty() ? QStringLiteral("1") : last;
}

Br050Titles buildBr050(DataModule& dm, const Br050Params& params, Progress& progress) {
    checkShifts(params);
    const QString m1 = businessDayKey(checkedDay(params.start, QStringLiteral("e01"))) +
                       QLatin1Char('_') + params.fromShift.trimmed();
    const QString m2 = businessDayKey(checkedDay(params.end, QStringLiteral("e02"))) +
                       QLatin1Char('_') + params.toShift.trimmed();
    progress.step();
    Query& qy = dm.qy;
    qy.close();
    // Each nozzle of the start shift with its opening readings and price, and the closing
    // readings and price (price1) of the end shift. The lines print in island and nozzle
    // order, which the join alone does not promise.
    qy.setSql(QStringLiteral(
        "SELECT j1.*, j2.now_qty, j2.now_amt, j2.price as price1 FROM     (        SELECT "
        "island, gun_no, product_id, oilname, start_qty, start_amt, price     FROM "
        "shift_01_gun     WHERE shift = :M1     ORDER BY island, gun_no   ) j1 left outer join "
        "  (     SELECT island, gun_no, now_qty, now_amt, price     FROM shift_01_gun     WHERE "
        "shift = :M2     ORDER BY island, gun_no   ) j2 on j1.island=j2.island and "
        "j1.gun_no=j2.gun_no ORDER BY j1.island, j1.gun_no"));
    qy.param(QStringLiteral("M1")).setText(m1);
    qy.param(QStringLiteral("M2")).setText(m2);
    qy.open();
    progress.step();
    Br050Titles titles{dm.settings.st_name, params};
    titles.params.fromShift = params.fromShift.trimmed();
    titles.params.toShift = params.toShift.trimmed();
    return titles;
}
