// The tank book-stock recomputation on a real station database: receipts summed into their
// shift and tank, the book and gauge stock chained tank by tank, the progress it reports and
// a failure part-way that must leave shift_03_tank as it was.
#include "app/data_module.h"
#include "app/progress.h"
#include "db/copy_loader.h"
#include "db/db_error.h"
#include "demo/station_generator.h"
#include "reports/common/business_day.h"
#include "support/test_database.h"

#include <QTest>

namespace {

// Progress that remembers every counter value the bar would show.
class RecordedProgress : public Progress {
public:
    QList<int> shownCounters;

protected:
    void shown(int counter) override { shownCounters << counter; }
};

QString number(double value) {
    return QString::number(value, 'f', 2);
}

// A shift_03_tank row with the point-of-sale system's figures. The figures the
// recomputation writes hold -1, so that a row it left alone shows.
void stockRow(const QString& shift, const QString& tank, double sale, double check, double account1,
              double real1, double real2) {
    testdb::admin(QStringLiteral("insert into shift_03_tank (shift, tank, oilname, in_stock, sale, "
                                 "checkstock, account1, account2, real_stock1, real2, count, "
                                 "surplus_4, diff_vol) values ('%1', '%2', '92', -1, %3, %4, %5, "
                                 "-1, %6, %7, -1, -1, -1)")
                      .arg(shift, tank, number(sale), number(check), number(account1),
                           number(real1), number(real2)),
                  "pos_data");
}

void receipt(const QString& shift, const QString& tank, double litres, const QString& mark = {}) {
    testdb::admin(
        QStringLiteral("insert into oil_change (shift, target_tank, gasoline_vol, bill_no, "
                       "prod_id, del_mark) values ('%1', '%2', %3, 'TP1', 'P', '%4')")
            .arg(shift, tank, number(litres), mark),
        "pos_data");
}

// "in_stock account1 real_stock1 count surplus_4 account2 diff_vol" of one row, two places.
QString figures(const QString& shift, const QString& tank) {
    QStringList columns;
    for (const char* c :
         {"in_stock", "account1", "real_stock1", "count", "surplus_4", "account2", "diff_vol"})
        columns << QStringLiteral("coalesce(%1::numeric(12,2)::text, 'NULL')").arg(c);
    return testdb::adminValue(QStringLiteral("select concat_ws(' ', %1) from shift_03_tank where "
                                             "shift = '%2' and tank = '%3'")
                                  .arg(columns.join(", "), shift, tank));
}

// Every row of shift_03_tank as the server prints it.
QString wholeTable() {
    return testdb::adminValue(
        "select string_agg(t::text, ' | ' order by shift, tank) from shift_03_tank t");
}

// Three tanks over the last shift before the range (1130101_3) and the three shifts of
// 2024/01/02, with receipts on both days.
void smallStation() {
    const QStringList tanks{"01", "02", "03"};
    for (const QString& tank : tanks) {
        stockRow("1130101_3", tank, 100, 0, 5000, 4990, 4900);
        stockRow("1130102_1", tank, 300, 0, 4900, 4900, 4650);
        stockRow("1130102_2", tank, 200, 5, 7777, 7777, 4460);
        stockRow("1130102_3", tank, 150, 0, 8888, 8888, 4300);
    }
    receipt("1130101_3", "1", 400);
    receipt("1130102_1", "1", 500);
    receipt("1130102_2", "2", 800);
    receipt("1130102_3", "3", 250);
}

} // namespace

class TestTankStock : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void workedExample_data();
    void workedExample();
    void receiptsAddUp_data();
    void receiptsAddUp();
    void tankWhoseOnlyRowInRangeIsItsFirst();
    void startKeyAfterTheNewestShiftChangesNothing();
    void malformedStartKeyIsRefused_data();
    void malformedStartKeyIsRefused();
    void barStartsAgainAfter100();
    void failurePartWayLeavesEveryRowAsItWas_data();
    void failurePartWayLeavesEveryRowAsItWas();
    void scrambledDemoStationIsRestored();
    void figuresRoundAsEachWriteStoresThem();
    void statementsAreTheSameForADayAndAYear();

private:
    TankStockSummary recompute(const QString& key) {
        SilentProgress progress;
        return dm_->RecomputeTankStock(key, progress);
    }
    std::unique_ptr<DataModule> dm_;
};

void TestTankStock::init() {
    testdb::recreate();
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
}

void TestTankStock::cleanup() {
    dm_.reset();
}

void TestTankStock::workedExample_data() {
    QTest::addColumn<bool>("charCodes");
    QTest::newRow("varchar codes, numeric figures") << false;
    QTest::newRow("blank-padded char codes, float8 figures") << true;
}

void TestTankStock::workedExample() {
    QFETCH(bool, charCodes);
    TrialSchemaOptions options;
    options.charCodes = charCodes;
    testdb::recreate(options);
    stockRow("1130101_3", "01", 100, 0, 1100, 1095, 990); // before the range: untouched
    stockRow("1130102_1", "01", 300, 0, 1000, 990, 1180);
    stockRow("1130102_2", "01", 200, 5, 0, 0, 985);
    receipt("1130101_3", "1", 999);
    receipt("1130102_1", "1", 500);
    const QString before = figures("1130101_3", "01");

    const TankStockSummary summary = recompute("1130102");
    QCOMPARE(figures("1130102_1", "01"),
             QString("500.00 1000.00 990.00 1190.00 10.00 1200.00 10.00"));
    QCOMPARE(figures("1130102_2", "01"), QString("0.00 1200.00 1180.00 985.00 0.00 1005.00 0.00"));
    QCOMPARE(figures("1130101_3", "01"), before);
    QCOMPARE(summary.receipts, 1);
    QCOMPARE(summary.rowsRewritten, 2);
    QVERIFY(!dm_->qy.active() && !dm_->qy1.active() && !dm_->qy2.active());
    QVERIFY(!dm_->cn.inTransaction());
}

void TestTankStock::receiptsAddUp_data() {
    // Receipts as "shift tank litres mark"; the in_stock of every row afterwards.
    QTest::addColumn<QStringList>("receipts");
    QTest::addColumn<QString>("inStock");
    QTest::addColumn<int>("counted"); // receipts of the range
    const QString zero = "1130101_3/01=9.00 1130101_3/04=9.00 1130102_1/01=0.00 "
                         "1130102_1/04=0.00 1130102_2/01=0.00 1130102_2/04=0.00";
    QTest::newRow("two receipts of one shift and tank")
        << QStringList{"1130102_1 1 200 ", "1130102_1 1 300.5 "}
        << QString(zero).replace("1130102_1/01=0.00", "1130102_1/01=500.50") << 2;
    QTest::newRow("a receipt marked deleted still counts")
        << QStringList{"1130102_2 1 100 D", "1130102_2 1 50 "}
        << QString(zero).replace("1130102_2/01=0.00", "1130102_2/01=150.00") << 2;
    QTest::newRow("tank digit 4 updates tank 04")
        << QStringList{"1130102_2 4 700 "}
        << QString(zero).replace("1130102_2/04=0.00", "1130102_2/04=700.00") << 1;
    QTest::newRow("a receipt before the range is not counted")
        << QStringList{"1130101_3 1 400 "} << zero << 0;
    QTest::newRow("a receipt without a stock row adds nothing")
        << QStringList{"1130102_1 7 400 ", "1130103_1 1 400 "} << zero << 2;
}

void TestTankStock::receiptsAddUp() {
    QFETCH(QStringList, receipts);
    QFETCH(QString, inStock);
    QFETCH(int, counted);
    for (const char* tank : {"01", "04"}) {
        stockRow("1130101_3", tank, 0, 0, 100, 100, 100);
        stockRow("1130102_1", tank, 0, 0, 100, 100, 100);
        stockRow("1130102_2", tank, 0, 0, 100, 100, 100);
    }
    testdb::admin("update shift_03_tank set in_stock = 9", "pos_data"); // stale sums
    for (const QString& r : receipts) {
        const QStringList part = r.split(' ');
        receipt(part[0], part[1], part[2].toDouble(), part[3]);
    }
    const TankStockSummary summary = recompute("1130102");
    QCOMPARE(testdb::adminValue("select string_agg(shift || '/' || tank || '=' || "
                                "in_stock::numeric(12,2), ' ' order by shift, tank) "
                                "from shift_03_tank"),
             inStock);
    QCOMPARE(summary.receipts, counted);
}

void TestTankStock::tankWhoseOnlyRowInRangeIsItsFirst() {
    stockRow("1130101_3", "02", 100, 0, 1000, 1000, 900);
    stockRow("1130102_1", "02", 50, 0, 800, 790, 845);
    stockRow("1130102_1", "03", 10, 0, 700, 700, 690); // a tank that starts in the range
    receipt("1130102_1", "2", 100);
    recompute("1130102");
    // The opening figures stay as stored (not the close of the shift before), the rest is
    // recomputed from them.
    QCOMPARE(figures("1130102_1", "02"), QString("100.00 800.00 790.00 840.00 -5.00 850.00 -5.00"));
    QCOMPARE(figures("1130102_1", "03"), QString("0.00 700.00 700.00 690.00 0.00 690.00 0.00"));
}

void TestTankStock::startKeyAfterTheNewestShiftChangesNothing() {
    smallStation();
    const QString before = wholeTable();
    const TankStockSummary summary = recompute("1130103");
    QCOMPARE(wholeTable(), before);
    QCOMPARE(summary.rowsRewritten, 0);
    QCOMPARE(summary.receipts, 0);
}

void TestTankStock::malformedStartKeyIsRefused_data() {
    QTest::addColumn<QString>("key");
    QTest::newRow("empty: would be every shift") << "";
    QTest::newRow("a shift code") << "1130102_1";
    QTest::newRow("no such day") << "1130230";
    QTest::newRow("a letter") << "11301O2";
}

void TestTankStock::malformedStartKeyIsRefused() {
    QFETCH(QString, key);
    smallStation();
    const QString before = wholeTable();
    QVERIFY_THROWS_EXCEPTION(DbError, recompute(key));
    QCOMPARE(wholeTable(), before);
}

void TestTankStock::barStartsAgainAfter100() {
    // 2 tanks x 40 shifts = 80 rows, and 25 receipts: with the first step, 106 steps.
    const QDate first(2024, 2, 1);
    for (int day = 0; day < 40; ++day)
        for (const char* tank : {"01", "02"})
            stockRow(businessDayKey(first.addDays(day)) + "_1", tank, 10, 0, 500, 500, 490);
    for (int day = 0; day < 25; ++day)
        receipt(businessDayKey(first.addDays(day)) + "_1", "1", 20);
    RecordedProgress progress;
    const TankStockSummary summary = dm_->RecomputeTankStock("1130201", progress);
    QCOMPARE(summary.rowsRewritten, 80);
    QCOMPARE(summary.receipts, 25);
    QCOMPARE(progress.shownCounters.size(), 106);
    QCOMPARE(progress.shownCounters.first(), 1); // the bar starts at 1
    QCOMPARE(progress.shownCounters[99], 100);
    QCOMPARE(progress.shownCounters[100], 1);
    QCOMPARE(progress.shownCounters.last(), 6);
    QCOMPARE(*std::max_element(progress.shownCounters.begin(), progress.shownCounters.end()), 100);
}

void TestTankStock::failurePartWayLeavesEveryRowAsItWas_data() {
    // What goes wrong, done to the small station before the run, and what the message says.
    QTest::addColumn<QStringList>("damage");
    QTest::addColumn<QStringList>("says");
    QTest::newRow("an empty sale in the middle of the chain")
        << QStringList{"update shift_03_tank set sale = null where shift = '1130102_2' and tank = "
                       "'02'"}
        << QStringList{"1130102_2", "02", "sale"};
    QTest::newRow("an empty gauge reading")
        << QStringList{"update shift_03_tank set real2 = null where shift = '1130102_3' and tank = "
                       "'03'"}
        << QStringList{"1130102_3", "03", "real2"};
    QTest::newRow("an empty opening book stock at a tank's first shift")
        << QStringList{"update shift_03_tank set account1 = null where shift = '1130102_1' and "
                       "tank = '02'"}
        << QStringList{"1130102_1", "02", "account1"};
    QTest::newRow("an update the server rejects")
        << QStringList{"create function refuse() returns trigger language plpgsql as $$ begin "
                       "if new.tank = '03' and new.count is distinct from old.count then "
                       "raise exception 'tank 03 is being gauged'; end if; return new; end $$",
                       "create trigger damage before update on shift_03_tank for each row "
                       "execute function refuse()"}
        << QStringList{"tank 03 is being gauged"};
    QTest::newRow("the connection lost")
        << QStringList{"create function cut() returns trigger language plpgsql as $$ begin "
                       "if new.tank = '03' and new.count is distinct from old.count then "
                       "perform pg_terminate_backend(pg_backend_pid()); perform pg_sleep(1); "
                       "end if; return new; end $$",
                       "create trigger damage before update on shift_03_tank for each row "
                       "execute function cut()"}
        << QStringList{};
}

void TestTankStock::failurePartWayLeavesEveryRowAsItWas() {
    QFETCH(QStringList, damage);
    QFETCH(QStringList, says);
    smallStation();
    for (const QString& statement : damage)
        testdb::admin(statement, "pos_data");
    const QString before = wholeTable();
    QString message;
    try {
        recompute("1130102");
        QFAIL("the recomputation did not fail");
    } catch (const DbError& e) {
        message = e.message();
    }
    for (const QString& word : says)
        QVERIFY2(message.contains(word), qPrintable(message));
    QVERIFY(!message.isEmpty());
    QCOMPARE(wholeTable(), before);
    QVERIFY(!dm_->qy.active() && !dm_->qy1.active() && !dm_->qy2.active());
    // Once the damage is repaired the next run goes through on the same data module (a lost
    // connection connects anew).
    testdb::admin("drop trigger if exists damage on shift_03_tank", "pos_data");
    testdb::admin("update shift_03_tank set sale = coalesce(sale, 0), real2 = coalesce(real2, 0), "
                  "account1 = coalesce(account1, 0)",
                  "pos_data");
    QCOMPARE(recompute("1130102").rowsRewritten, 9);
}

void TestTankStock::scrambledDemoStationIsRestored() {
    // The demo station's stock is consistent: once its recomputed figures are spoilt, the
    // recomputation must bring back exactly what the generator wrote.
    {
        Connection cn;
        testdb::configure(cn);
        DemoOptions options;
        options.seed = 5;
        options.days = 6;
        options.salesPerDay = 60;
        options.lastDay = QDate(2024, 3, 6);
        CopyLoader loader(cn);
        SilentProgress progress;
        generateDemoStation(options, loader, progress);
        loader.finish();
    }
    const QString before = wholeTable();
    QVERIFY(testdb::adminValue("select count(*) from oil_change where shift >= '1130302'").toInt() >
            0);
    testdb::admin("update shift_03_tank set in_stock = 0, count = 0, surplus_4 = 0, account2 = 0, "
                  "diff_vol = 0 where shift >= '1130302'",
                  "pos_data");
    testdb::admin(
        "update shift_03_tank set account1 = 0, real_stock1 = 0 where shift > '1130302_1'",
        "pos_data");
    QVERIFY(wholeTable() != before);
    const TankStockSummary summary = recompute("1130302");
    QCOMPARE(wholeTable(), before);
    QCOMPARE(summary.rowsRewritten,
             testdb::adminValue("select count(*) from shift_03_tank where shift >= '1130302'")
                 .toLongLong());
}

// Receipts are added one by one into in_stock, and the book stock carried on as account2
// stored it: on a station whose columns keep fewer places than the figures have, every
// write rounds (halves away from zero) and the next step adds to the rounded figure.
void TestTankStock::figuresRoundAsEachWriteStoresThem() {
    testdb::admin("alter table shift_03_tank alter column in_stock type numeric(12,2), alter "
                  "column account2 type numeric(12,0)",
                  "pos_data");
    testdb::admin("alter table oil_change alter column gasoline_vol type numeric(12,3)",
                  "pos_data");
    stockRow("1130102_1", "01", 0, 0, 1000, 1000, 1000);
    stockRow("1130102_2", "01", 0, 0, 7777, 7777, 1000);
    for (const char* litres : {"0.005", "0.005", "0.596"})
        testdb::admin(QStringLiteral("insert into oil_change (shift, target_tank, gasoline_vol, "
                                     "bill_no, prod_id, del_mark) values ('1130102_1', '1', %1, "
                                     "'TP1', 'P', '')")
                          .arg(litres),
                      "pos_data");
    recompute("1130102");
    // 0.005 → 0.01, + 0.005 → 0.02, + 0.596 → 0.62 (not 0.61, the sum rounded once); the
    // book stock 1000.62 is stored as 1001 and the next shift opens with that.
    QCOMPARE(figures("1130102_1", "01"), QString("0.62 1000.00 1000.00 1000.62 0.62 1001.00 0.62"));
    QCOMPARE(figures("1130102_2", "01"), QString("0.00 1001.00 1000.00 1000.00 0.00 1001.00 0.00"));
}

// Over the office network every statement is a round trip: a year of shifts costs as many
// statements as a day.
void TestTankStock::statementsAreTheSameForADayAndAYear() {
    testdb::admin("insert into shift_03_tank (shift, tank, oilname, in_stock, sale, checkstock, "
                  "account1, account2, real_stock1, real2, count, surplus_4, diff_vol) select "
                  "lpad((to_char(d, 'YYYY')::int - 1911)::text, 3, '0') || to_char(d, 'MMDD') "
                  "|| '_' || s, lpad(t::text, 2, '0'), '92', 0, 100, 0, 5000, 0, 5000, 4900, 0, "
                  "0, 0 from generate_series(date '2024-01-01', date '2024-12-31', interval '1 "
                  "day') d, generate_series(1, 3) s, generate_series(1, 8) t",
                  "pos_data");
    testdb::admin("insert into oil_change (shift, target_tank, gasoline_vol, bill_no, prod_id, "
                  "del_mark) select shift, substr(tank, 2), 3000, 'TP1', 'P', '' from "
                  "shift_03_tank where shift like '%_1' and tank in ('01', '05')",
                  "pos_data");
    QList<qint64> sent, rows;
    for (const char* from : {"1131231", "1130101"}) {
        const qint64 before = dm_->cn.statementsSent();
        rows << recompute(from).rowsRewritten;
        sent << dm_->cn.statementsSent() - before;
    }
    QCOMPARE(rows, QList<qint64>({24, 366 * 24}));
    QCOMPARE(sent[0], sent[1]);
    QVERIFY2(sent[1] <= 20, qPrintable(QString::number(sent[1])));
    // The year's chain: tank 01 receives 3,000 a day and sells 300, from 5,000.
    QCOMPARE(figures("1131231_3", "01"),
             QString("0.00 993300.00 4900.00 4800.00 -100.00 993200.00 -100.00"));
}

QTEST_GUILESS_MAIN(TestTankStock)
#include "tst_tank_stock.moc"
