// The invoice trial: the checks of the months and the hidden fields, which
// invoices tIN010 takes and their month codes, the result lines, duplicates and failures
// that leave the previous tIN010 untouched, and a statement count that does not grow with
// the ranges.
#include "app/data_module.h"
#include "app/progress.h"
#include "db/db_error.h"
#include "db/input_refused.h"
#include "invoice/invoice_trial.h"
#include "support/invoice_fixture.h"
#include "support/test_database.h"

#include <QTest>

using invoicefix::Sale;

class TestInvoiceTrial : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void checksRefuseBeforeAnyDatabaseWork_data();
    void checksRefuseBeforeAnyDatabaseWork();
    void takesTheIssuedInvoicesOfTheEndMonthsRanges();
    void oneMonthOnly();
    void onlyTwoPartValidInvoicesGiveOneLine();
    void adjustmentLineWhenAnAmountIsGiven_data();
    void adjustmentLineWhenAnAmountIsGiven();
    void duplicatesAreListedAndTheTableIsKept();
    void overlappingRangesFailAndTheTableIsKept();
    void charCodesStation();
    void statementsDoNotGrowWithRanges();

private:
    QStringList trial(const QString& start, const QString& end, TrialOutcome expected,
                      const QString& threshold = {}, const QString& adjustment = "0");
    QList<QStringList> table();
    std::unique_ptr<DataModule> dm_;
};

void TestInvoiceTrial::init() {
    // The rows of the checks share one database: a refused row changes nothing, an accepted
    // one only rebuilds tIN010, which the next row makes again.
    static QByteArray lastTest;
    const bool sameChecks =
        lastTest == "checksRefuseBeforeAnyDatabaseWork" && lastTest == QTest::currentTestFunction();
    lastTest = QTest::currentTestFunction();
    if (!sameChecks) testdb::recreate();
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
}

void TestInvoiceTrial::cleanup() {
    dm_.reset();
}

QStringList TestInvoiceTrial::trial(const QString& start, const QString& end, TrialOutcome expected,
                                    const QString& threshold, const QString& adjustment) {
    InvoiceTrialParams p;
    p.start = start;
    p.end = end;
    p.threshold = threshold;
    p.adjustment = adjustment;
    QStringList lines;
    SilentProgress progress;
    const TrialOutcome outcome =
        runInvoiceTrial(*dm_, p, progress, [&](const QString& line) { lines << line; });
    if (!QTest::qVerify(outcome == expected, "outcome == expected", "", __FILE__, __LINE__))
        return {};
    return lines;
}

QList<QStringList> TestInvoiceTrial::table() {
    return invoicefix::rows(dm_->cn,
                            "select island, gun_no, tran_time, invoice_tp, tax_type, inv_amt, tax, "
                            "uid, invoice, void, tdate from tIN010 order by invoice");
}

void TestInvoiceTrial::checksRefuseBeforeAnyDatabaseWork_data() {
    QTest::addColumn<QStringList>("fields"); // e01 e02 e03 e04 e05
    QTest::addColumn<QString>("message");    // empty: accepted
    QTest::addColumn<QString>("focus");
    const QString months = QString::fromUtf8("起迄年月 錯誤...");
    const QString amounts = QString::fromUtf8("金額 調整金額 錯誤...");
    QTest::newRow("two consecutive months") << QStringList{"2024/05", "2024/06", "", "", "0"} << ""
                                            << "";
    QTest::newRow("one month") << QStringList{"2024/05", "2024/05", "", "", "0"} << ""
                               << "";
    QTest::newRow("end before start")
        << QStringList{"2024/06", "2024/05", "", "", "0"} << months << "e02";
    QTest::newRow("three months") << QStringList{"2024/01", "2024/03", "", "", "0"} << months
                                  << "e02";
    QTest::newRow("years differ") << QStringList{"2023/12", "2024/01", "", "", "0"} << months
                                  << "e02";
    QTest::newRow("start month not a number")
        << QStringList{"2024/x5", "2024/05", "", "", "0"} << months << "e01";
    QTest::newRow("end month not a number")
        << QStringList{"2024/05", "2024/0x", "", "", "0"} << months << "e02";
    QTest::newRow("month 13") << QStringList{"2024/12", "2024/13", "", "", "0"} << months << "e02";
    QTest::newRow("form 4") << QStringList{"2024/05", "2024/06", "4", "", "0"}
                            << QString::fromUtf8("發票型式 錯誤...") << "e03";
    QTest::newRow("form 3") << QStringList{"2024/05", "2024/06", " 3 ", "", "0"} << ""
                            << "";
    QTest::newRow("amount over adjustment")
        << QStringList{"2024/05", "2024/06", "", "1000", "5"} << ""
        << "";
    QTest::newRow("amount not a number")
        << QStringList{"2024/05", "2024/06", "", "1,000", "5"} << amounts << "e04";
    QTest::newRow("adjustment not a number")
        << QStringList{"2024/05", "2024/06", "", "1000", "x"} << amounts << "e04";
    QTest::newRow("amount not over adjustment")
        << QStringList{"2024/05", "2024/06", "", "5", "5"} << amounts << "e04";
    QTest::newRow("no amount: the adjustment is not looked at")
        << QStringList{"2024/05", "2024/06", "", " ", "x"} << ""
        << "";
}

// A refused run changes nothing and sends nothing; an accepted one rebuilds tIN010.
void TestInvoiceTrial::checksRefuseBeforeAnyDatabaseWork() {
    QFETCH(QStringList, fields);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    testdb::admin("drop table if exists tIN010", "pos_data");
    testdb::admin("create table tIN010 (invoice varchar(10))", "pos_data");
    testdb::admin("insert into tIN010 values ('AB00000001')", "pos_data");
    InvoiceTrialParams p{fields[0], fields[1], fields[2], fields[3], fields[4]};
    SilentProgress progress;
    QStringList lines;
    const qint64 before = dm_->cn.statementsSent();
    try {
        runInvoiceTrial(*dm_, p, progress, [&](const QString& l) { lines << l; });
        QVERIFY2(message.isEmpty(), "accepted a run it should refuse");
        QCOMPARE(table(), QList<QStringList>()); // rebuilt, and no sales
    } catch (const InputRefused& e) {
        QCOMPARE(e.message(), message);
        QCOMPARE(e.field(), focus);
        QCOMPARE(dm_->cn.statementsSent(), before);
        QVERIFY(lines.isEmpty());
        QCOMPARE(testdb::adminValue("select string_agg(invoice, ',') from tIN010"),
                 QString("AB00000001"));
    }
}

// The fixture of the worked months: ranges filed under 11306 are taken, those of 11305 and
// the voided ones not; sales of May and June in them are taken, others not.
void TestInvoiceTrial::takesTheIssuedInvoicesOfTheEndMonthsRanges() {
    invoicefix::insertRange("11306", "XY12345000", "XY12345999");
    invoicefix::insertRange("11306", "QQ00000000", "QQ00000249", "3");
    invoicefix::insertRange("11305", "MM00000000", "MM00000249");           // another month
    invoicefix::insertRange("11306", "VV00000000", "VV00000249", "2", "1"); // voided roll
    invoicefix::insertSales({
        {"2024/05/02 10:00:00", "XY12345000", "2", 1050, 50},
        {"2024/05/31 23:59:59", "XY12345001", "2", 210, 10, "TX", "00000000", 1},
        {"2024/06/01 00:00:00", "XY12345002", "2", 315, 15, "TF"},
        {"2024/06/30 12:00:00", "QQ00000007", "3", 2100, 100, "TX", "12345678"},
        {"2024/06/30 12:00:01", "QQ00000008", "3", 525, 25, "TX", "00000000", 2},
        {"2024/04/30 23:59:59", "XY12345003", "2"},                                   // April
        {"2024/07/01 00:00:00", "XY12345004", "2"},                                   // July
        {"2024/06/02 08:00:00", "XY12345005", "2", 105, 5, "TX", "00000000", 0, "0"}, // not issued
        {"2024/06/02 09:00:00", "MM00000001", "2"}, // range of May
        {"2024/06/02 09:30:00", "VV00000001", "2"}, // voided roll
        {"2024/06/02 10:00:00", "ZZ00000001", "2"}, // in no range
    });
    const QStringList lines = trial(" 2024/05", "2024/06", TrialOutcome::Done);
    QStringList invoices, codes, buyers, voids;
    for (const QStringList& r : table()) {
        invoices << r[8];
        buyers << r[7];
        voids << r[9];
        codes << r[10];
    }
    QCOMPARE(invoices,
             QStringList({"QQ00000007", "QQ00000008", "XY12345000", "XY12345001", "XY12345002"}));
    QCOMPARE(codes, QStringList({"11306", "11306", "11305", "11305", "11306"}));
    QCOMPARE(buyers, QStringList({"12345678", "", "", "", ""})); // 00000000: no buyer
    QCOMPARE(voids, QStringList({"0", "2", "0", "1", "0"}));
    QCOMPARE(table()[2].mid(3, 4), QStringList({"2", "TX", "1050", "50"}));
    QCOMPARE(lines,
             QStringList({"", QString::fromUtf8("二聯式發票  有效張數 : 2  發票金額 : 1,365"), "",
                          QString::fromUtf8("二聯式發票  作廢張數 : 1"), "",
                          QString::fromUtf8("三聯式發票  有效張數 : 1  發票金額 : 2,100"), "",
                          QString::fromUtf8("三聯式發票  作廢張數 : 1")}));
}

void TestInvoiceTrial::oneMonthOnly() {
    invoicefix::insertRange("11305", "XY12345000", "XY12345249");
    invoicefix::insertSales(
        {{"2024/05/02 10:00:00", "XY12345000"}, {"2024/06/02 10:00:00", "XY12345001"}});
    trial("2024/05", "2024/05", TrialOutcome::Done);
    QCOMPARE(table().size(), 1);
    QCOMPARE(table()[0][10], QString("11305"));
}

void TestInvoiceTrial::onlyTwoPartValidInvoicesGiveOneLine() {
    invoicefix::insertRange("11306", "XY12345000", "XY12345249");
    invoicefix::insertSales({{"2024/06/02 10:00:00", "XY12345000", "2", 1000, 48},
                             {"2024/06/02 10:00:01", "XY12345001", "2", 1, 0}});
    QCOMPARE(trial("2024/06", "2024/06", TrialOutcome::Done),
             QStringList({"", QString::fromUtf8("二聯式發票  有效張數 : 2  發票金額 : 1,001")}));
}

void TestInvoiceTrial::adjustmentLineWhenAnAmountIsGiven_data() {
    QTest::addColumn<QString>("threshold");
    QTest::addColumn<QString>("line");
    QTest::newRow("two invoices over 1000, 3 each")
        << "1000" << QString::fromUtf8("調整有效發票筆數 : 2  發票金額 : 3,500  調整金額 : 6");
    QTest::newRow("none over 5000: zeros")
        << "5000" << QString::fromUtf8("調整有效發票筆數 : 0  發票金額 : 0  調整金額 : 0");
}

// Only valid taxable two-part invoices without a buyer count; nothing is changed.
void TestInvoiceTrial::adjustmentLineWhenAnAmountIsGiven() {
    QFETCH(QString, threshold);
    QFETCH(QString, line);
    invoicefix::insertRange("11306", "XY12345000", "XY12345249");
    invoicefix::insertRange("11306", "QQ12345000", "QQ12345249", "3");
    invoicefix::insertSales({
        {"2024/06/02 10:00:00", "XY12345000", "2", 1500, 71},
        {"2024/06/02 10:00:01", "XY12345001", "2", 2000, 95},
        {"2024/06/02 10:00:02", "XY12345002", "2", 1000, 48}, // not over
        {"2024/06/02 10:00:03", "XY12345003", "2", 3000, 0, "TF"},
        {"2024/06/02 10:00:04", "XY12345004", "2", 3000, 143, "TX", "00000000", 1},
        {"2024/06/02 10:00:05", "QQ12345000", "3", 3000, 143},
    });
    const QStringList lines = trial("2024/06", "2024/06", TrialOutcome::Done, threshold, "3");
    QCOMPARE(lines.mid(lines.size() - 2), QStringList({" ", line}));
    QCOMPARE(table().size(), 6);
}

void TestInvoiceTrial::duplicatesAreListedAndTheTableIsKept() {
    invoicefix::insertRange("11306", "XY12345000", "XY12345249");
    invoicefix::insertSales({{"2024/06/02 10:00:00", "XY12345000"}});
    trial("2024/06", "2024/06", TrialOutcome::Done);
    const QList<QStringList> before = table();
    invoicefix::insertSales(
        {{"2024/06/03 10:00:00", "XY12345010"},
         {"2024/06/04 10:00:00", "XY12345010"},
         {"2024/06/05 10:00:00", "XY12345002"},
         {"2024/06/05 11:00:00", "XY12345002"},
         {"2024/06/05 12:00:00", "XY12345002"},
         {"2024/06/06 10:00:00", "", "2"},
         {"2024/06/06 11:00:00", "", "2"}, // no invoice: not a duplicate
         {"2024/06/07 10:00:00", "XY12345020", "2", 105, 5, "TX", "00000000", 0, "0"},
         {"2024/06/07 11:00:00", "XY12345020"},   // once issued
         {"2024/04/07 11:00:00", "XY12345000"}}); // another month
    QCOMPARE(trial("2024/06", "2024/06", TrialOutcome::Duplicates),
             QStringList({" ", QString::fromUtf8("發票重複 : XY12345002"),
                          QString::fromUtf8("發票重複 : XY12345010")}));
    QCOMPARE(table(), before);
}

// An invoice in two overlapping active ranges breaks tIN010's key after it was dropped and
// made anew: the previous table comes back whole.
void TestInvoiceTrial::overlappingRangesFailAndTheTableIsKept() {
    invoicefix::insertRange("11306", "XY12345000", "XY12345249");
    invoicefix::insertSales({{"2024/06/02 10:00:00", "XY12345000"}});
    trial("2024/06", "2024/06", TrialOutcome::Done);
    const QList<QStringList> before = table();
    QCOMPARE(before.size(), 1);
    invoicefix::insertRange("11306", "XY12344750", "XY12345249");
    try {
        trial("2024/06", "2024/06", TrialOutcome::Done);
        QFAIL("the overlapping ranges were not refused");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains(QString::fromUtf8("範圍重疊")), qPrintable(e.message()));
        QVERIFY(e.message().contains("XY12345000"));
    }
    QVERIFY(!dm_->cn.inTransaction());
    QCOMPARE(table(), before);
}

void TestInvoiceTrial::charCodesStation() {
    TrialSchemaOptions o;
    o.charCodes = true;
    testdb::recreate(o);
    invoicefix::insertRange("11306", "XY12345000", "XY12345249");
    invoicefix::insertSales(
        {{"2024/06/02 10:00:00", "XY12345000", "2", 105, 5},
         {"2024/06/02 10:00:01", "XY12345001", "2", 210, 10, "TX", "00000000", 1}});
    QCOMPARE(trial("2024/06", "2024/06", TrialOutcome::Done),
             QStringList({"", QString::fromUtf8("二聯式發票  有效張數 : 1  發票金額 : 105"), "",
                          QString::fromUtf8("二聯式發票  作廢張數 : 1")}));
    QCOMPARE(table().size(), 2);
}

void TestInvoiceTrial::statementsDoNotGrowWithRanges() {
    QList<qint64> counts;
    for (int ranges : {1, 20}) {
        testdb::recreate();
        for (int r = 0; r < ranges; ++r)
            invoicefix::insertRange("11306", QString("XY%1").arg(r * 1000, 8, 10, QChar('0')),
                                    QString("XY%1").arg(r * 1000 + 999, 8, 10, QChar('0')));
        testdb::admin(
            QString("insert into tran (island, gun_no, tran_time, inv_amt, tax, tax_type, "
                    "invoice, invoice_tp, uid, void, prt_invoice) select '01', '01', "
                    "timestamp '2024-06-01' + g * interval '1 minute', 105, 5, 'TX', "
                    "'XY' || lpad((g * 3)::text, 8, '0'), '2', '00000000', 0, '-1' from "
                    "generate_series(0, %1) g")
                .arg(ranges * 300),
            "pos_data");
        DataModule dm;
        testdb::configure(dm.cn);
        dm.cn.connect();
        const qint64 before = dm.cn.statementsSent();
        InvoiceTrialParams p{"2024/06", "2024/06", {}, {}, "0"};
        SilentProgress progress;
        QStringList lines;
        runInvoiceTrial(dm, p, progress, [&](const QString& l) { lines << l; });
        QCOMPARE(lines.size(), 2);
        counts << dm.cn.statementsSent() - before;
        QCOMPARE(testdb::adminValue("select count(*) from tIN010"),
                 QString::number(ranges * 300 + 1));
    }
    QCOMPARE(counts[0], counts[1]);
    QVERIFY2(counts[0] <= 10, qPrintable(QString::number(counts[0])));
}

QTEST_MAIN(TestInvoiceTrial)
#include "tst_invoice_trial.moc"
