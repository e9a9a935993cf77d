// BR080 gift detail and statistics: the rows and totals of each mode, order, gift and date
// basis; the printed pages with the totals once after the last row, the page breaks, nothing
// at all without gift lines; the statement count and the planner's choice on a station
// without indexes; the screen and the command line.
#include "app/data_module.h"
#include "app/gui_start.h"
#include "app/progress.h"
#include "db/copy_loader.h"
#include "db/date_formats.h"
#include "demo/station_generator.h"
#include "reports/business/br080_build.h"
#include "reports/business/br080_layout.h"
#include "reports/business/br080_screen.h"
#include "reports/common/page_painter.h"
#include "reports/common/report_preview.h"
#include "reports/common/report_renderer.h"
#include "screens/common/lookup_picker.h"
#include "support/gui_support.h"
#include "support/page_checks.h"
#include "support/report_files.h"
#include "support/test_database.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

const char* const g1 = "2900000000001";
const char* const g2 = "2900000000002";

// A sale of one line: time, shift, invoice, product, class, quantity, an_mark.
struct Line {
    const char* time;
    const char* shift;
    const char* invoice;
    const char* product;
    const char* cls;
    double qty;
    const char* mark = "000";
};

void insertLines(const QList<Line>& lines) {
    QString tran = "insert into tran (island, gun_no, tran_time, shift, invoice, an_mark) values ";
    QString detl = "insert into tran_detl (island, gun_no, tran_time, seq, shift, product_id, "
                   "class, price, qty, amt) values ";
    int n = 0;
    for (const Line& l : lines) {
        const QString sep = n++ ? ", " : "";
        tran +=
            sep +
            QString("('01', '01', '%1', '%2', '%3', '%4')").arg(l.time, l.shift, l.invoice, l.mark);
        detl += sep + QString("('01', '01', '%1', 1, '%2', '%3', '%4', 0, %5, 0)")
                          .arg(l.time, l.shift, l.product, l.cls)
                          .arg(l.qty);
    }
    testdb::admin(tran, "pos_data");
    testdb::admin(detl, "pos_data");
}

// Gifts around the 1st and 2nd of May 2024; night shifts run past midnight.
void insertFixture() {
    testdb::admin(QString::fromUtf8("insert into product (product_id, name, class, price) values "
                                    "('2900000000001', '贈品面紙', '104', 0), ('2900000000002', "
                                    "'環保購物袋', '104', 0), ('4710000000001', '功夫餅乾', "
                                    "'102', 30)"),
                  "pos_data");
    insertLines({
        {"2024-04-30 23:30", "1130430_3", "AA00000090", g1, "104", 7}, // before the range
        {"2024-05-01 00:30", "1130430_3", "AA00000091", g2, "104", 4}, // basis 2 only
        {"2024-05-01 10:00", "1130501_1", "AA00000001", g1, "104", 1},
        {"2024-05-01 15:00", "1130501_2", "AA00000002", g2, "104", 2},
        {"2024-05-02 01:30", "1130501_3", "AA00000003", g1, "104", 1}, // night of the 1st
        {"2024-05-02 09:00", "1130502_1", "AA00000004", g1, "104", 3},
        {"2024-05-02 09:30", "1130502_1", "AA00000005", "4710000000001", "102", 9}, // no gift
        {"2024-05-02 10:00", "1130502_1", "AA00000007", g1, "104", 5, "200"},       // voided
        {"2024-05-02 11:00", "1130502_1", "AA00000008", g2, "104", 6, "300"},       // voided
        {"2024-05-03 00:30", "1130502_3", "AA00000006", g2, "104", 1},              // basis 1 only
        {"2024-05-03 09:00", "1130503_1", "AA00000009", g1, "104", 8}, // after the range
    });
}

Br080Params firstTwoDays() {
    Br080Params p;
    p.start = "2024/05/01";
    p.end = "2024/05/02";
    return p;
}

// The rows of a query as "a|b|c" texts, numbers plainly.
QStringList rowsOf(Query& q, const QStringList& columns) {
    QStringList rows;
    for (q.first(); !q.eof(); q.next()) {
        QStringList row;
        for (const QString& c : columns) // a column the mode lacks shows empty
            row << (q.fieldIndex(c) < 0 ? QString() : q.field(c).asText().trimmed());
        rows << row.join('|');
    }
    return rows;
}

QStringList pageTexts(const rpt::PageItems& page) {
    QStringList list;
    for (const rpt::TextItem& t : page.texts)
        list << t.text;
    return list;
}

double topOf(const rpt::PageItems& page, const QString& text) {
    for (const rpt::TextItem& t : page.texts)
        if (t.text == text) return t.rect.top();
    return -1;
}

} // namespace

class TestBr080 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void rowsAndTotals_data();
    void rowsAndTotals();
    void detailPageByDate();
    void statisticsByGiftWithPageBreaks();
    void noGiftLinesPrintNothing();
    void demoStationMonthInBothModes();
    void statementsDoNotGrowWithSales();
    void sanePlanWithoutIndexes();
    void screenPreviewAndLookup();
    void commandLine_data();
    void commandLine();

private:
    std::unique_ptr<DataModule> dm_;
};

void TestBr080::initTestCase() {
    setUpChineseFonts();
    formats::applyProcessFormats();
}

void TestBr080::init() {
    testdb::recreate();
    insertFixture();
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
    dm_->settings.st_name = QString::fromUtf8("許厝港加油站");
}

void TestBr080::cleanup() {
    dm_.reset();
}

void TestBr080::rowsAndTotals_data() {
    QTest::addColumn<Br080Params>("params");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("totals");
    const QStringList totals1 = {QString::fromUtf8("2900000000001|贈品面紙|5"),
                                 QString::fromUtf8("2900000000002|環保購物袋|3")};
    Br080Params p = firstTwoDays();
    QTest::newRow("detail by date, business days")
        << p
        << QStringList{"2024/05/01|AA00000001|2900000000001|1",
                       "2024/05/01|AA00000002|2900000000002|2",
                       "2024/05/02|AA00000003|2900000000001|1",
                       "2024/05/02|AA00000004|2900000000001|3",
                       "2024/05/03|AA00000006|2900000000002|1"}
        << totals1;
    p.order = QString::fromUtf8("2:贈品");
    QTest::newRow("detail by gift") << p
                                    << QStringList{"2024/05/01|AA00000001|2900000000001|1",
                                                   "2024/05/02|AA00000003|2900000000001|1",
                                                   "2024/05/02|AA00000004|2900000000001|3",
                                                   "2024/05/01|AA00000002|2900000000002|2",
                                                   "2024/05/03|AA00000006|2900000000002|1"}
                                    << totals1;
    p.mode = QString::fromUtf8("2:統計");
    QTest::newRow("statistics by gift")
        << p
        << QStringList{"2024/05/01||2900000000001|1", "2024/05/02||2900000000001|4",
                       "2024/05/01||2900000000002|2", "2024/05/03||2900000000002|1"}
        << totals1;
    p.order = QString::fromUtf8("1:日期");
    QTest::newRow("statistics by date")
        << p
        << QStringList{"2024/05/01||2900000000001|1", "2024/05/01||2900000000002|2",
                       "2024/05/02||2900000000001|4", "2024/05/03||2900000000002|1"}
        << totals1;
    p = firstTwoDays();
    p.gift = " 2900000000002 ";
    QTest::newRow("one gift, in the rows and the totals")
        << p
        << QStringList{"2024/05/01|AA00000002|2900000000002|2",
                       "2024/05/03|AA00000006|2900000000002|1"}
        << QStringList{QString::fromUtf8("2900000000002|環保購物袋|3")};
    p = firstTwoDays();
    p.basis = QString::fromUtf8("2:加油日期");
    QTest::newRow("basis 2: the calendar date of the sale")
        << p
        << QStringList{"2024/05/01|AA00000001|2900000000001|1",
                       "2024/05/01|AA00000002|2900000000002|2",
                       "2024/05/01|AA00000091|2900000000002|4",
                       "2024/05/02|AA00000003|2900000000001|1",
                       "2024/05/02|AA00000004|2900000000001|3"}
        << QStringList{QString::fromUtf8("2900000000001|贈品面紙|5"),
                       QString::fromUtf8("2900000000002|環保購物袋|6")};
}

void TestBr080::rowsAndTotals() {
    QFETCH(Br080Params, params);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, totals);
    SilentProgress progress;
    buildBr080(*dm_, params, progress);
    QCOMPARE(rowsOf(dm_->qy, {"tdate", "invoice", "product_id", "qty"}), rows);
    QCOMPARE(rowsOf(dm_->qy1, {"product_id", "name", "qty"}), totals);
    QVERIFY(!dm_->cn.inTransaction());
}

// Detail by date on one page: the title by mode, the rows grouped by day, the totals once
// after the last row.
void TestBr080::detailPageByDate() {
    SilentProgress progress;
    const Br080Titles titles = buildBr080(*dm_, firstTwoDays(), progress);
    const rpt::RenderedReport r =
        rpt::render(br080Layout(titles), dm_->qy, &dm_->qy1, QDate(2024, 5, 6));
    QCOMPARE(r.pages.size(), 1);
    QVERIFY_NO_OVERLAP(r);
    QVERIFY2(cutTexts(r).isEmpty(), qPrintable(cutTexts(r)));
    const rpt::PageItems& page = r.pages[0];
    const QStringList texts = pageTexts(page);
    for (const char* caption : {"許厝港加油站", "贈品資料明細表", "發票號碼", "贈品名稱",
                                "2024/05/01", "2024/05/02", "2024/05/06", "AA00000004"})
        QVERIFY2(texts.contains(QString::fromUtf8(caption)), caption);
    QVERIFY(!texts.contains(QString::fromUtf8("(交易日)")));
    QCOMPARE(texts.count(QString::fromUtf8("合計 :")), 1);
    QCOMPARE(texts.count(QString::fromUtf8("環保購物袋")), 3); // two rows and its total
    // The totals come after the last row, 5 and 3 under the sum.
    QVERIFY(topOf(page, QString::fromUtf8("合計 :")) > topOf(page, "AA00000006"));
    QVERIFY(texts.contains("5") && texts.contains("3"));
    reportfiles::savePage(r, 0, "br080_detail_page1");

    Br080Params transactionDays = firstTwoDays();
    transactionDays.basis = QString::fromUtf8("2:加油日期");
    const rpt::RenderedReport byDay =
        rpt::render(br080Layout(buildBr080(*dm_, transactionDays, progress)), dm_->qy, &dm_->qy1);
    QVERIFY(pageTexts(byDay.pages[0]).contains(QString::fromUtf8("(交易日)")));
    QVERIFY_NO_OVERLAP(byDay);
    QVERIFY2(cutTexts(byDay).isEmpty(), qPrintable(cutTexts(byDay)));
}

// Statistics sorted by gift with 跳頁 Y: each gift on a page of its own, its days together,
// then the totals on a page of theirs; no invoice heading.
void TestBr080::statisticsByGiftWithPageBreaks() {
    Br080Params p = firstTwoDays();
    p.mode = QString::fromUtf8("2:統計");
    p.order = QString::fromUtf8("2:贈品");
    p.pageBreak = "Y";
    SilentProgress progress;
    const rpt::RenderedReport r =
        rpt::render(br080Layout(buildBr080(*dm_, p, progress)), dm_->qy, &dm_->qy1);
    QCOMPARE(r.pages.size(), 3);
    QVERIFY_NO_OVERLAP(r);
    QVERIFY2(cutTexts(r).isEmpty(), qPrintable(cutTexts(r)));
    const QStringList first = pageTexts(r.pages[0]), second = pageTexts(r.pages[1]),
                      third = pageTexts(r.pages[2]);
    QVERIFY(first.contains(QString::fromUtf8("贈品資料統計表")));
    QVERIFY(!first.contains(QString::fromUtf8("發票號碼")));
    QCOMPARE(first.count(QString::fromUtf8("贈品面紙")), 2);
    QVERIFY(!first.contains(QString::fromUtf8("環保購物袋")));
    QCOMPARE(second.count(QString::fromUtf8("環保購物袋")), 2);
    QVERIFY(!second.contains(QString::fromUtf8("合計 :")));
    QVERIFY(third.contains(QString::fromUtf8("合計 :")));
    QVERIFY(third.contains(QString::fromUtf8("贈品面紙")) &&
            third.contains(QString::fromUtf8("環保購物袋")));
    QVERIFY(third.contains("3")); // its page number (and G2's total)
    reportfiles::savePage(r, 0, "br080_statistics_page1");

    p.pageBreak = "N";
    const rpt::RenderedReport together =
        rpt::render(br080Layout(buildBr080(*dm_, p, progress)), dm_->qy, &dm_->qy1);
    QCOMPARE(together.pages.size(), 1);
}

void TestBr080::noGiftLinesPrintNothing() {
    Br080Params p;
    p.start = "2024/06/01";
    p.end = "2024/06/30";
    SilentProgress progress;
    const rpt::RenderedReport r =
        rpt::render(br080Layout(buildBr080(*dm_, p, progress)), dm_->qy, &dm_->qy1);
    QVERIFY(dm_->qy.isEmpty());
    QVERIFY(r.pages.isEmpty());
}

// A month of the demo station, in detail by date and in statistics by gift: the totals are
// what the rows add up to, each gift's once, and the first pages are saved as pictures.
void TestBr080::demoStationMonthInBothModes() {
    testdb::recreate();
    {
        Connection cn;
        testdb::configure(cn);
        DemoOptions options;
        options.seed = 80;
        options.days = 33;
        options.salesPerDay = 120;
        options.lastDay = QDate(2024, 6, 1);
        CopyLoader loader(cn);
        SilentProgress progress;
        generateDemoStation(options, loader, progress);
        loader.finish();
    }
    for (const char* mode : {"1:明細", "2:統計"}) {
        Br080Params p;
        p.start = "2024/05/01";
        p.end = "2024/05/31";
        p.mode = QString::fromUtf8(mode);
        p.order = p.detail() ? QString::fromUtf8("1:日期") : QString::fromUtf8("2:贈品");
        SilentProgress progress;
        const rpt::RenderedReport r =
            rpt::render(br080Layout(buildBr080(*dm_, p, progress)), dm_->qy, &dm_->qy1);
        QVERIFY(dm_->qy.recordCount() > 50);
        QHash<QString, double> byGift;
        for (dm_->qy.first(); !dm_->qy.eof(); dm_->qy.next())
            byGift[dm_->qy.field("product_id").asText()] += dm_->qy.field("qty").asFloat();
        QCOMPARE(dm_->qy1.recordCount(), byGift.size());
        for (dm_->qy1.first(); !dm_->qy1.eof(); dm_->qy1.next())
            QCOMPARE(dm_->qy1.field("qty").asFloat(),
                     byGift.value(dm_->qy1.field("product_id").asText()));
        QVERIFY_NO_OVERLAP(r);
        QVERIFY2(cutTexts(r).isEmpty(), qPrintable(cutTexts(r)));
        int totalsHeadings = 0;
        for (const rpt::PageItems& page : r.pages)
            totalsHeadings += int(pageTexts(page).count(QString::fromUtf8("合計 :")));
        QCOMPARE(totalsHeadings, 1);
        QVERIFY(pageTexts(r.pages.last()).contains(QString::fromUtf8("合計 :")));
        reportfiles::savePage(
            r, 0, p.detail() ? "br080_demo_detail_page1" : "br080_demo_statistics_page1");
    }
}

void TestBr080::statementsDoNotGrowWithSales() {
    QList<qint64> counts;
    dm_->cn.connect();
    for (int sales : {10, 2000}) {
        testdb::admin("delete from tran_detl", "pos_data");
        testdb::admin("delete from tran", "pos_data");
        testdb::admin(QString("insert into tran (island, gun_no, tran_time, shift, invoice, "
                              "an_mark) select '01', '01', timestamp '2024-05-01' + g * interval "
                              "'1 minute', '1130501_1', 'AA' || lpad(g::text, 8, '0'), '000' "
                              "from generate_series(1, %1) g")
                          .arg(sales),
                      "pos_data");
        testdb::admin("insert into tran_detl (island, gun_no, tran_time, seq, shift, product_id, "
                      "class, qty) select island, gun_no, tran_time, 1, shift, '2900000000001', "
                      "'104', 1 from tran",
                      "pos_data");
        const qint64 before = dm_->cn.statementsSent();
        SilentProgress progress;
        Br080Params p = firstTwoDays();
        buildBr080(*dm_, p, progress);
        counts << dm_->cn.statementsSent() - before;
        QCOMPARE(dm_->qy.recordCount(), sales);
        QCOMPARE(dm_->qy1.field("qty").asInteger(), qint64(sales));
    }
    QCOMPARE(counts[0], counts[1]);
    QVERIFY2(counts[0] <= 6, qPrintable(QString::number(counts[0])));
}

// A station without indexes on its sales, a month of busy days, one gift asked for: the
// quoted filter makes the planner expect one sale, and scanning the lines once per sale (a
// nested loop) takes about a minute here.
void TestBr080::sanePlanWithoutIndexes() {
    testdb::admin("alter table tran drop constraint tran_pkey", "pos_data");
    testdb::admin("alter table tran_detl drop constraint tran_detl_pkey", "pos_data");
    testdb::admin("insert into tran (island, gun_no, tran_time, shift, invoice, an_mark) "
                  "select '02', '01', timestamp '2024-05-01' + g * interval '2 minutes', "
                  "'11305' || lpad((1 + g / 720)::text, 2, '0') || '_1', 'BB' || "
                  "lpad(g::text, 8, '0'), '000' from generate_series(1, 20000) g",
                  "pos_data");
    testdb::admin("insert into tran_detl (island, gun_no, tran_time, seq, shift, product_id, "
                  "class, qty) select island, gun_no, tran_time, 1, shift, '113F 12092005', "
                  "'101', 30 from tran where island = '02'",
                  "pos_data");
    testdb::admin("insert into tran_detl (island, gun_no, tran_time, seq, shift, product_id, "
                  "class, qty) select island, gun_no, tran_time, 2, shift, '2900000000001', "
                  "'104', 1 from tran where island = '02' and substr(invoice, 10, 1) = '0'",
                  "pos_data");
    testdb::admin("analyze tran", "pos_data");
    testdb::admin("analyze tran_detl", "pos_data");
    Br080Params p;
    p.start = "2024/05/01";
    p.end = "2024/05/31";
    p.gift = g1;
    SilentProgress progress;
    QElapsedTimer clock;
    clock.start();
    buildBr080(*dm_, p, progress);
    const qint64 ms = clock.elapsed();
    QCOMPARE(dm_->qy.recordCount(), 2000 + 4); // and the fixture's four of May
    QCOMPARE(dm_->qy1.field("qty").asInteger(), qint64(2000 + 1 + 1 + 3 + 8));
    QVERIFY2(ms < 8000, qPrintable(QString("%1 ms").arg(ms)));
}

void TestBr080::screenPreviewAndLookup() {
    TFrmBR080 screen;
    screen.FormCreate();
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    QCOMPARE(screen.windowTitle(), QString::fromUtf8("BR080 贈品明細統計表"));
    QCOMPARE(screen.e04->currentText(), QString::fromUtf8("1:明細"));
    QCOMPARE(screen.e05->currentText(), QString::fromUtf8("1:日期"));
    QCOMPARE(screen.e06->currentText(), QString("N"));
    QCOMPARE(screen.e07->currentText(), QString::fromUtf8("1:交班日期"));
    QVERIFY(!screen.SBT);
    gui::saveScreenshot(&screen, "br080_screen");

    screen.e03->setText("29000000000");
    QString caption;
    gui::answerNextDialog([&](QWidget* dialog) {
        caption = dialog->windowTitle();
        auto* picker = qobject_cast<TFrmgetdata*>(dialog);
        if (picker) picker->BitBtnCanser->click();
    });
    screen.findChild<QToolButton*>("SB4")->click();
    QCOMPARE(caption, QString::fromUtf8("贈品資料選取"));
    QCOMPARE(screen.e03->text(), QString(g1)); // the first gift whose code begins so

    screen.e01->setText("2024/05/01");
    screen.e02->setText("2024/05/02");
    screen.e03->clear();
    screen.e04->setCurrentIndex(1);
    screen.e05->setCurrentIndex(1);
    QString pageLabel;
    gui::answerNextDialog([&](QWidget* dialog) {
        auto* preview = qobject_cast<ReportPreview*>(dialog);
        if (!preview) return;
        pageLabel = preview->PageLabel->text();
        gui::saveScreenshot(preview, "br080_preview");
        preview->CloseButton->click();
    });
    screen.SpeedButtonPrn->click();
    QCOMPARE(pageLabel, QString::fromUtf8("第 1 / 1 頁"));
    QString said; // no printer on this machine: the screen says so and stays open
    gui::pressInNextMessageBox(QMessageBox::Cancel, &said);
    screen.SpeedButton2->click();
    QVERIFY2(said.contains(QString::fromUtf8("印表機")), qPrintable(said));
    QVERIFY(screen.isVisible());
    screen.BitBtnExit->click();
    QVERIFY(!dm_->cn.connected());
}

void TestBr080::commandLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("says");
    const QStringList may{"--from", "2024/05/01", "--to", "2024/05/02"};
    QTest::newRow("statistics by gift with page breaks")
        << QStringList{"--mode", "2", "--order", "2", "--page-break"} + may << 0
        << QString::fromUtf8("4 列，3 頁");
    QTest::newRow("one gift, basis 2")
        << QStringList{"--gift", "2900000000002", "--basis", "2"} + may << 0
        << QString::fromUtf8("2 列，1 頁");
    QTest::newRow("no gift lines: no file")
        << QStringList{"--from", "2024/06/01", "--to", "2024/06/30"} << 0
        << QString::fromUtf8("沒有資料");
    QTest::newRow("help names BR080's own orders") << QStringList{"--help"} << 0 << "--order 1|2 ";
    QTest::newRow("order 3 is no order of BR080")
        << QStringList{"--order", "3"} + may << 2 << "--order";
    QTest::newRow("mode 3") << QStringList{"--mode", "3"} + may << 2 << "--mode";
    QTest::newRow("no export") << QStringList{"--sylk", "x.xls"} + may << 2 << "BR080";
}

void TestBr080::commandLine() {
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, says);
    testdb::admin(QString::fromUtf8("insert into set_system values ('st_name', '許厝港站')"),
                  "pos_data");
    QTemporaryDir folder;
    const QString pdf = folder.filePath("br080.pdf");
    QStringList all = QStringList{"report", "BR080"} + args;
    if (!args.contains("--sylk")) all << "--pdf" << pdf;
    reportfiles::Outcome run = reportfiles::runTolvar(folder.path(), all);
    const QString out = run.out;
    const QString err = run.err;
    QCOMPARE(run.status, status);
    QVERIFY2((out + err).contains(says), qPrintable(out + err));
    if (status != 0 || out.contains(QString::fromUtf8("沒有資料")) || args.contains("--help")) {
        QVERIFY(!QFile::exists(pdf));
        return;
    }
    const QString content = reportfiles::pdfText(pdf);
    QVERIFY2(content.contains(QString::fromUtf8("環保購物袋")), qPrintable(content));
    QVERIFY(content.contains(QString::fromUtf8("許厝港站")));
    QVERIFY(content.contains(QString::fromUtf8("合計")));
}

QTEST_MAIN(TestBr080)
#include "tst_br080.moc"
