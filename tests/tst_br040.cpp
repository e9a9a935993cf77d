// BR040 monthly business statistics: the day rows of a hand-made range with the roundings of
// their columns, the printed lines and their masks, totals added in decimal, one snapshot
// while the point-of-sale system writes, the statement count, the demo station's month, the
// command line's PDF and the screen.
#include "app/data_module.h"
#include "app/gui_start.h"
#include "app/progress.h"
#include "db/copy_loader.h"
#include "db/input_refused.h"
#include "demo/station_generator.h"
#include "reports/business/br040_build.h"
#include "reports/business/br040_layout.h"
#include "reports/business/br040_screen.h"
#include "reports/common/page_painter.h"
#include "reports/common/report_preview.h"
#include "reports/common/report_renderer.h"
#include "support/gui_support.h"
#include "support/page_checks.h"
#include "support/report_files.h"
#include "support/sales_fixture.h"
#include "support/test_database.h"
#include "support/writing_meanwhile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

const char* const u92 = "113F 12092005";
const char* const diesel = "113F 51101001";
const char* const u95 = "113F 12095001";
const char* const u98 = "113F 12098008";
const char* const fleet = "700LT11786003";
const char* const jieli = "700CT22517003";

void sql(const QStringList& statements) {
    Connection cn;
    testdb::configure(cn);
    for (const QString& statement : statements)
        cn.exec(statement);
}

// shift_05: sub-product sales (goods, diff), cards, the two charge kinds, tickets, fuel
// sales, total, discounts.
QString takings(const QString& shift, int goods, int diff, int card, int charge2, int credit,
                int ticket, int fuel, int total, int discount) {
    return QString("insert into shift_05 (shift, goods_amt, diff_amt1, prod_disc, cdc1_amt, "
                   "cdc2_amt, credit_amt, ticket_amt, oil_amt_2, tot_amt_2, oil_disc) values "
                   "('%1', %2, %3, 0, %4, %5, %6, %7, %8, %9, %10)")
        .arg(shift)
        .arg(goods)
        .arg(diff)
        .arg(card)
        .arg(charge2)
        .arg(credit)
        .arg(ticket)
        .arg(fuel)
        .arg(total)
        .arg(discount);
}

QString tank(const QString& shift, const QString& code, const QString& in, const QString& sold) {
    return QString("insert into shift_03_tank (shift, tank, oilname, in_stock, sale) values "
                   "('%1', '%2', 'x', %3, %4)")
        .arg(shift, code, in, sold);
}

QString goods(const QString& shift, const QString& product, const QString& cls, int amt) {
    return QString("insert into shift_06 (shift, product_id, class, amt) values ('%1', '%2', "
                   "'%3', %4)")
        .arg(shift, product, cls)
        .arg(amt);
}

QString tests(const QString& shift, const QString& product, int test, int walk) {
    return QString("insert into shift_02_oil (shift, product_id, test_amt, walk_amt) values "
                   "('%1', '%2', %3, %4)")
        .arg(shift, product)
        .arg(test)
        .arg(walk);
}

// May 2024, days 1 to 4: a full day with two tanks of 92; a day of takings without tank
// rows; a day of tank rows without takings; a day of car wash and tests only, which gets no
// row; days around the range.
void handMadeRange() {
    sql({QString("insert into tank_data (tankno, productno) values ('1', '%1'), ('2', '%1'), "
                 "('3', '%2'), ('5', '%3'), ('7', '%4'), ('9', '114X 00000001')")
             .arg(u92, diesel, u95, u98),
         takings("1130501_1", 2000, 500, 5000, 700, 300, 1000, 30000, 32000, 100),
         takings("1130501_2", 1000, 0, 2000, 0, 0, 0, 20000, 21000, 50),
         takings("1130502_1", 0, 0, 0, 0, 0, 0, 10000, 10000, 0),
         takings("1130430_3", 9, 9, 9, 9, 9, 9, 9, 9, 9),
         takings("1130505_1", 9, 9, 9, 9, 9, 9, 9, 9, 9),
         tank("1130501_1", "01", "100.40", "300.10"),
         tank("1130501_2", "01", "0", "100.00"),
         tank("1130501_1", "02", "200.40", "150.05"),
         tank("1130501_1", "03", "0", "1000.25"),
         tank("1130501_1", "09", "0", "50.00"),
         tank("1130503_1", "05", "5000.00", "123.45"),
         tank("1130506_1", "01", "1", "1"),
         goods("1130501_1", "20000001", "102", 500),
         goods("1130501_2", "20000002", "102", 200),
         goods("1130501_1", fleet, "132", -700),
         goods("1130501_1", jieli, "132", -300),
         goods("1130501_1", "29000001", "104", 50),
         goods("1130504_1", "20000001", "102", 999),
         tests("1130501_1", u92, 30, 5),
         tests("1130501_1", diesel, 20, 0),
         tests("1130502_1", u92, 10, 0),
         tests("1130504_1", u92, 77, 0)});
}

// The rows of tBR040 in the layout's order, their columns joined by "|".
QStringList workRows(Query& qy) {
    QStringList rows;
    for (qy.first(); !qy.eof(); qy.next()) {
        QStringList row;
        for (int c = 1; c < qy.fieldCount(); ++c) // all but the key
            row << qy.fieldAt(c).asText();
        rows << row.join('|');
    }
    return rows;
}

// The texts printed on the line `top` millimetres below the text `anchor`'s band line, left
// to right; the anchor's own line when `offset` is 0.
QStringList lineTexts(const rpt::PageItems& page, double top) {
    QList<rpt::TextItem> items;
    for (const rpt::TextItem& t : page.texts)
        if (std::abs(t.rect.top() - top) < 0.01) items << t;
    std::sort(items.begin(), items.end(), [](const rpt::TextItem& a, const rpt::TextItem& b) {
        return a.rect.right() < b.rect.right();
    });
    QStringList texts;
    for (const rpt::TextItem& t : items)
        texts << t.text;
    return texts;
}

double topOf(const rpt::PageItems& page, const QString& text) {
    for (const rpt::TextItem& t : page.texts)
        if (t.text == text) return t.rect.top();
    return -1;
}

} // namespace

class TestBr040 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setUpChineseFonts(); }
    void init();
    void cleanup();
    void dayRows();
    void printedLines();
    void totalsAddInDecimal();
    void rangeWithoutAnythingPrintsNothing();
    void refusesADateThatIsNone_data();
    void refusesADateThatIsNone();
    void oneSnapshotWhileThePosWrites();
    void statementsDoNotGrowWithRows();
    void demoStationMonth();
    void commandLinePdf();
    void screen();

private:
    Br040Report build(const QString& start = "2024/05/01", const QString& end = "2024/05/04",
                      Progress* progress = nullptr);
    std::unique_ptr<DataModule> dm_;
    std::unique_ptr<Query> work_;
};

void TestBr040::init() {
    testdb::recreate();
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
    dm_->settings.st_name = QString::fromUtf8("許厝港加油站");
    work_ = std::make_unique<Query>(dm_->cn);
}

void TestBr040::cleanup() {
    work_.reset();
    dm_.reset();
}

Br040Report TestBr040::build(const QString& start, const QString& end, Progress* progress) {
    SilentProgress silent;
    return buildBr040(*dm_, *work_, {start, end}, progress ? *progress : silent);
}

void TestBr040::dayRows() {
    handMadeRange();
    const Br040Report report = build();
    // tdate | received 2 3 5 8 | sold 2 3 5 8 | sold total | fuel | goods | wash | revenue |
    // tickets | charges | cards | fleet | 捷利 | tests | discounts | cash. Day 1: the two 92
    // tanks add as their column keeps them, round(round(100.40) + 200.40) = 300, not 301;
    // the kerosene tank counts nowhere; goods 3,500 less 700 of car wash; the gift row is
    // none of the report's; cash 53,500 - 1,000 - 7,000 - 1,000 - 700 - 300 - 150. Day 2
    // has no tank rows, day 3 no takings; day 4's car wash and tests have no row to go to.
    QCOMPARE(
        workRows(dm_->qy),
        QStringList({"113/05/01|300|0|0|0|550.15|1000.25|0|0|1550.4|50000|2800|700|53500|1000|1000|"
                     "7000|700|300|55|150|43350",
                     "113/05/02|0|0|0|0|0|0|0|0|0|10000|0|0|10000|0|0|0|0|0|10|0|10000",
                     "113/05/03|0|0|5000|0|0|0|123.45|0|123.45|0|0|0|0|0|0|0|0|0|0|0|0"}));
    QCOMPARE(report.days.size(), 3);
    QCOMPARE(report.totals.cash, Decimal::whole(53350));
    QCOMPARE(report.totals.sold[0], Decimal::fromText("550.15"));
    // Pressing preview again gives the same rows.
    build();
    QCOMPARE(dm_->qy.recordCount(), 3);
}

void TestBr040::printedLines() {
    handMadeRange();
    const rpt::Layout layout = br040Layout(build());
    const rpt::RenderedReport r = rpt::render(layout, dm_->qy, nullptr, QDate(2024, 6, 1));
    QCOMPARE(r.pages.size(), 1);
    QVERIFY_NO_OVERLAP(r);
    const rpt::PageItems& page = r.pages[0];
    reportfiles::savePage(r, 0, "br040_page1");
    // Day 2: no litres received print nothing ("#"), none sold print ".00", the total
    // "0.00"; zero amounts print nothing.
    const double day2 = topOf(page, "113/05/02") - 4.2;
    QVERIFY(day2 > 0);
    QCOMPARE(lineTexts(page, day2 + 1.6),
             QStringList({".00", ".00", ".00", ".00", "0.00", "10000"}));
    QCOMPARE(lineTexts(page, day2 + 8.2), QStringList({"10000", "10", "10000"}));
    const double day1 = topOf(page, "113/05/01") - 4.2;
    QCOMPARE(lineTexts(page, day1 + 1.6),
             QStringList({"300", "550.15", "1000.25", ".00", ".00", "1550.40", "50000"}));
    QCOMPARE(lineTexts(page, day1 + 8.2),
             QStringList({"2800", "700", "53500", "1000", "1000", "7000", "700", "300", "55", "150",
                          "43350"}));
    // The totals in whole numbers, litres too.
    const double summary = topOf(page, QString::fromUtf8("合   計")) - 13.2;
    QVERIFY(summary > day2);
    QCOMPARE(lineTexts(page, summary + 16.9),
             QStringList({"300", "5000", "550", "1000", "123", "1674", "60000"}));
    QCOMPARE(lineTexts(page, summary + 23.5),
             QStringList({"2800", "700", "63500", "1000", "1000", "7000", "700", "300", "65", "150",
                          "53350"}));
    for (const char* title : {"許厝港加油站", "總營業月統計表", "2024/05/01", "2024/05/04",
                              "2024/06/01", "銀行存款", "  日  期 "})
        QVERIFY2(lineTexts(page, topOf(page, QString::fromUtf8(title)))
                     .contains(QString::fromUtf8(title)),
                 title);
}

void TestBr040::totalsAddInDecimal() {
    // 1.65 + 1.20 + 0.65 litres of 98 is 3.50 and prints 4; added as binary doubles it is
    // 3.4999999999999996 and would print 3.
    sql({"insert into tank_data (tankno, productno) values ('7', '113F 12098008')",
         tank("1130501_1", "07", "0", "1.65"), tank("1130502_1", "07", "0", "1.20"),
         tank("1130503_1", "07", "0", "0.65")});
    const rpt::Layout layout = br040Layout(build());
    const rpt::RenderedReport r = rpt::render(layout, dm_->qy);
    QVERIFY_NO_OVERLAP(r);
    const double summary = topOf(r.pages[0], QString::fromUtf8("合   計")) - 13.2;
    QCOMPARE(lineTexts(r.pages[0], summary + 16.9), QStringList({"4", "4"}));
}

void TestBr040::rangeWithoutAnythingPrintsNothing() {
    handMadeRange();
    const Br040Report report = build("2024/05/10", "2024/05/20");
    QVERIFY(report.days.isEmpty());
    QVERIFY(rpt::render(br040Layout(report), dm_->qy).pages.isEmpty());
    // An end before the start (the screens' default on the first of a month) finds nothing.
    QVERIFY(build("2024/05/04", "2024/05/01").days.isEmpty());
}

void TestBr040::refusesADateThatIsNone_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("field");
    QTest::newRow("start") << "2024/13/01"
                           << "2024/05/31"
                           << "e01";
    QTest::newRow("end") << "2024/05/01"
                         << ""
                         << "e02";
}

void TestBr040::refusesADateThatIsNone() {
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, field);
    try {
        build(start, end);
        QFAIL("no refusal");
    } catch (const InputRefused& e) {
        QCOMPARE(e.field(), field);
    }
}

void TestBr040::oneSnapshotWhileThePosWrites() {
    handMadeRange();
    // After the first statement the point-of-sale system closes day 4's first shift.
    WritingMeanwhile pos([] {
        sql({takings("1130504_1", 0, 0, 0, 0, 0, 0, 777, 777, 0),
             tank("1130504_1", "01", "0", "77.00"), tests("1130502_1", diesel, 1000, 0)});
    });
    const Br040Report report = build("2024/05/01", "2024/05/04", &pos);
    QCOMPARE(testdb::adminValue("select count(*) from shift_05 where shift = '1130504_1'"),
             QString("1"));
    QCOMPARE(report.days.size(), 3);
    QCOMPARE(report.days[1].tests, Decimal::whole(10));
    QVERIFY(!dm_->cn.inTransaction());
}

void TestBr040::statementsDoNotGrowWithRows() {
    QList<qint64> counts;
    for (int days : {2, 60}) {
        testdb::recreate();
        sql({QString("insert into tank_data (tankno, productno) values ('1', '%1'), ('3', '%2')")
                 .arg(u92, diesel),
             QString("insert into shift_05 (shift, oil_amt_2, tot_amt_2) select "
                     "lpad((extract(year from d)::int - 1911)::text, 3, '0') || to_char(d, "
                     "'MMDD') || '_' || s, 100, 100 from "
                     "generate_series(date '2024-03-01', date '2024-03-01' + %1 - 1, '1 day') d, "
                     "generate_series(1, 3) s")
                 .arg(days),
             "insert into shift_03_tank (shift, tank, in_stock, sale) select shift, t, 1, 2 from "
             "shift_05, (values ('01'), ('03')) v(t)",
             "insert into shift_06 (shift, product_id, class, amt) select shift, '20000001', "
             "'102', 10 from shift_05",
             "insert into shift_02_oil (shift, product_id, test_amt, walk_amt) select shift, "
             "'113F 12092005', 1, 1 from shift_05"});
        DataModule dm;
        testdb::configure(dm.cn);
        Query work(dm.cn);
        SilentProgress progress;
        dm.cn.connect();
        const qint64 before = dm.cn.statementsSent();
        const Br040Report report = buildBr040(dm, work, {"2024/03/01", "2024/04/30"}, progress);
        counts << dm.cn.statementsSent() - before;
        QCOMPARE(dm.qy.recordCount(), days);
        QCOMPARE(report.totals.carWash, Decimal::whole(30 * days));
    }
    QCOMPARE(counts[0], counts[1]);
    QVERIFY2(counts[0] <= 10, qPrintable(QString::number(counts[0])));
}

void TestBr040::demoStationMonth() {
    DemoOptions options;
    options.seed = 5;
    options.days = 31;
    options.salesPerDay = 60;
    options.lastDay = QDate(2024, 5, 31);
    fixture::loadDemoStation(options);
    const Br040Report report = build("2024/05/01", "2024/05/31");
    QCOMPARE(report.days.size(), 31);
    // The tanks' litres sold are the pumps' litres sold without their tests.
    QCOMPARE(report.totals.soldTotal,
             Decimal::fromDouble(
                 testdb::adminValue("select sum(out_qty - test_qty - walk_qty) from shift_01_gun")
                     .toDouble(),
                 4));
    const rpt::RenderedReport r = rpt::render(br040Layout(report), dm_->qy);
    QVERIFY_NO_OVERLAP(r);
    QCOMPARE(r.pages.size(), 2);
    reportfiles::savePage(r, 0, "br040_demo_page1");
}

void TestBr040::commandLinePdf() {
    handMadeRange();
    sql({"insert into set_system values ('st_name', 'Station')"});
    QTemporaryDir folder;
    const QString pdf = folder.filePath("br040.pdf");
    reportfiles::Outcome run =
        reportfiles::runTolvar(folder.path(), {"report", "BR040", "--from", "2024/05/01", "--to",
                                               "2024/05/04", "--pdf", pdf});
    QCOMPARE(run.status, 0);
    const QString content = reportfiles::pdfText(pdf);
    for (const char* shown : {"總營業月統計表", "Station", "113/05/01", "113/05/03", "43350",
                              "53350", "1550.40", "123.45", "銀行存款"})
        QVERIFY2(content.contains(QString::fromUtf8(shown)), shown);
    QVERIFY(!content.contains("113/05/04"));

    run = reportfiles::runTolvar(folder.path(),
                                 {"report", "BR040", "--date", "2024/05/01", "--pdf", pdf});
    QCOMPARE(run.status, 2);
    QVERIFY(run.err.contains("--date"));
}

void TestBr040::screen() {
    handMadeRange();
    TFrmBR040 screen;
    screen.FormCreate();
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    const QDate today = QDate::currentDate();
    QCOMPARE(screen.windowTitle(), QString::fromUtf8("BR040 總營業月統計表"));
    QCOMPARE(screen.e01->text(), today.toString("yyyy/MM/") + "01");
    QCOMPARE(screen.e02->text(), today.addDays(-1).toString("yyyy/MM/dd"));
    QVERIFY(screen.findChild<QToolButton*>("SpeedButton1"));
    QVERIFY(screen.findChild<QToolButton*>("SpeedButton3"));
    QVERIFY(!screen.SBT);
    gui::saveScreenshot(&screen, "br040_screen");
    screen.e01->setText("2024/05/01");
    screen.e02->setText("2024/05/04");
    QStringList shown;
    QString overlap;
    auto* poll = new QTimer(&screen);
    QObject::connect(poll, &QTimer::timeout, [&] {
        auto* preview = qobject_cast<ReportPreview*>(QApplication::activeModalWidget());
        if (!preview || !preview->isVisible()) return;
        poll->stop();
        for (const rpt::TextItem& t : preview->report().pages.value(0).texts)
            shown << t.text;
        overlap = overlappingTexts(preview->report());
        gui::saveScreenshot(preview, "br040_preview");
        preview->CloseButton->click();
    });
    poll->start(20);
    QTimer::singleShot(60000, &screen, [&] {
        if (auto* preview = qobject_cast<ReportPreview*>(QApplication::activeModalWidget()))
            preview->reject();
    });
    screen.SpeedButtonPrn->click();
    QVERIFY(shown.contains("43350"));
    QVERIFY(shown.contains("113/05/03"));
    QVERIFY2(overlap.isEmpty(), qPrintable(overlap));
    // No printer on this machine: printing says so and offers a PDF instead.
    QString said;
    gui::pressInNextMessageBox(QMessageBox::Cancel, &said);
    screen.SpeedButton2->click();
    QVERIFY2(said.contains(QString::fromUtf8("印表機")), qPrintable(said));
    screen.BitBtnExit->click();
    QVERIFY(!dm_->cn.connected());
}

QTEST_MAIN(TestBr040)
#include "tst_br040.moc"
