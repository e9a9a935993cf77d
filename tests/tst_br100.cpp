// BR100 group U-card detail: the card sales of tBR100 with their fuel and discount lines, the
// two date bases, the layout's groups, page breaks and totals, the export byte for byte, the
// statement count of a build, the screen, the command line, and the report on the demo
// station from the main menu.
#include "app/data_module.h"
#include "app/gui_start.h"
#include "app/main_form.h"
#include "app/progress.h"
#include "charge/br100_build.h"
#include "charge/br100_layout.h"
#include "charge/br100_screen.h"
#include "reports/common/page_painter.h"
#include "reports/common/report_preview.h"
#include "reports/common/report_renderer.h"
#include "screens/common/lookup_picker.h"
#include "support/gui_support.h"
#include "support/page_checks.h"
#include "support/report_files.h"
#include "support/sales_fixture.h"
#include "support/test_database.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using fixture::Line;
using fixture::Sale;
using reportfiles::lineOf;
using reportfiles::readFile;

namespace {

// A sale of 2024/05/07 (business day 1130507, first shift) made with group U-card `card`.
Sale cardSale(const QString& time, const QString& card, const QString& car,
              const QList<Line>& lines, const QString& mark = "100") {
    Sale s;
    s.time = "2024/05/07 " + time;
    s.shift = "1130507_1";
    s.car = car;
    s.card = card;
    s.payment = "900";
    s.mark = mark;
    s.lines = lines;
    return s;
}

Line fuel(const QString& product, double price, double qty) {
    return {product, "101", price, qty, price * qty};
}

Line discount(double amount) {
    return {fixture::discountLine, "131", 0, 0, -amount};
}

const QString rowColumns = "car_no,ref_no4,class,tdate,name,qty,amt,damt,payamt";

// The rows of `q`, each as the columns of rowColumns joined by "|".
QStringList rowsOf(Query& q) {
    QStringList rows;
    for (q.first(); !q.eof(); q.next()) {
        QStringList row;
        for (const QString& c : rowColumns.split(','))
            row << q.field(c).asText();
        rows << row.join('|');
    }
    return rows;
}

bool pageHas(const rpt::PageItems& page, const QString& text) {
    for (const rpt::TextItem& t : page.texts)
        if (t.text == text) return true;
    return false;
}

// Two sales of U0001, one with its discount; one of a card not registered.
QList<Sale> exportSales() {
    return {cardSale("10:00:00", "U0001", "AB-1234", {fuel(fixture::u92, 30, 30), discount(30)}),
            cardSale("11:30:00", "U0001", "AB-1234", {fuel(fixture::diesel, 25.5, 40)}),
            cardSale("12:00:00", "U9999", "ZZ-0001", {fuel(fixture::diesel, 25.5, 40)})};
}

QByteArray expectedExport() {
    // tran_time 19, shift 9, island "island" (2 < 6), ref_no4 20, car_no 10, name 20, numbers 10
    return reportfiles::expectedSylk(
        {19, 9, 6, 20, 10, 20, 10, 10, 10, 10, 10},
        QString::fromUtf8("交易日期時間 班別 島 團體U卡卡號 車號 產品 單價 數量 交易金額 "
                          "折扣金額 應收金額")
            .split(' '),
        {{"2024/05/07 10:00:00", "1130507_1", "01", "U0001", "AB-1234",
          QString::fromUtf8("九二無鉛"), "30", "30", "900", "30", "870"},
         {"2024/05/07 11:30:00", "1130507_1", "01", "U0001", "AB-1234",
          QString::fromUtf8("超級柴油"), "25.5", "40", "1020", "0", "1020"}},
        6);
}

} // namespace

class TestBr100 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cardSales_data();
    void cardSales();
    void charCodeColumns();
    void pageBreakPerVehicleAndTotals();
    void noSortOneSubtotalAtTheEnd();
    void exportIsByteForByte();
    void statementsDoNotGrowWithSales();
    void screenDefaultsAndLookups();
    void commandLine_data();
    void commandLine();
    void demoStationFromTheMainMenu();

private:
    Br100Params may() const;
    rpt::RenderedReport rendered(const Br100Params& params);
    std::unique_ptr<DataModule> dm_;
    QTemporaryDir folder_;
};

void TestBr100::initTestCase() {
    setUpChineseFonts();
    QDir::setCurrent(folder_.path()); // the screen's export goes to the working folder
}

void TestBr100::init() {
    testdb::recreate();
    fixture::insertProducts();
    testdb::admin("insert into dcard_mbr (dcard_no, car_no) values ('U0001', 'AB-1234'), "
                  "('U0002', 'CD-5678'), ('U0003', 'AB-12')",
                  "pos_data");
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
    dm_->settings.st_name = QString::fromUtf8("許厝港加油站");
}

void TestBr100::cleanup() {
    gui::stopAnswering();
    dm_.reset();
}

Br100Params TestBr100::may() const {
    Br100Params p;
    p.start = "2024/05/01";
    p.end = "2024/05/07";
    return p;
}

rpt::RenderedReport TestBr100::rendered(const Br100Params& params) {
    Query work(dm_->cn);
    SilentProgress progress;
    const rpt::Layout layout = br100Layout(buildBr100(*dm_, work, dm_->qy, params, progress));
    return rpt::render(layout, dm_->qy, nullptr, QDate(2024, 6, 1));
}

void TestBr100::cardSales_data() {
    QTest::addColumn<QList<Sale>>("sales");
    QTest::addColumn<Br100Params>("params");
    QTest::addColumn<QStringList>("rows"); // car_no|ref_no4|class|tdate|name|qty|amt|damt|payamt
    const Br100Params p = may();
    QTest::newRow("a card sale with its discount line")
        << QList<Sale>{cardSale("10:00:00", "U0001", "AB-1234",
                                {fuel(fixture::u92, 30, 30), discount(30)})}
        << p << QStringList{QString::fromUtf8("AB-1234|U0001|1|2024/05/07|九二無鉛|30|900|30|870")};
    QTest::newRow("no discount line: damt 0, receivable the amount")
        << QList<Sale>{cardSale("10:00:00", "U0001", "AB-1234", {fuel(fixture::diesel, 25, 40.5)})}
        << p
        << QStringList{QString::fromUtf8("AB-1234|U0001|1|2024/05/07|超級柴油|40.5|1013|0|1013")};
    QTest::newRow("another fuel is listed by its name")
        << QList<Sale>{cardSale("10:00:00", "U0002", "CD-5678", {fuel(fixture::kerosene, 20, 10)})}
        << p << QStringList{QString::fromUtf8("CD-5678|U0002|1|2024/05/07|煤油|10|200|0|200")};
    Br100Params unknown = p;
    unknown.card = "U9999";
    QTest::newRow("a card not registered is not listed, even when named")
        << QList<Sale>{cardSale("10:00:00", "U9999", "AB-1234", {fuel(fixture::u92, 30, 30)})}
        << unknown << QStringList{};
    Br100Params card = p;
    card.card = " U0002 ";
    QTest::newRow("one card")
        << QList<Sale>{cardSale("10:00:00", "U0001", "AB-1234", {fuel(fixture::u92, 30, 30)}),
                       cardSale("11:00:00", "U0002", "CD-5678", {fuel(fixture::u92, 30, 20)})}
        << card
        << QStringList{QString::fromUtf8("CD-5678|U0002|1|2024/05/07|九二無鉛|20|600|0|600")};
    Br100Params car = p;
    car.car = "AB-12";
    QTest::newRow("a vehicle exactly, not its beginning")
        << QList<Sale>{cardSale("10:00:00", "U0001", "AB-1234", {fuel(fixture::u92, 30, 30)}),
                       cardSale("11:00:00", "U0003", "AB-12", {fuel(fixture::u92, 30, 20)})}
        << car << QStringList{QString::fromUtf8("AB-12|U0003|1|2024/05/07|九二無鉛|20|600|0|600")};
    QTest::newRow("voided and cancelled sales left out")
        << QList<Sale>{cardSale("10:00:00", "U0001", "AB-1234", {fuel(fixture::u92, 30, 30)},
                                "200"),
                       cardSale("11:00:00", "U0001", "AB-1234", {fuel(fixture::u92, 30, 30)},
                                "300")}
        << p << QStringList{};
    Sale night =
        cardSale("00:30:00", "U0001", "AB-1234", {fuel(fixture::u92, 30, 10), discount(5)});
    night.time = "2024/05/08 00:30:00"; // in the last shift of the 7th
    night.shift = "1130507_3";
    QTest::newRow("basis 1: after midnight in the end date's last shift")
        << QList<Sale>{night} << p
        << QStringList{QString::fromUtf8("AB-1234|U0001|3|2024/05/08|九二無鉛|10|300|5|295")};
    Br100Params byDate = p;
    byDate.basis = "2:加油日期";
    QTest::newRow("basis 2: after midnight is the next day")
        << QList<Sale>{night} << byDate << QStringList{};
    Sale early = night;
    early.time = "2024/04/30 23:50:00";
    early.shift = "1130501_1"; // a business day's first shift begun the evening before
    QTest::newRow("basis 2: a fuelling date before the range")
        << QList<Sale>{early} << byDate << QStringList{};
    QTest::newRow("basis 1: a business day in the range")
        << QList<Sale>{early} << p
        << QStringList{QString::fromUtf8("AB-1234|U0001|1|2024/04/30|九二無鉛|10|300|5|295")};
    Br100Params byCar = p;
    byCar.order = "2:車號";
    QTest::newRow("sort 2: by vehicle, then time")
        << QList<Sale>{cardSale("09:00:00", "U0002", "CD-5678", {fuel(fixture::u92, 30, 1)}),
                       cardSale("10:00:00", "U0001", "AB-1234", {fuel(fixture::u92, 30, 2)}),
                       cardSale("08:00:00", "U0001", "AB-1234", {fuel(fixture::u92, 30, 3)})}
        << byCar
        << QStringList{QString::fromUtf8("AB-1234|U0001|1|2024/05/07|九二無鉛|3|90|0|90"),
                       QString::fromUtf8("AB-1234|U0001|1|2024/05/07|九二無鉛|2|60|0|60"),
                       QString::fromUtf8("CD-5678|U0002|1|2024/05/07|九二無鉛|1|30|0|30")};
}

void TestBr100::cardSales() {
    QFETCH(QList<Sale>, sales);
    QFETCH(Br100Params, params);
    QFETCH(QStringList, rows);
    fixture::insertSales(sales);
    Query work(dm_->cn);
    SilentProgress progress;
    buildBr100(*dm_, work, dm_->qy, params, progress);
    QStringList seen = rowsOf(dm_->qy);
    QCOMPARE(seen, rows);
    // Built again on the same screen: the work table is made anew, not added to.
    buildBr100(*dm_, work, dm_->qy, params, progress);
    QCOMPARE(rowsOf(dm_->qy), rows);
}

// A station whose codes are blank-padded char(n) and whose amounts are float8.
void TestBr100::charCodeColumns() {
    TrialSchemaOptions options;
    options.charCodes = true;
    testdb::recreate(options);
    fixture::insertProducts();
    testdb::admin("insert into dcard_mbr (dcard_no, car_no) values ('U0001', 'AB-1234')",
                  "pos_data");
    fixture::insertSales(
        {cardSale("10:00:00", "U0001", "AB-1234", {fuel(fixture::u92, 30, 30), discount(30)}),
         cardSale("11:00:00", "U0009", "AB-1234", {fuel(fixture::u92, 30, 30)})});
    Query work(dm_->cn);
    SilentProgress progress;
    Br100Params p = may();
    p.card = "U0001";
    buildBr100(*dm_, work, dm_->qy, p, progress);
    QCOMPARE(rowsOf(dm_->qy),
             QStringList{QString::fromUtf8("AB-1234|U0001|1|2024/05/07|九二無鉛|30|900|30|870")});
}

void TestBr100::pageBreakPerVehicleAndTotals() {
    fixture::insertSales(
        {cardSale("08:00:00", "U0001", "AB-1234", {fuel(fixture::u92, 30, 30), discount(30)}),
         cardSale("09:00:00", "U0002", "CD-5678", {fuel(fixture::diesel, 25, 100), discount(50)}),
         cardSale("10:00:00", "U0001", "AB-1234", {fuel(fixture::diesel, 25, 20)}),
         cardSale("11:00:00", "U0002", "CD-5678", {fuel(fixture::kerosene, 20, 10)})});
    Br100Params p = may();
    p.order = "2:車號";
    p.pageBreak = "Y";
    const rpt::RenderedReport r = rendered(p);
    QVERIFY_NO_OVERLAP(r);
    QCOMPARE(cutTexts(r), QString());
    reportfiles::savePage(r, 0, "br100_page1");
    // Each vehicle on a page of its own, then the totals on theirs.
    QCOMPARE(r.pages.size(), 3);
    QVERIFY(pageHas(r.pages[0], "AB-1234") && !pageHas(r.pages[0], "CD-5678"));
    QVERIFY(pageHas(r.pages[1], "CD-5678") && !pageHas(r.pages[1], "AB-1234"));
    const QString total = QString::fromUtf8("總  合  計 :");
    QVERIFY(!pageHas(r.pages[0], total) && !pageHas(r.pages[1], total));
    QVERIFY(pageHas(r.pages[2], "3")); // the summary's page number
    QCOMPARE(lineOf(r.pages[0], QString::fromUtf8("團體 U 卡明細表")),
             QStringList({QString::fromUtf8("團體 U 卡明細表"), QString::fromUtf8("印表日期 :"),
                          "2024/06/01"}));
    QCOMPARE(lineOf(r.pages[0], "2024/05/07 08:00:00"),
             QStringList({"2024/05/07 08:00:00", "1", "01", "AB-1234", "U0001",
                          QString::fromUtf8("九二無鉛"), "30.00", "30.00", "900", "30", "870"}));
    // No discount line: the discount prints empty.
    QCOMPARE(lineOf(r.pages[0], "2024/05/07 10:00:00"),
             QStringList({"2024/05/07 10:00:00", "1", "01", "AB-1234", "U0001",
                          QString::fromUtf8("超級柴油"), "25.00", "20.00", "500", "500"}));
    QCOMPARE(lineOf(r.pages[0], QString::fromUtf8("小        計 :")),
             QStringList({QString::fromUtf8("小        計 :"), "50.00", "1,400", "30", "1,370"}));
    QCOMPARE(lineOf(r.pages[1], QString::fromUtf8("小        計 :")),
             QStringList({QString::fromUtf8("小        計 :"), "110.00", "2,700", "50", "2,650"}));
    // Kerosene counts in the grand total only.
    QCOMPARE(lineOf(r.pages[2], total),
             QStringList({total, "4", "160.00", "4,100", "80", "4,020"}));
    QCOMPARE(lineOf(r.pages[2], QString::fromUtf8("超級柴油 :")),
             QStringList({QString::fromUtf8("超級柴油 :"), "2", "120.00", "3,000", "50", "2,950"}));
    QCOMPARE(lineOf(r.pages[2], QString::fromUtf8("九二無鉛 :")),
             QStringList({QString::fromUtf8("九二無鉛 :"), "1", "30.00", "900", "30", "870"}));
    QCOMPARE(lineOf(r.pages[2], QString::fromUtf8("九五無鉛 :")),
             QStringList({QString::fromUtf8("九五無鉛 :"), "0", "0.00", "0", "0", "0"}));
}

void TestBr100::noSortOneSubtotalAtTheEnd() {
    fixture::insertSales(
        {cardSale("08:00:00", "U0001", "AB-1234", {fuel(fixture::u92, 30, 30)}),
         cardSale("09:00:00", "U0002", "CD-5678", {fuel(fixture::diesel, 25, 100)}),
         cardSale("10:00:00", "U0001", "AB-1234", {fuel(fixture::diesel, 25, 20)})});
    Br100Params p = may();
    p.order = QString();
    p.pageBreak = "Y"; // one group: no page of its own for it
    const rpt::RenderedReport r = rendered(p);
    QVERIFY_NO_OVERLAP(r);
    QCOMPARE(r.pages.size(), 2); // the lines, then the totals
    int subtotals = 0;
    double subtotalTop = 0, lastLine = 0;
    for (const rpt::TextItem& t : r.pages[0].texts) {
        if (t.text == QString::fromUtf8("小        計 :")) {
            ++subtotals;
            subtotalTop = t.rect.top();
        }
        if (t.text.startsWith("2024/05/07 ")) lastLine = std::max(lastLine, t.rect.top());
    }
    QCOMPARE(subtotals, 1);
    QVERIFY(subtotalTop > lastLine);
    QCOMPARE(lineOf(r.pages[0], QString::fromUtf8("小        計 :")),
             QStringList({QString::fromUtf8("小        計 :"), "150.00", "3,900", "0", "3,900"}));

    // By day without page breaks: one page; an empty range prints none.
    p.order = "1:日期";
    p.pageBreak = "N";
    QCOMPARE(rendered(p).pages.size(), 1);
    p.start = p.end = "2024/04/02";
    QCOMPARE(rendered(p).pages.size(), 0);
}

void TestBr100::exportIsByteForByte() {
    fixture::insertSales(exportSales());
    auto screen = std::make_unique<TFrmBR100>();
    screen->FormCreate();
    screen->e01->setText("2024/05/01");
    screen->e02->setText("2024/05/07");
    QFile::remove("BR100.XLS");
    screen->SBT->click();
    const QByteArray written = readFile("BR100.XLS");
    QCOMPARE(written, expectedExport());

    const reportfiles::Outcome run =
        reportfiles::runTolvar(folder_.path(), {"report", "BR100", "--from", "2024/05/01", "--to",
                                                "2024/05/07", "--sylk", "cli.xls"});
    QCOMPARE(run.status, 0);
    QCOMPARE(readFile("cli.xls"), written);

    // Only the unregistered card: nothing to write, the earlier file stays.
    screen->e04->setText("U9999");
    screen->SBT->click();
    QCOMPARE(readFile("BR100.XLS"), written);
}

void TestBr100::statementsDoNotGrowWithSales() {
    QList<qint64> counts;
    for (int sales : {10, 1000}) {
        testdb::admin("delete from tran_detl", "pos_data");
        testdb::admin("delete from tran", "pos_data");
        testdb::admin(
            QString("insert into tran (island, gun_no, tran_time, shift, car_no, ref_no4, "
                    "payment, an_mark) select '01', '01', timestamp '2024-05-07' + g * "
                    "interval '1 second', '1130507_1', 'AB-1234', 'U000' || (1 + g % 3), "
                    "'900', '100' from generate_series(1, %1) g")
                .arg(sales),
            "pos_data");
        testdb::admin("insert into tran_detl (island, gun_no, tran_time, seq, shift, product_id, "
                      "class, price, qty, amt) select island, gun_no, tran_time, 1, shift, "
                      "'113F 12092005', '101', 30, 20, 600 from tran union all select island, "
                      "gun_no, tran_time, 2, shift, '131D000000001', '131', 0, 0, -20 from tran",
                      "pos_data");
        DataModule dm;
        testdb::configure(dm.cn);
        dm.cn.connect();
        Query work(dm.cn);
        SilentProgress progress;
        const qint64 before = dm.cn.statementsSent();
        buildBr100(dm, work, dm.qy, may(), progress);
        counts << dm.cn.statementsSent() - before;
        QCOMPARE(dm.qy.recordCount(), sales);
        dm.qy.last();
        QCOMPARE(dm.qy.field("payamt").asInteger(), 580);
    }
    QCOMPARE(counts[0], counts[1]);
    QVERIFY2(counts[0] <= 9, qPrintable(QString::number(counts[0])));
}

void TestBr100::screenDefaultsAndLookups() {
    auto screen = std::make_unique<TFrmBR100>();
    screen->FormCreate();
    screen->show();
    QVERIFY(QTest::qWaitForWindowExposed(screen.get()));
    QCOMPARE(screen->windowTitle(), QString::fromUtf8("BR100 團體 U 卡明細表"));
    QVERIFY(!(screen->windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(screen->e05->currentText(), QString::fromUtf8("1:日期"));
    QCOMPARE(screen->e05->count(), 4);
    QCOMPARE(screen->e06->currentText(), QString("N"));
    QCOMPARE(screen->e07->currentText(), QString::fromUtf8("1:交班日期"));
    QVERIFY(screen->e03->text().isEmpty() && screen->e04->text().isEmpty());
    gui::saveScreenshot(screen.get(), "br100_screen");

    struct Pick {
        const char* button;
        QLineEdit* field;
        const char* typed;
        const char* caption;
        const char* picked;
    };
    for (const Pick& pick :
         {Pick{"SB4", screen->e03, "CD", "客戶車號資料選取", "CD-5678"},
          Pick{"SpeedButton1", screen->e04, "U0003", "團體 U 卡資料選取", "U0003"}}) {
        pick.field->setText(pick.typed);
        QString caption;
        gui::answerNextDialog([&](QWidget* dialog) {
            caption = dialog->windowTitle();
            qobject_cast<TFrmgetdata*>(dialog)->BitBtnCanser->click();
        });
        screen->findChild<QToolButton*>(pick.button)->click();
        gui::stopAnswering();
        QCOMPARE(caption, QString::fromUtf8(pick.caption));
        QCOMPARE(pick.field->text(), QString(pick.picked));
    }
    screen->BitBtnExit->click();
    QVERIFY(!dm_->cn.connected());
}

void TestBr100::commandLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("inPdf"); // texts the PDF shows
    QTest::addColumn<QStringList>("notInPdf");
    const QStringList base{"report", "BR100",      "--from", "2024/05/01",
                           "--to",   "2024/05/07", "--pdf",  "br100.pdf"};
    QTest::newRow("all cards") << base << 0 << QStringList{"AB-1234", "CD-5678", "3,820"}
                               << QStringList{QString::fromUtf8("交易日")};
    QTest::newRow("one vehicle") << base + QStringList{"--car", "CD-5678"} << 0
                                 << QStringList{"CD-5678"} << QStringList{"AB-1234"};
    QTest::newRow("one card") << base + QStringList{"--card", "U0001"} << 0
                              << QStringList{"AB-1234", "1,370"} << QStringList{"CD-5678"};
    QTest::newRow("by card, a page each, by fuelling date")
        << base + QStringList{"--order", "3", "--page-break", "--basis", "2"} << 0
        << QStringList{QString::fromUtf8("交易日"), "U0002"} << QStringList{};
    QTest::newRow("no sort") << base + QStringList{"--order", "none"} << 0 << QStringList{"AB-1234"}
                             << QStringList{};
    QTest::newRow("no company option")
        << base + QStringList{"--company", "C01"} << 2 << QStringList{} << QStringList{};
    QTest::newRow("a fourth sort")
        << base + QStringList{"--order", "4"} << 2 << QStringList{} << QStringList{};
}

void TestBr100::commandLine() {
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QStringList, inPdf);
    QFETCH(QStringList, notInPdf);
    fixture::insertSales(
        {cardSale("08:00:00", "U0001", "AB-1234", {fuel(fixture::u92, 30, 30), discount(30)}),
         cardSale("08:05:00", "U0001", "AB-1234", {fuel(fixture::diesel, 25, 20)}),
         cardSale("09:00:00", "U0002", "CD-5678", {fuel(fixture::diesel, 25, 100), discount(50)})});
    QTemporaryDir folder;
    const reportfiles::Outcome run = reportfiles::runTolvar(folder.path(), args);
    QCOMPARE(run.status, status);
    if (status != 0) {
        QVERIFY2(run.output.contains(args.at(args.size() - 2)), qPrintable(run.output));
        QVERIFY(!QFile::exists(folder.filePath("br100.pdf")));
        return;
    }
    const QString content = reportfiles::pdfText(folder.filePath("br100.pdf"));
    QVERIFY2(content.contains(QString::fromUtf8("團體 U 卡明細表")), qPrintable(content));
    for (const QString& t : inPdf)
        QVERIFY2(content.contains(t), qPrintable(t + " in\n" + content));
    for (const QString& t : notInPdf)
        QVERIFY2(!content.contains(t), qPrintable(t + " in\n" + content));
}

void TestBr100::demoStationFromTheMainMenu() {
    fixture::demoStation(7, 3, 300, QDate(2024, 1, 31));
    auto menu = std::make_unique<TMainForm>();
    menu->show();
    QVERIFY(QTest::qWaitForWindowExposed(menu.get()));
    int rows = 0, pages = 0, withoutFuel = 0;
    gui::answerNext<TFrmBR100>(
        [&](TFrmBR100* screen) {
            screen->e01->setText("2024/01/29");
            screen->e02->setText("2024/01/31");
            gui::answerNext<ReportPreview>([&](ReportPreview* p) {
                pages = p->PageLabel->text()
                            .section('/', 1)
                            .remove(QString::fromUtf8("頁"))
                            .trimmed()
                            .toInt();
                gui::saveScreenshot(p, "br100_demo_preview");
                p->CloseButton->click();
            });
            screen->SpeedButtonPrn->click();
            gui::stopAnswering();
            rows = DM->qy.recordCount();
            for (DM->qy.first(); !DM->qy.eof(); DM->qy.next())
                withoutFuel += DM->qy.field("name").asText().isEmpty();
            QFile::remove("BR100.XLS");
            screen->SBT->click();
            screen->BitBtnExit->click();
        },
        60000);
    QTest::mouseClick(menu->button("SpeedButton2"), Qt::LeftButton);
    gui::stopAnswering();
    QVERIFY(rows > 5);
    QVERIFY(pages >= 1);
    QCOMPARE(withoutFuel, 0); // every card sale of the demo is a fuel sale
    // Only registered cards: the demo's unknown cards are left out.
    QCOMPARE(QString::number(rows),
             testdb::adminValue("select count(*) from tran m join dcard_mbr d on m.ref_no4 = "
                                "d.dcard_no where m.an_mark < '200' and substr(m.shift,1,7) "
                                "between '1130129' and '1130131'"));
    const QByteArray exported = readFile("BR100.XLS");
    QCOMPARE(exported.count("F;SDLRTBM0;FG0L;X1;"), rows);

    // The pages of the demo's card sales by card: every text whole, none over another.
    Br100Params p;
    p.start = "2024/01/29";
    p.end = "2024/01/31";
    p.order = "3:團體 U 卡";
    const rpt::RenderedReport r = rendered(p);
    QVERIFY_NO_OVERLAP(r);
    QCOMPARE(cutTexts(r), QString());
    reportfiles::savePage(r, 0, "br100_demo_page1");
}

QTEST_MAIN(TestBr100)
#include "tst_br100.moc"
