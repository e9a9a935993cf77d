// The demo station as loaded into a real database: its figures must reconcile the way the
// station office reconciles them, with the database doing the arithmetic.
#include "app/progress.h"
#include "db/connection.h"
#include "db/copy_loader.h"
#include "demo/station_generator.h"
#include "support/test_database.h"

#include <QTest>

class TestDemoStation : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void reconciles_data();
    void reconciles();
    void textsArriveAsBig5();

private:
    DemoSummary summary_;
};

void TestDemoStation::initTestCase() {
    testdb::recreate();
    Connection cn;
    testdb::configure(cn);
    DemoOptions options;
    options.seed = 11;
    options.days = 5;
    options.salesPerDay = 150;
    options.lastDay = QDate(2024, 2, 29); // across the end of an invoice period
    CopyLoader loader(cn);
    SilentProgress progress;
    summary_ = generateDemoStation(options, loader, progress);
    loader.finish();
    QVERIFY(summary_.sales > 500);
    QCOMPARE(testdb::adminValue("select count(*) from tran"), QString::number(summary_.sales));
}

void TestDemoStation::reconciles_data() {
    // Each statement counts the rows that fail to reconcile.
    QTest::addColumn<QString>("mismatches");
    QTest::newRow("nozzle sales = live sales lines + tests")
        << "select count(*) from shift_01_gun g left join (select d.shift, d.island, d.gun_no, "
           "sum(d.qty) q, "
           "sum(d.amt) a from tran m join tran_detl d using (island, gun_no, tran_time) where "
           "m.an_mark < '200' "
           "and d.class = '101' group by 1, 2, 3) s using (shift, island, gun_no) "
           "where g.out_qty - g.test_qty - g.walk_qty <> coalesce(s.q, 0) "
           "or g.out_amt - g.test_amt - g.walk_amt <> coalesce(s.a, 0)";
    QTest::newRow("meters carry on from shift to shift")
        << "select count(*) from (select now_qty, now_amt, lead(start_qty) over w nq, "
           "lead(start_amt) over w na "
           "from shift_01_gun window w as (partition by island, gun_no order by shift)) x "
           "where nq is not null and (nq <> now_qty or na <> now_amt)";
    QTest::newRow("tank book chain")
        << "select count(*) from (select *, lag(account2) over w prev2, lag(real2) over w prevreal "
           "from shift_03_tank window w as (partition by tank order by shift)) x "
           "where account2 <> account1 + in_stock - sale + checkstock "
           "or count <> real_stock1 + in_stock - sale + checkstock or surplus_4 <> count - real2 "
           "or diff_vol <> surplus_4 or (prev2 is not null and (account1 <> prev2 or real_stock1 "
           "<> prevreal))";
    QTest::newRow("receipts = in_stock")
        << "select count(*) from shift_03_tank t left join (select shift, '0' || target_tank tank, "
           "sum(gasoline_vol) v from oil_change group by 1, 2) r using (shift, tank) "
           "where t.in_stock <> coalesce(r.v, 0)";
    QTest::newRow("issued invoice numbers unique")
        << "select count(*) from (select invoice from tran where prt_invoice = '-1' and invoice <> "
           "'' "
           "group by invoice having count(*) > 1) d";
    QTest::newRow("issued invoices inside an active range of their form")
        << "select count(*) from tran m where prt_invoice = '-1' and not exists (select 1 from "
           "inv_range r "
           "where r.void = '0' and r.code = m.invoice_tp and m.invoice between r.inv_start and "
           "r.inv_end)";
    QTest::newRow("ranges on 250-number blocks")
        << "select count(*) from inv_range where substr(inv_start,3,8)::int % 250 <> 0 "
           "or (substr(inv_end,3,8)::int + 1) % 250 <> 0 or substr(inv_start,1,2) <> "
           "substr(inv_end,1,2)";
    QTest::newRow("sale lines share the header's shift")
        << "select count(*) from tran m join tran_detl d using (island, gun_no, tran_time) where "
           "m.shift <> d.shift";
    QTest::newRow("counter sells only sub-products")
        << "select count(*) from tran_detl where gun_no = '00' and class <> '102'";
    QTest::newRow("car wash of shift_06 = diff_amt1 of shift_05")
        << "select count(*) from shift_05 f left join (select shift, sum(amt) w from shift_06 "
           "where class = '102' "
           "group by 1) s using (shift) where f.diff_amt1 <> coalesce(s.w, 0)";
    QTest::newRow("goods stock carries on") << "select count(*) from (select *, lag(stock) over "
                                               "(partition by product_id order by shift) prev "
                                               "from shift_04_stock) x where stock <> bef_stock + "
                                               "in_qty - sale_qty - abert_qty + check_qty "
                                               "or (prev is not null and bef_stock <> prev)";
    QTest::newRow("night-shift sales after midnight carry the next date")
        << "select count(*) from tran where substr(shift,9,1) = '3' and tran_time::time < '06:00' "
           "and "
           "to_char(tran_time::date - 1, 'YYYYMMDD')::int - 19110000 <> substr(shift,1,7)::int";
}

void TestDemoStation::reconciles() {
    QFETCH(QString, mismatches);
    QCOMPARE(testdb::adminValue(mismatches), QString("0"));
}

void TestDemoStation::textsArriveAsBig5() {
    // 許 (B3 5C) somewhere in the names, stored as raw Big5 bytes.
    QCOMPARE(
        testdb::adminValue("select count(*) > 0 from product where position('\\xb35c'::bytea in "
                           "convert_to(name, 'SQL_ASCII')) > 0 or position('\\xa55c'::bytea in "
                           "convert_to(name, 'SQL_ASCII')) > 0"),
        QString("t"));
    QVERIFY(
        !testdb::adminValue("select set_value from set_system where set_id = 'st_name'").isEmpty());
}

QTEST_GUILESS_MAIN(TestDemoStation)
#include "tst_demo_station.moc"
