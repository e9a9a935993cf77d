#include "fuel/tank_stock.h"

#include "app/data_module.h"
#include "app/progress.h"
#include "db/db_error.h"
#include "reports/common/business_day.h"

#include <optional>

namespace {

// A figure of the current shift_03_tank row that the chain reads. An empty one stops the
// run with the row named: taken as nought it would corrupt every later shift of the tank.
double figure(Query& row, const QString& column) {
    const Field field = row.field(column);
    if (field.isNull())
        throw DbError(QStringLiteral("班別 %1 油槽 %2 的 %3 沒有數值，無法重算油槽庫存")
                          .arg(row.field(QStringLiteral("shift")).asText().trimmed(),
                               row.field(QStringLiteral("tank")).asText().trimmed(), column));
    return field.asFloat();
}

// The data module's shared queries hold nothing of a run once it ends, whichever way.
class ClosedAfterwards {
public:
    explicit ClosedAfterwards(std::initializer_list<Query*> queries) : queries_(queries) {}
    ~ClosedAfterwards() {
        for (Query* q : queries_)
            q->close();
    }
    ClosedAfterwards(const ClosedAfterwards&) = delete;
    ClosedAfterwards& operator=(const ClosedAfterwards&) = delete;

private:
    QList<Query*> queries_;
};

} // namespace

bool isBusinessDayKey(const QString& key) {
    for (QChar c : key)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return dateOfBusinessDayKey(key).isValid();
}

TankStockSummary recomputeTankStock(DataModule& dm, const QString& startKey, Progress& progress) {
    if (!isBusinessDayKey(startKey))
        throw DbError(
            QStringLiteral("重算油槽庫存的起始營業日「%1」不是七位數的營業日代號").arg(startKey));
    Query& qy = dm.qy;
    Query& qy1 = dm.qy1;
    Query& qy2 = dm.qy2;
    const ClosedAfterwards closed{&qy, &qy1, &qy2};
    TankStockSummary summary;
    progress.resetCounter();
    progress.step();

    // All or nothing: receipts cleared but not yet summed, or a chain broken off half-way,
    // would carry wrong stock into every later shift.
    Transaction transaction(dm.cn);

    qy.close();
    qy.setSql(QStringLiteral("UPDATE shift_03_tank set   in_stock = '0' WHERE substr(shift,1,7) >= "
                             ":MShift "));
    qy.param(QStringLiteral("MShift")).setText(startKey);
    qy.execute();

    // Every receipt of the range into its shift and tank, those marked deleted too: the oil
    // is in the tank whatever became of the delivery note.
    qy.close();
    qy.setSql(QStringLiteral("SELECT shift, target_tank, gasoline_vol FROM oil_change  WHERE "
                             "substr(shift,1,7) >= :MShift ORDER BY shift, target_tank "));
    qy.param(QStringLiteral("MShift")).setText(startKey);
    qy.open();
    qy1.close();
    qy1.setSql(QStringLiteral("SELECT * FROM shift_03_tank  WHERE shift = :MShift and tank = "
                              ":MTank "));
    qy2.close();
    qy2.setSql(QStringLiteral("UPDATE shift_03_tank set   in_stock = :MStock WHERE shift = "
                              ":MShift and tank = :MTank "));
    for (qy.first(); !qy.eof(); qy.next()) {
        const QString shift = qy.field(QStringLiteral("shift")).asText().trimmed();
        const QString tank =
            QLatin1Char('0') + qy.field(QStringLiteral("target_tank")).asText().trimmed();
        qy1.param(QStringLiteral("MShift")).setText(shift);
        qy1.param(QStringLiteral("MTank")).setText(tank);
        qy1.open();
        if (!qy1.isEmpty()) { // a receipt for a shift or tank without a stock row adds nothing
            // A receipt without litres adds none.
            const double litres = qy.field(QStringLiteral("gasoline_vol")).asFloat();
            qy2.param(QStringLiteral("MStock"))
                .setFloat(figure(qy1, QStringLiteral("in_stock")) + litres);
            qy2.param(QStringLiteral("MShift")).setText(shift);
            qy2.param(QStringLiteral("MTank")).setText(tank);
            qy2.execute();
        }
        ++summary.receipts;
        progress.step();
    }

    // The chain, tank by tank and each tank's shifts in time order. A tank's first shift of
    // the range keeps its opening figures, which the shift before the range closed with.
    qy.close();
    qy.setSql(QStringLiteral("SELECT * FROM shift_03_tank  WHERE substr(shift,1,7) >= :MShift "
                             "ORDER BY tank, shift  "));
    qy.param(QStringLiteral("MShift")).setText(startKey);
    qy.open();
    std::optional<QString> lastTank;
    double book = 0;     // book stock carried into the row
    double measured = 0; // gauge stock carried into the row
    for (qy.first(); !qy.eof(); qy.next()) {
        const QString tank = qy.field(QStringLiteral("tank")).asText();
        if (tank != lastTank) {
            lastTank = tank;
            book = figure(qy, QStringLiteral("account1"));
            measured = figure(qy, QStringLiteral("real_stock1"));
        }
        const double received = figure(qy, QStringLiteral("in_stock"));
        const double sold = figure(qy, QStringLiteral("sale"));
        const double adjusted = figure(qy, QStringLiteral("checkstock"));
        const double gauge = figure(qy, QStringLiteral("real2"));
        const double counted = measured + received - sold + adjusted;
        qy.edit();
        qy.field(QStringLiteral("account1")).setFloat(book);
        qy.field(QStringLiteral("real_stock1")).setFloat(measured);
        qy.field(QStringLiteral("count")).setFloat(counted);
        qy.field(QStringLiteral("surplus_4")).setFloat(counted - gauge);
        qy.field(QStringLiteral("account2")).setFloat(book + received - sold + adjusted);
        qy.field(QStringLiteral("diff_vol")).setFloat(counted - gauge);
        qy.post();
        // Carried on as stored, rounded to the column's places.
        book = qy.field(QStringLiteral("account2")).asFloat();
        measured = qy.field(QStringLiteral("real2")).asFloat();
        ++summary.rowsRewritten;
        progress.step();
    }
    transaction.commit();
    return summary;
}
