#include "fuel/tank_stock.h"

#include "app/data_module.h"
#include "app/progress.h"
#include "db/copy_loader.h"
#include "db/db_error.h"
#include "reports/common/business_day.h"
#include "reports/common/rounding.h"

#include <QHash>
#include <charconv>
#include <optional>

namespace {

// The figures the recomputation writes, in the order of the work table's columns.
const QStringList writtenColumns{"in_stock",  "account1", "real_stock1", "count",
                                 "surplus_4", "account2", "diff_vol"};

// How a number written into a shift_03_tank column reads back: the server takes the
// number's shortest text with the column's own type (a numeric(p,s) rounds it to s places,
// halves away from zero; a real keeps a float's precision).
struct ColumnType {
    enum Kind { Exact, Scaled, Single } kind = Exact;
    int scale = 0;

    double stored(double value) const {
        switch (kind) {
        case Scaled: {
            const RoundedDecimal r = roundDecimal(value, scale);
            const QString text = QString::fromStdString(
                (r.negative ? "-" : "") + r.integer + (r.fraction.empty() ? "" : "." + r.fraction));
            return text.toDouble();
        }
        case Single: {
            char buffer[32];
            const auto end = std::to_chars(buffer, buffer + sizeof buffer, float(value));
            return QByteArray(buffer, int(end.ptr - buffer)).toDouble();
        }
        case Exact:
            break;
        }
        return value;
    }
};

ColumnType columnType(const QString& type, int typmod) {
    if (type == QLatin1String("numeric") && typmod >= 4)
        return {ColumnType::Scaled, (typmod - 4) & 0xffff};
    if (type == QLatin1String("real")) return {ColumnType::Single, 0};
    if (type == QLatin1String("smallint") || type == QLatin1String("integer") ||
        type == QLatin1String("bigint"))
        return {ColumnType::Scaled, 0};
    return {};
}

// A figure of a shift_03_tank row that the chain reads. An empty one stops the run with the
// row named: taken as nought it would corrupt every later shift of the tank.
double figure(Query& rows, int row, int column, const QString& name) {
    const Value v = rows.value(row, column);
    if (v.isNull())
        throw DbError(
            QStringLiteral("班別 %1 油槽 %2 的 %3 沒有數值，無法重算油槽庫存")
                .arg(rows.value(row, rows.fieldIndex(QStringLiteral("shift"))).toText().trimmed(),
                     rows.value(row, rows.fieldIndex(QStringLiteral("tank"))).toText().trimmed(),
                     name));
    return v.toDouble();
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

QString rowKey(const QString& shift, const QString& tank) {
    return shift.trimmed() + QLatin1Char('\x1f') + tank.trimmed();
}

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
    const ClosedAfterwards closed{&qy, &qy1, &dm.qy2};
    TankStockSummary summary;
    progress.resetCounter();
    progress.step();

    // All or nothing: receipts cleared but not yet summed, or a chain broken off half-way,
    // would carry wrong stock into every later shift. The rows of the range are read, worked
    // out in memory and written back by a few statements whatever their number: over the
    // office network every statement is a round trip.
    Transaction transaction(dm.cn);

    // How the columns written round what is written into them.
    qy.close();
    qy.setSql(QStringLiteral(
        "select a.attname::text, format_type(a.atttypid, null), a.atttypmod from pg_attribute a "
        "where a.attrelid = 'shift_03_tank'::regclass and a.attnum > 0 and not a.attisdropped"));
    qy.open();
    QHash<QString, ColumnType> types;
    for (qy.first(); !qy.eof(); qy.next())
        types.insert(qy.fieldAt(0).asText(),
                     columnType(qy.fieldAt(1).asText(), int(qy.fieldAt(2).asInteger())));

    // Every receipt of the range, those marked deleted too: the oil is in the tank whatever
    // became of the delivery note.
    qy.close();
    qy.setSql(QStringLiteral("SELECT shift, target_tank, gasoline_vol FROM oil_change  WHERE "
                             "substr(shift,1,7) >= :MShift ORDER BY shift, target_tank "));
    qy.param(QStringLiteral("MShift")).setText(startKey);
    qy.open();

    // The rows of the range, tank by tank and each tank's shifts in time order, held against
    // the point-of-sale system's writes until the new figures are in.
    qy1.close();
    qy1.setSql(QStringLiteral("SELECT ctid::text as row_id, * FROM shift_03_tank  WHERE "
                              "substr(shift,1,7) >= :MShift ORDER BY tank, shift  FOR UPDATE"));
    qy1.param(QStringLiteral("MShift")).setText(startKey);
    qy1.open();
    const int rows = qy1.recordCount();
    const int shiftColumn = qy1.fieldIndex(QStringLiteral("shift"));
    const int tankColumn = qy1.fieldIndex(QStringLiteral("tank"));
    QHash<QString, QList<int>> rowsOf; // shift and tank → the rows of the range
    for (int r = 0; r < rows; ++r)
        rowsOf[rowKey(qy1.value(r, shiftColumn).toText(), qy1.value(r, tankColumn).toText())] << r;

    // The receipts cleared, then each added to its shift and tank as stored, in order; a
    // receipt whose shift and tank have no row adds nothing anywhere.
    const ColumnType inStockType = types.value(QStringLiteral("in_stock"));
    QList<double> received(rows, inStockType.stored(0));
    const int receiptShift = qy.fieldIndex(QStringLiteral("shift"));
    const int receiptTank = qy.fieldIndex(QStringLiteral("target_tank"));
    const int receiptLitres = qy.fieldIndex(QStringLiteral("gasoline_vol"));
    for (int r = 0; r < qy.recordCount(); ++r) {
        const QString tank = QLatin1Char('0') + qy.value(r, receiptTank).toText().trimmed();
        const auto found = rowsOf.constFind(rowKey(qy.value(r, receiptShift).toText(), tank));
        if (found != rowsOf.constEnd()) {
            const double litres = qy.value(r, receiptLitres).toDouble(); // none: adds none
            const double sum = inStockType.stored(received[found->first()] + litres);
            for (int row : *found)
                received[row] = sum;
        }
        ++summary.receipts;
        progress.step();
    }

    // The chain. A tank's first shift of the range keeps its opening figures, which the shift
    // before the range closed with.
    const int account1 = qy1.fieldIndex(QStringLiteral("account1"));
    const int realStock1 = qy1.fieldIndex(QStringLiteral("real_stock1"));
    const int sale = qy1.fieldIndex(QStringLiteral("sale"));
    const int checkstock = qy1.fieldIndex(QStringLiteral("checkstock"));
    const int real2 = qy1.fieldIndex(QStringLiteral("real2"));
    const ColumnType account2Type = types.value(QStringLiteral("account2"));
    QByteArray copy;
    std::optional<QString> lastTank;
    double book = 0;     // book stock carried into the row
    double measured = 0; // gauge stock carried into the row
    for (int r = 0; r < rows; ++r) {
        const QString tank = qy1.value(r, tankColumn).toText();
        if (tank != lastTank) {
            lastTank = tank;
            book = figure(qy1, r, account1, QStringLiteral("account1"));
            measured = figure(qy1, r, realStock1, QStringLiteral("real_stock1"));
        }
        const double in = received[r];
        const double sold = figure(qy1, r, sale, QStringLiteral("sale"));
        const double adjusted = figure(qy1, r, checkstock, QStringLiteral("checkstock"));
        const double gauge = figure(qy1, r, real2, QStringLiteral("real2"));
        const double counted = measured + in - sold + adjusted;
        const double closing = book + in - sold + adjusted;
        appendCopyField(copy, qy1.value(r, 0).toText().toLatin1(), false);
        for (const double value :
             {in, book, measured, counted, counted - gauge, closing, counted - gauge}) {
            copy += '\t';
            appendCopyField(copy, exactNumberText(value).toLatin1(), false);
        }
        copy += '\n';
        // Carried on as stored, rounded to the column's places.
        book = account2Type.stored(closing);
        measured = qy1.value(r, real2).toDouble();
        ++summary.rowsRewritten;
        progress.step();
    }

    if (rows > 0) {
        // The new figures, typed as the table's own columns so that each is read exactly as a
        // row saved by itself would have been, then written in one statement.
        dm.cn.exec(QStringLiteral("create temporary table recomputed_stock on commit drop as "
                                  "select ctid as row_id, %1 from shift_03_tank limit 0")
                       .arg(writtenColumns.join(QStringLiteral(", "))));
        dm.cn.copyIn(QStringLiteral("recomputed_stock"),
                     QStringList{QStringLiteral("row_id")} + writtenColumns, copy);
        QStringList set;
        for (const QString& c : writtenColumns)
            set << QStringLiteral("%1 = n.%1").arg(c);
        dm.cn.exec(QStringLiteral("update shift_03_tank t set %1 from recomputed_stock n where "
                                  "t.ctid = n.row_id")
                       .arg(set.join(QStringLiteral(", "))));
    }
    transaction.commit();
    return summary;
}
