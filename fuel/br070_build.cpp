#include "fuel/br070_build.h"

#include "app/data_module.h"
#include "app/progress.h"
#include "db/copy_loader.h"
#include "db/input_refused.h"
#include "reports/common/business_day.h"
#include "reports/common/date_basis.h"
#include "reports/common/decimal.h"
#include "reports/common/work_table.h"

#include <QHash>
#include <limits>
#include <vector>

namespace {

const char* const createStatement =
    "create TEMPORARY table tBR070 (tdate varchar(10),tank varchar(02),name varchar(20), bqty "
    "decimal(18,2) DEFAULT '0.00',iqty decimal(18,2) DEFAULT '0.00', oqty decimal(18,2) DEFAULT "
    "'0.00',sqty decimal(18,2) DEFAULT '0.00', rqty decimal(18,2) DEFAULT '0.00',dqty "
    "decimal(18,2) DEFAULT '0.00')";

// One line of tBR070 as it stands after the shifts read so far. Every figure is kept as the
// decimal(18,2) column holds it: rounded to cents, halves away from zero, when written, and
// a later shift of the day adds to the rounded figure.
struct DayLine {
    QString tdate, tank, name;
    Decimal bqty, iqty, oqty, sqty, rqty, dqty;
};

Decimal cents(Decimal d) {
    return d.rounded(2);
}

// A figure of the current source row; an empty one counts as nought.
Decimal figure(Query& row, const char* column) {
    return Decimal::fromValue(row.field(QString::fromLatin1(column)).value()).value_or(Decimal());
}

// The shifts of each tank and day, read in tank and shift order, condensed into day lines in
// the order they were begun.
std::vector<DayLine> condense(Query& source, bool gaugeBasis, const TextCodec& codec,
                              Progress& progress) {
    std::vector<DayLine> lines;
    QHash<QString, std::size_t> lineOf; // tdate + tank → index
    for (source.first(); !source.eof(); source.next()) {
        const QString shift = source.field(QStringLiteral("shift")).asText();
        const QString tdate =
            shift.left(3) + QLatin1Char('/') + shift.mid(3, 2) + QLatin1Char('/') + shift.mid(5, 2);
        const QString tank = source.field(QStringLiteral("tank")).asText().trimmed();
        const Decimal inStock = figure(source, "in_stock"), sale = figure(source, "sale"),
                      real2 = figure(source, "real2");
        const auto found = lineOf.constFind(tdate + QLatin1Char('|') + tank);
        if (found == lineOf.constEnd()) {
            // The first shift of this tank on this day.
            DayLine d;
            d.tdate = tdate;
            d.tank = fitToColumn(tank, 2, codec);
            d.name = fitToColumn(source.field(QStringLiteral("name")).asText(), 20, codec);
            d.iqty = cents(inStock);
            d.oqty = cents(sale);
            d.rqty = cents(real2);
            const Decimal closing = figure(source, gaugeBasis ? "count" : "account2");
            d.bqty = cents(figure(source, gaugeBasis ? "real_stock1" : "account1"));
            d.sqty = cents(closing);
            d.dqty = cents(real2 - closing);
            lineOf.insert(tdate + QLatin1Char('|') + tank, lines.size());
            lines.push_back(d);
        } else {
            // A later shift of the same day.
            DayLine& d = lines[*found];
            d.iqty = cents(d.iqty + inStock);
            d.oqty = cents(d.oqty + sale);
            d.rqty = cents(real2);
            if (gaugeBasis) {
                d.sqty = cents(d.bqty + d.iqty - d.oqty);
                d.dqty = cents(real2 - d.sqty);
            } else {
                const Decimal account2 = figure(source, "account2");
                d.sqty = cents(account2);
                d.dqty = cents(real2 - account2);
            }
        }
        progress.step();
    }
    return lines;
}

void writeLines(Connection& cn, const std::vector<DayLine>& lines) {
    if (lines.empty()) return;
    // One COPY whatever the number of lines.
    CopyLoader copy(cn, std::numeric_limits<qsizetype>::max());
    const int table =
        copy.declare(QStringLiteral("tBR070"),
                     {"tdate", "tank", "name", "bqty", "iqty", "oqty", "sqty", "rqty", "dqty"});
    for (const DayLine& d : lines)
        copy.row(table, {d.tdate, d.tank, d.name, d.bqty.toText(2), d.iqty.toText(2),
                         d.oqty.toText(2), d.sqty.toText(2), d.rqty.toText(2), d.dqty.toText(2)});
    copy.finish();
}

} // namespace

Br070Titles buildBr070(DataModule& dm, Query& work, const Br070Params& params, Progress& progress) {
    const QString key1 = businessDayKey(checkedDay(params.start, QStringLiteral("e01")));
    const QString key2 = businessDayKey(checkedDay(params.end, QStringLiteral("e02")));
    const QString tank = params.tank.trimmed();
    static const QStringList tanks = {"01", "02", "03", "04", "05", "06", "07", "08"};
    if (!tank.isEmpty() && !tanks.contains(tank))
        throw InputRefused(QStringLiteral("油槽代號錯誤: '%1' 不是 01 到 08...").arg(tank),
                           QStringLiteral("e03"));
    const bool gaugeBasis = !params.stock.startsWith(QLatin1Char('1'));

    recreateWorkTable(work, QStringLiteral("tBR070"), QString::fromLatin1(createStatement));
    work.close();
    QString sql = QStringLiteral("SELECT m.*, p.name FROM shift_03_tank m, tank_data d, product p  "
                                 "WHERE substr(m.shift,1,7) >= :MShift1  and substr(m.shift,1,7) "
                                 "<= :MShift2  and substr(m.tank,2,1) = d.tankno and d.productno "
                                 "= p.product_id ");
    if (!tank.isEmpty()) sql += QStringLiteral("and m.tank = :ME03 ");
    sql += QStringLiteral("ORDER BY m.tank, m.shift ");
    work.setSql(sql);
    work.param(QStringLiteral("MShift1")).setText(key1);
    work.param(QStringLiteral("MShift2")).setText(key2);
    if (!tank.isEmpty()) work.param(QStringLiteral("ME03")).setText(tank);
    work.open();
    const std::vector<DayLine> lines = condense(work, gaugeBasis, dm.cn.codec(), progress);
    work.close();
    writeLines(dm.cn, lines);

    dm.qy.close();
    dm.qy.setSql(QStringLiteral("select * from tBR070 order by tank,tdate"));
    dm.qy.open();
    return {dm.settings.st_name, params, gaugeBasis};
}
