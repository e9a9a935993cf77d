// BR070 tank stock: a tank's shifts condensed into one line a day on the book and the gauge
// basis, the cent roundings of the work table, the tanks and their pages, the statements a
// build sends, the screen and the command line.
#include "app/data_module.h"
#include "app/gui_start.h"
#include "app/progress.h"
#include "db/copy_loader.h"
#include "db/input_refused.h"
#include "demo/station_generator.h"
#include "fuel/br070_build.h"
#include "fuel/br070_layout.h"
#include "fuel/br070_screen.h"
#include "reports/common/page_painter.h"
#include "reports/common/report_preview.h"
#include "reports/common/report_renderer.h"
#include "support/gui_support.h"
#include "support/page_checks.h"
#include "support/report_files.h"
#include "support/test_database.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

// One shift_03_tank row: in_stock, sale, account1, account2, real_stock1, real2, count.
struct Stock {
    const char* shift;
    const char* tank;
    double in, sale, account1, account2, real1, real2, count;
};

void insertStock(const QList<Stock>& rows) {
    QString sql = "insert into shift_03_tank (shift, tank, oilname, in_stock, sale, checkstock, "
                  "account1, account2, real_stock1, real2, count, surplus_4, diff_vol) values ";
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const Stock& r = rows[i];
        const auto n = [](double v) { return QString::number(v, 'g', 15); };
        sql += QString("%1('%2', '%3', 'oil', %4, %5, 0, %6, %7, %8, %9, %10, 0, 0)")
                   .arg(i ? ", " : "", r.shift, r.tank, n(r.in), n(r.sale), n(r.account1),
                        n(r.account2), n(r.real1), n(r.real2))
                   .arg(n(r.count));
    }
    testdb::admin(sql, "pos_data");
}

// Tanks 1 to 3 with their products; tank 3's product is missing from the product table.
void tanks() {
    testdb::admin(QString::fromUtf8("insert into product (product_id, name, class, price) values "
                                    "('113F 12092005', '九二無鉛', '101', 30), ('113F 51101001', "
                                    "'超級柴油', '101', 27)"),
                  "pos_data");
    testdb::admin("insert into tank_data values ('1', '113F 12092005'), ('2', '113F 51101001'), "
                  "('3', '113F 99999999')",
                  "pos_data");
}

// Tank 01 over three days: three shifts on 2024/05/07, one on the 8th, two on the 9th.
void threeDays() {
    insertStock({
        {"1130507_1", "01", 0, 300, 5000, 4700, 4990, 4690, 4690},
        {"1130507_2", "01", 8000, 200, 4700, 12500, 4690, 12480, 12490},
        {"1130507_3", "01", 0, 500, 12500, 12000, 12480, 11985, 11980},
        {"1130508_1", "01", 0, 100, 12000, 11905, 11985, 11889.6, 11890},
        {"1130509_1", "01", 500, 100, 11905, 12305, 11889.6, 12290, 12289.6},
        {"1130509_2", "01", 0, 200, 12305, 12105, 12290, 12088.5, 12090},
    });
}

// The texts of each line of `page` below its column headings, left to right.
QList<QStringList> detailLines(const rpt::PageItems& page) {
    return reportfiles::linesOf(page, 10 + 18.5 + 7.4);
}

bool pageHas(const rpt::PageItems& page, const QString& text) {
    for (const rpt::TextItem& t : page.texts)
        if (t.text == text) return true;
    return false;
}

} // namespace

class TestBr070 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void daysOnEachBasis_data();
    void daysOnEachBasis();
    void workTableRoundsToCentsAsItIsWritten();
    void tanksAndPages_data();
    void tanksAndPages();
    void refusedTank();
    void statementsForADayAndForAYear();
    void demoStationOnEachBasis();
    void screenListsAndPreview();
    void commandLine_data();
    void commandLine();

private:
    rpt::RenderedReport build(const Br070Params& p);
    std::unique_ptr<DataModule> dm_;
    std::unique_ptr<Query> work_;
};

void TestBr070::initTestCase() {
    setUpChineseFonts();
}

void TestBr070::init() {
    testdb::recreate();
    tanks();
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
    dm_->settings.st_name = QString::fromUtf8("許厝港加油站");
    work_ = std::make_unique<Query>(dm_->cn);
}

void TestBr070::cleanup() {
    work_.reset();
    dm_.reset();
}

rpt::RenderedReport TestBr070::build(const Br070Params& p) {
    SilentProgress progress;
    const Br070Titles titles = buildBr070(*dm_, *work_, p, progress);
    return rpt::render(br070Layout(titles), dm_->qy, nullptr, QDate(2024, 5, 10));
}

void TestBr070::daysOnEachBasis_data() {
    QTest::addColumn<QString>("basis");
    QTest::addColumn<QList<QStringList>>("lines");
    const QString u92 = QString::fromUtf8("九二無鉛");
    // The 7th: three shifts. Book: from shift 1's account1 to shift 3's account2.
    // The 8th: one shift. The 9th: two shifts; -16.5 prints as -17.
    QTest::newRow("1:計算存量, the book stock")
        << QString::fromUtf8("1:計算存量")
        << QList<QStringList>{{"113/05/07", "01", u92, "5,000.00", "8,000.00", "1,000.00",
                               "12,000.00", "11,985.00", "-15"},
                              {"113/05/08", "01", u92, "12,000.00", "0.00", "100.00", "11,905.00",
                               "11,889.60", "-15"},
                              {"113/05/09", "01", u92, "11,905.00", "500.00", "300.00", "12,105.00",
                               "12,088.50", "-17"}};
    // Gauge: from shift 1's reading on; a one-shift day shows its count (-0.4 prints nothing),
    // a longer day the opening reading plus receipts less sales.
    QTest::newRow("2:液面計量, the gauge")
        << QString::fromUtf8("2:液面計量")
        << QList<QStringList>{
               {"113/05/07", "01", u92, "4,990.00", "8,000.00", "1,000.00", "11,990.00",
                "11,985.00", "-5"},
               {"113/05/08", "01", u92, "11,985.00", "0.00", "100.00", "11,890.00", "11,889.60"},
               {"113/05/09", "01", u92, "11,889.60", "500.00", "300.00", "12,089.60", "12,088.50",
                "-1"}};
}

void TestBr070::daysOnEachBasis() {
    QFETCH(QString, basis);
    QFETCH(QList<QStringList>, lines);
    threeDays();
    const rpt::RenderedReport r = build({"2024/05/07", "2024/05/09", "", basis});
    QVERIFY_NO_OVERLAP(r);
    QVERIFY2(cutTexts(r).isEmpty(), qPrintable(cutTexts(r)));
    QCOMPARE(r.pages.size(), 1);
    QCOMPARE(detailLines(r.pages[0]), lines);
    const bool gauge = basis.startsWith('2');
    QCOMPARE(pageHas(r.pages[0], QString::fromUtf8("前日存量=")), gauge);
    QCOMPARE(pageHas(r.pages[0], QString::fromUtf8("液面計量")), true); // a column heading too
    for (const char* text : {"許厝港加油站", "油槽進銷存報表", "資料日期自:", "2024/05/07",
                             "2024/05/09", "印表日期:", "2024/05/10"})
        QVERIFY2(pageHas(r.pages[0], QString::fromUtf8(text)), text);
    reportfiles::savePage(r, 0, gauge ? "br070_page1_gauge" : "br070_page1");

    // Built again, the work table is made anew, not added to.
    const rpt::RenderedReport again = build({"2024/05/07", "2024/05/09", "", basis});
    QCOMPARE(detailLines(again.pages[0]), lines);
}

// Figures of more than two places, as a float8 station may hold them: each shift's figure is
// added to the day's figure as the decimal(18,2) column keeps it, 0.005 three times making
// 0.01, 0.02 and 0.03.
void TestBr070::workTableRoundsToCentsAsItIsWritten() {
    TrialSchemaOptions options;
    options.charCodes = true;
    testdb::recreate(options);
    tanks();
    insertStock({{"1130507_1", "01", 0.005, 0.005, 100, 100.004, 100, 100.006, 100.0049},
                 {"1130507_2", "01", 0.005, 0.005, 100, 100.004, 100, 100.006, 100.0049},
                 {"1130507_3", "01", 0.005, 0.005, 100, 100.005, 100, 99.994, 100.0049}});
    for (const char* basis : {"1", "2"}) {
        SilentProgress progress;
        buildBr070(*dm_, *work_, {"2024/05/07", "2024/05/07", "", basis}, progress);
        QCOMPARE(dm_->qy.recordCount(), 1);
        QStringList figures;
        for (const char* c : {"tank", "bqty", "iqty", "oqty", "sqty", "rqty", "dqty"})
            figures << dm_->qy.field(c).asText();
        if (basis[0] == '1') // sqty: the last account2 rounded; dqty: 99.994 - 100.005
            QCOMPARE(figures,
                     QStringList({"01", "100", "0.03", "0.03", "100.01", "99.99", "-0.01"}));
        else // sqty: 100 + 0.03 - 0.03; dqty: 99.994 - 100
            QCOMPARE(figures, QStringList({"01", "100", "0.03", "0.03", "100", "99.99", "-0.01"}));
    }
}

void TestBr070::tanksAndPages_data() {
    QTest::addColumn<QString>("tank");
    QTest::addColumn<QList<QStringList>>("pages"); // the tanks of each page
    QTest::newRow("all tanks, each on its own page, tanks 03 and 05 unknown")
        << "" << QList<QStringList>{{"01"}, {"02"}};
    QTest::newRow("tank 02 only") << "02" << QList<QStringList>{{"02"}};
    QTest::newRow("tank 03: its product is missing") << "03" << QList<QStringList>{};
    QTest::newRow("tank 05: no tank_data") << " 05 " << QList<QStringList>{};
}

void TestBr070::tanksAndPages() {
    QFETCH(QString, tank);
    QFETCH(QList<QStringList>, pages);
    // A station's product names can be longer than tBR070's 20 bytes: cut at a whole character.
    testdb::admin("alter table product alter column name type varchar(40)", "pos_data");
    testdb::admin(QString::fromUtf8("update product set name = '超級柴油(外購)特級品種' where "
                                    "product_id = '113F 51101001'"),
                  "pos_data");
    QList<Stock> rows;
    for (const char* t : {"01", "02", "03", "05"})
        for (const char* shift : {"1130507_1", "1130507_2", "1130508_1"})
            rows << Stock{shift, t, 10, 20, 1000, 990, 1000, 991, 990};
    insertStock(rows);
    const rpt::RenderedReport r = build({"2024/05/01", "2024/05/31", tank, "1"});
    QVERIFY_NO_OVERLAP(r);
    QVERIFY2(cutTexts(r).isEmpty(), qPrintable(cutTexts(r)));
    QList<QStringList> seen;
    for (const rpt::PageItems& page : r.pages) {
        QStringList tanksOnPage;
        for (const QStringList& line : detailLines(page)) {
            QCOMPARE(line.size(), 9);
            if (!tanksOnPage.contains(line[1])) tanksOnPage << line[1];
            if (line[1] == "02") QCOMPARE(line[2], QString::fromUtf8("超級柴油(外購)特級品"));
            QCOMPARE(
                line.mid(3),
                QStringList({"1,000.00", line[0].endsWith("07") ? "20.00" : "10.00",
                             line[0].endsWith("07") ? "40.00" : "20.00", "990.00", "991.00", "1"}));
        }
        seen << tanksOnPage;
    }
    QCOMPARE(seen, pages);
    if (pages.isEmpty()) QVERIFY(dm_->qy.isEmpty());
}

void TestBr070::refusedTank() {
    SilentProgress progress;
    try {
        buildBr070(*dm_, *work_, {"2024/05/01", "2024/05/31", "9", "1"}, progress);
        QFAIL("tank 9 accepted");
    } catch (const InputRefused& e) {
        QCOMPARE(e.field(), QString("e03"));
        QVERIFY(e.message().contains("01"));
    }
}

void TestBr070::statementsForADayAndForAYear() {
    // Eight tanks, three shifts a day, for 2023/12/31 and the whole of 2024.
    testdb::admin("update tank_data set productno = '113F 12092005' where tankno = '3'",
                  "pos_data");
    testdb::admin("insert into tank_data select d::text, '113F 12092005' from generate_series(4, "
                  "8) d",
                  "pos_data");
    testdb::admin(
        "insert into shift_03_tank (shift, tank, in_stock, sale, checkstock, account1, account2, "
        "real_stock1, real2, count) select to_char(d, 'YYYY') :: int - 1911 || to_char(d, "
        "'MMDD') || '_' || s, '0' || t, 0, 100, 0, 5000, 4900, 5000, 4898, 4900 from "
        "generate_series(date '2023-12-31', date '2024-12-31', interval '1 day') d, "
        "generate_series(1, 3) s, generate_series(1, 8) t",
        "pos_data");
    QList<qint64> counts;
    for (const char* end : {"2023/12/31", "2024/12/31"}) {
        dm_->cn.connect();
        const qint64 before = dm_->cn.statementsSent();
        SilentProgress progress;
        buildBr070(*dm_, *work_, {"2023/12/31", end, "", "2"}, progress);
        counts << dm_->cn.statementsSent() - before;
        QCOMPARE(dm_->qy.recordCount(), end[3] == '3' ? 8 : 8 * 367);
        QCOMPARE(dm_->qy.field("oqty").asText(), QString("300"));
        QCOMPARE(dm_->qy.field("sqty").asText(), QString("4700")); // 5000 less three sales
    }
    QCOMPARE(counts[0], counts[1]);
    QVERIFY2(counts[0] <= 5, qPrintable(QString::number(counts[0])));
}

// Twenty days of a generated station with its eight tanks, on both bases, against the days
// worked out by one set-based statement: first and last shift of each tank and day, sums of
// receipts and sales, the gauge closing of a one-shift day its count.
void TestBr070::demoStationOnEachBasis() {
    testdb::recreate();
    {
        DemoOptions options;
        options.seed = 4;
        options.days = 20;
        options.salesPerDay = 60;
        options.lastDay = QDate(2024, 3, 20);
        CopyLoader loader(dm_->cn);
        SilentProgress progress;
        generateDemoStation(options, loader, progress);
        loader.finish();
    }
    const QString days = QString::fromUtf8(
        "select tdate, tk, (array_agg(account1 order by shift))[1], (array_agg(real_stock1 "
        "order by shift))[1], sum(in_stock), sum(sale), (array_agg(account2 order by shift "
        "desc))[1], case when count(*) = 1 then (array_agg(count order by shift))[1] else "
        "(array_agg(real_stock1 order by shift))[1] + sum(in_stock) - sum(sale) end, "
        "(array_agg(real2 order by shift desc))[1] from (select substr(m.shift,1,3) || '/' || "
        "substr(m.shift,4,2) || '/' || substr(m.shift,6,2) as tdate, trim(m.tank) as tk, m.* "
        "from shift_03_tank m join tank_data d on d.tankno = substr(m.tank,2,1) join product p "
        "on p.product_id = d.productno where substr(m.shift,1,7) between '1130305' and '1130318') "
        "t group by tdate, tk order by tk, tdate");
    Query reference(dm_->cn);
    reference.setSql(days);
    reference.open();
    QVERIFY(reference.recordCount() >= 8 * 14);
    const auto cents = [](double v) { return QString::number(v, 'f', 2); };
    for (const char* basis : {"1", "2"}) {
        SilentProgress progress;
        const Br070Titles titles =
            buildBr070(*dm_, *work_, {"2024/03/05", "2024/03/18", "", basis}, progress);
        QCOMPARE(dm_->qy.recordCount(), reference.recordCount());
        const bool gauge = basis[0] == '2';
        for (int row = 0; row < reference.recordCount(); ++row) {
            reference.moveTo(row);
            dm_->qy.moveTo(row);
            const double closing = reference.fieldAt(gauge ? 7 : 6).asFloat();
            const QStringList want{reference.fieldAt(0).asText(),
                                   reference.fieldAt(1).asText(),
                                   cents(reference.fieldAt(gauge ? 3 : 2).asFloat()),
                                   cents(reference.fieldAt(4).asFloat()),
                                   cents(reference.fieldAt(5).asFloat()),
                                   cents(closing),
                                   cents(reference.fieldAt(8).asFloat()),
                                   cents(reference.fieldAt(8).asFloat() - closing)};
            QStringList got{dm_->qy.field("tdate").asText(), dm_->qy.field("tank").asText()};
            for (const char* c : {"bqty", "iqty", "oqty", "sqty", "rqty", "dqty"})
                got << cents(dm_->qy.field(c).asFloat());
            QCOMPARE(got, want);
        }
        // Eight tanks, eight pages; the station's figures fit their columns.
        const rpt::RenderedReport r = rpt::render(br070Layout(titles), dm_->qy);
        QCOMPARE(r.pages.size(), 8);
        QVERIFY_NO_OVERLAP(r);
        QVERIFY2(cutTexts(r).isEmpty(), qPrintable(cutTexts(r)));
        if (gauge) reportfiles::savePage(r, 0, "br070_demo_page1_gauge");
    }
}

void TestBr070::screenListsAndPreview() {
    const QDate day = QDate::currentDate().addDays(-1);
    const QString shift =
        QString("%1%2_1").arg(day.year() - 1911, 3, 10, QChar('0')).arg(day.toString("MMdd"));
    insertStock({{qPrintable(shift), "01", 0, 100, 5000, 4900, 5000, 4898, 4900},
                 {qPrintable(shift), "02", 0, 100, 5000, 4900, 5000, 4898, 4900}});
    TFrmBR070 screen;
    screen.FormCreate();
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    QCOMPARE(screen.windowTitle(), QString::fromUtf8("BR070 油槽進銷存報表"));
    QStringList items;
    for (int i = 0; i < screen.e03->count(); ++i)
        items << screen.e03->itemText(i);
    QCOMPARE(items, QStringList({"", "01", "02", "03", "04", "05", "06", "07", "08"}));
    QCOMPARE(screen.e03->currentText(), QString());
    QCOMPARE(screen.e04->currentText(), QString::fromUtf8("1:計算存量"));
    QCOMPARE(screen.e04->count(), 2);
    QVERIFY(!screen.findChild<QPushButton*>("SBT"));
    gui::saveScreenshot(&screen, "br070_screen");

    screen.e04->setCurrentIndex(1);
    QString pageLabel;
    gui::answerNextDialog([&](QWidget* dialog) {
        auto* preview = qobject_cast<ReportPreview*>(dialog);
        if (!preview) return;
        pageLabel = preview->PageLabel->text();
        gui::saveScreenshot(preview, "br070_preview");
        preview->CloseButton->click();
    });
    screen.SpeedButtonPrn->click();
    QCOMPARE(pageLabel, QString::fromUtf8("第 1 / 2 頁")); // two tanks, a page each
}

void TestBr070::commandLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("says");
    QTest::addColumn<QStringList>("printed"); // in the PDF; empty: no PDF written
    const QStringList may{"--from", "2024/05/07", "--to", "2024/05/09"};
    QTest::newRow("gauge basis, tank 01")
        << may + QStringList{"--tank", "01", "--stock", "2"} << 0 << "BR070"
        << QStringList{QString::fromUtf8("前日存量="), "12,089.60"};
    QTest::newRow("book basis by default")
        << may << 0 << "BR070" << QStringList{"12,105.00", "-17"};
    QTest::newRow("no stock rows in the range")
        << QStringList{"--from", "2024/06/01", "--to", "2024/06/30"} << 0
        << QString::fromUtf8("沒有資料") << QStringList{};
    QTest::newRow("a tank the screen does not list")
        << may + QStringList{"--tank", "9"} << 2 << "01" << QStringList{};
    QTest::newRow("a basis that is none")
        << may + QStringList{"--stock", "3"} << 2 << "--stock" << QStringList{};
}

void TestBr070::commandLine() {
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, says);
    QFETCH(QStringList, printed);
    threeDays();
    QTemporaryDir folder;
    const QString pdf = folder.filePath("br070.pdf");
    reportfiles::Outcome run = reportfiles::runTolvar(
        folder.path(), QStringList{"report", "BR070"} + args + QStringList{"--pdf", pdf});
    const QString output = run.output;
    QCOMPARE(run.status, status);
    QVERIFY2(output.contains(says), qPrintable(output));
    QCOMPARE(QFile::exists(pdf), !printed.isEmpty());
    if (printed.isEmpty()) return;
    const QString content = reportfiles::pdfText(pdf);
    for (const QString& p : printed)
        QVERIFY2(content.contains(p), qPrintable(content));
}

QTEST_MAIN(TestBr070)
#include "tst_br070.moc"
