// BR020 charge-customer statistics: the company rows of tBR020 with each line's discount
// rounded on its own, the A4 landscape layout and its totals line, the export byte for byte,
// the statement count of a build, the screen with its title-bar buttons, the command line,
// and the report on the demo station from the main menu.
#include "app/data_module.h"
#include "app/gui_start.h"
#include "app/main_form.h"
#include "app/progress.h"
#include "charge/br010_build.h"
#include "charge/br020_build.h"
#include "charge/br020_layout.h"
#include "charge/br020_screen.h"
#include "reports/common/page_painter.h"
#include "reports/common/report_preview.h"
#include "reports/common/report_renderer.h"
#include "reports/common/sylk_writer.h"
#include "screens/common/process_form.h"
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

// A charge sale of 2024/05/07 (business day 1130507) at `time`, paid 903.
Sale charge(const QString& time, const QString& company, const QList<Line>& lines,
            const QString& payment = "903", const QString& mark = "100") {
    Sale s;
    s.time = "2024/05/07 " + time;
    s.shift = "1130507_1";
    s.car = "AB-1234";
    s.company = company;
    s.payment = payment;
    s.mark = mark;
    s.lines = lines;
    return s;
}

Line fuel(const QString& product, double qty, double amt) {
    return {product, "101", 0, qty, amt};
}

// The rows of tBR020, each as its columns joined by "|", numbers as the table holds them.
QStringList workRows(Connection& cn) {
    Query q(cn);
    q.setSql("select concat_ws('|', comp_no, comp_name, qty300, amt300, qty200, amt200, qty500, "
             "amt500, qty800, amt800, qtysub, amtsub, qtytot, amttot) from tBR020 order by "
             "comp_no");
    q.open();
    QStringList rows;
    for (q.first(); !q.eof(); q.next())
        rows << q.fieldAt(0).asText();
    return rows;
}

// The export of the fixture of exportSales(), as the spreadsheet file holds it.
QByteArray expectedExport() {
    return reportfiles::expectedSylk(
        {20, 40, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10},
        QString::fromUtf8("公司代號 公司名稱 超柴數量 超柴金額 九二數量 九二金額 九五數量 "
                          "九五金額 九八數量 九八金額 副品/折扣 數量小計 金額小計")
            .split(' '),
        {{"", "", "10", "250", "0", "0", "0", "0", "0", "0", "0", "10", "250"},
         {"C01", QString::fromUtf8("許厝港運輸"), "40.25", "952", "90", "2654", "0", "0", "0", "0",
          "120", "130.25", "3726"}},
        2);
}

// The fixture of the export: C01 with diesel, two 92 lines and a car wash; one sale without
// a company code.
QList<Sale> exportSales() {
    return {charge("08:00:00", "C01", {fuel(fixture::diesel, 40.25, 1000)}),
            charge("09:00:00", "C01", {fuel(fixture::u92, 45, 1350)}),
            charge("10:00:00", "C01", {fuel(fixture::u92, 45, 1350)}),
            charge("11:00:00", "C01", {{fixture::carWash, "102", 120, 1, 120}}),
            charge("12:00:00", QString(), {fuel(fixture::diesel, 10, 250)})};
}

} // namespace

class TestBr020 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void companyRows_data();
    void companyRows();
    void charCodeColumns();
    void layoutPrintsCompaniesAndTheTotalsLine();
    void widestFiguresPrintWhole();
    void exportIsByteForByte();
    void statementsDoNotGrowWithLines();
    void screenKeepsItsTitleBarButtons();
    void commandLine_data();
    void commandLine();
    void demoStationFromTheMainMenu();

private:
    void stationMasters();
    Br020Params may(const QString& basis = "1:交班日期") const;
    std::unique_ptr<DataModule> dm_;
    QTemporaryDir folder_;
    QString startFolder_;
};

void TestBr020::initTestCase() {
    setUpChineseFonts();
    startFolder_ = QDir::currentPath();
    QDir::setCurrent(folder_.path()); // the screen's export goes to the working folder
}

void TestBr020::stationMasters() {
    fixture::insertProducts();
    testdb::admin(QString::fromUtf8(
                      "insert into cust_unit (cust_id, unit_name, discount_d, discount_g) values "
                      "('C01', '許厝港運輸', 1.2, 0.5), ('C02', '功學社', 0.05, 0.8)"),
                  "pos_data");
}

void TestBr020::init() {
    testdb::recreate();
    stationMasters();
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
    dm_->settings.st_name = QString::fromUtf8("許厝港加油站");
}

void TestBr020::cleanup() {
    gui::stopAnswering();
    dm_.reset();
}

Br020Params TestBr020::may(const QString& basis) const {
    Br020Params p;
    p.start = "2024/05/01";
    p.end = "2024/05/07";
    p.basis = basis;
    return p;
}

void TestBr020::companyRows_data() {
    QTest::addColumn<QList<Sale>>("sales");
    QTest::addColumn<QString>("basis");
    QTest::addColumn<QStringList>("rows");
    // comp_no|comp_name|qty300|amt300|qty200|amt200|qty500|amt500|qty800|amt800|qtysub|
    // amtsub|qtytot|amttot
    QTest::newRow("1.2 off 40.25 L of diesel for 1,000: 952")
        << QList<Sale>{charge("08:00:00", "C01", {fuel(fixture::diesel, 40.25, 1000)})} << "1"
        << QStringList{QString::fromUtf8("C01|許厝港運輸|40.25|952|0.00|0|0.00|0|0.00|0|0.00|0|"
                                         "40.25|952")};
    QTest::newRow("0.5 on two lines of 45 L takes off 23 + 23")
        << QList<Sale>{charge("08:00:00", "C01", {fuel(fixture::u92, 45, 1350)}),
                       charge("09:00:00", "C01", {fuel(fixture::u92, 45, 1350)})}
        << "1"
        << QStringList{QString::fromUtf8("C01|許厝港運輸|0.00|0|90.00|2654|0.00|0|0.00|0|0.00|0|"
                                         "90.00|2654")};
    QTest::newRow("95 and 98 at the petrol rate, one sale of two lines")
        << QList<Sale>{charge("08:00:00", "C02",
                              {fuel(fixture::u95, 10, 310), fuel(fixture::u98, 20.5, 677)})}
        << "1"
        << QStringList{QString::fromUtf8("C02|功學社|0.00|0|0.00|0|10.00|302|20.50|661|0.00|0|"
                                         "30.50|963")};
    QTest::newRow("goods of 120 and a discount line at their full amounts")
        << QList<Sale>{charge("08:00:00", "C01",
                              {fuel(fixture::diesel, 40, 1000),
                               {fixture::discountLine, "131", -1, 40, -40}}),
                       charge("09:00:00", "C01", {{fixture::carWash, "102", 120, 1, 120}})}
        << "1"
        << QStringList{QString::fromUtf8("C01|許厝港運輸|40.00|952|0.00|0|0.00|0|0.00|0|0.00|80|"
                                         "40.00|1032")};
    QTest::newRow("a class 101 product outside the four fuels: full amount, no litres")
        << QList<Sale>{charge("08:00:00", "C01", {fuel(fixture::kerosene, 10, 200)})} << "1"
        << QStringList{QString::fromUtf8("C01|許厝港運輸|0.00|0|0.00|0|0.00|0|0.00|0|0.00|200|"
                                         "0.00|200")};
    QTest::newRow("no company code, null or blank: one row of the empty code")
        << QList<Sale>{charge("08:00:00", QString(), {fuel(fixture::diesel, 10, 250)}),
                       charge("09:00:00", "  ", {fuel(fixture::diesel, 10, 250)})}
        << "1" << QStringList{"||20.00|500|0.00|0|0.00|0|0.00|0|0.00|0|20.00|500"};
    QTest::newRow("a company not in cust_unit: no name, no discount")
        << QList<Sale>{charge("08:00:00", "C99", {fuel(fixture::diesel, 10, 250)})} << "1"
        << QStringList{"C99||10.00|250|0.00|0|0.00|0|0.00|0|0.00|0|10.00|250"};
    QTest::newRow("blanks around a code: the company's row and discount")
        << QList<Sale>{charge("08:00:00", " C01 ", {fuel(fixture::diesel, 10, 250)}),
                       charge("09:00:00", "C01", {fuel(fixture::diesel, 10, 250)})}
        << "1"
        << QStringList{QString::fromUtf8("C01|許厝港運輸|20.00|476|0.00|0|0.00|0|0.00|0|0.00|0|"
                                         "20.00|476")};
    QTest::newRow("904 beside 903; voided and cash sales left out; companies by code")
        << QList<Sale>{charge("08:00:00", "C02", {fuel(fixture::diesel, 100, 2500)}, "904"),
                       charge("09:00:00", "C01", {fuel(fixture::diesel, 10, 250)}),
                       charge("10:00:00", "C01", {fuel(fixture::diesel, 10, 250)}, "903", "200"),
                       charge("11:00:00", "C01", {fuel(fixture::diesel, 10, 250)}, "900"),
                       charge("12:00:00", "", {fuel(fixture::u92, 1, 30)}, "904")}
        << "1"
        << QStringList{
               "||0.00|0|1.00|30|0.00|0|0.00|0|0.00|0|1.00|30",
               QString::fromUtf8("C01|許厝港運輸|10.00|238|0.00|0|0.00|0|0.00|0|0.00|0|10.00|238"),
               QString::fromUtf8("C02|功學社|100.00|2495|0.00|0|0.00|0|0.00|0|0.00|0|100.00|2495")};
    Sale night = charge("00:30:00", "C01", {fuel(fixture::diesel, 10, 250)});
    night.time = "2024/05/08 00:30:00"; // the last shift of the 7th
    night.shift = "1130507_3";
    QTest::newRow("basis 1: after midnight in the end date's last shift")
        << QList<Sale>{night} << "1"
        << QStringList{
               QString::fromUtf8("C01|許厝港運輸|10.00|238|0.00|0|0.00|0|0.00|0|0.00|0|10.00|238")};
    QTest::newRow("basis 2: after midnight is the next day")
        << QList<Sale>{night} << "2" << QStringList{};
}

void TestBr020::companyRows() {
    QFETCH(QList<Sale>, sales);
    QFETCH(QString, basis);
    QFETCH(QStringList, rows);
    fixture::insertSales(sales);
    Query work(dm_->cn);
    SilentProgress progress;
    const Br020Titles titles = buildBr020(*dm_, work, dm_->qy, may(basis), progress);
    QCOMPARE(workRows(dm_->cn), rows);
    QCOMPARE(dm_->qy.recordCount(), rows.size()); // the layout's rows
    QCOMPARE(titles.station, QString::fromUtf8("許厝港加油站"));
    // Built again on the same connection: the work table is made anew, not added to.
    buildBr020(*dm_, work, dm_->qy, may(basis), progress);
    QCOMPARE(workRows(dm_->cn), rows);
}

// A station whose codes are blank-padded char(n) and whose amounts are float8.
void TestBr020::charCodeColumns() {
    TrialSchemaOptions options;
    options.charCodes = true;
    testdb::recreate(options);
    stationMasters();
    fixture::insertSales({charge("08:00:00", "C01", {fuel(fixture::diesel, 40.25, 1000)}),
                          charge("09:00:00", "C01", {fuel(fixture::u92, 45, 1350)}),
                          charge("10:00:00", "C01", {fuel(fixture::u92, 45, 1350)})});
    Query work(dm_->cn);
    SilentProgress progress;
    buildBr020(*dm_, work, dm_->qy, may(), progress);
    QCOMPARE(workRows(dm_->cn),
             QStringList{QString::fromUtf8("C01|許厝港運輸|40.25|952|90.00|2654|0.00|0|0.00|0|"
                                           "0.00|0|130.25|3606")});
}

void TestBr020::layoutPrintsCompaniesAndTheTotalsLine() {
    fixture::insertSales(exportSales() +
                         QList<Sale>{charge("13:00:00", "C02", {fuel(fixture::u98, 20, 660)})});
    Query work(dm_->cn);
    SilentProgress progress;
    const rpt::Layout layout = br020Layout(buildBr020(*dm_, work, dm_->qy, may("2"), progress));
    const rpt::RenderedReport r = rpt::render(layout, dm_->qy, nullptr, QDate(2024, 6, 1));
    QVERIFY_NO_OVERLAP(r);
    QCOMPARE(cutTexts(r), QString());
    QCOMPARE(r.paper, QSizeF(297, 210)); // A4 landscape
    QCOMPARE(r.pages.size(), 1);
    const rpt::PageItems& page = r.pages[0];
    reportfiles::savePage(r, 0, "br020_page1");
    QCOMPARE(lineOf(page, QString::fromUtf8("許厝港加油站")),
             QStringList({QString::fromUtf8("許厝港加油站"), QString::fromUtf8("單位:"),
                          QString::fromUtf8("新台幣元")}));
    QCOMPARE(
        lineOf(page, QString::fromUtf8("資料年月:")),
        QStringList({QString::fromUtf8("資料年月:"), "2024/05/01", QString::fromUtf8("至"),
                     "2024/05/07", QString::fromUtf8("交易日"), QString::fromUtf8("簽帳統計表"),
                     QString::fromUtf8("印表日期:"), "2024/06/01"}));
    // Companies in code order, the empty code first; 0 printed as 0 and 0.00.
    QCOMPARE(lineOf(page, QString::fromUtf8("許厝港運輸")),
             QStringList({"C01", QString::fromUtf8("許厝港運輸"), "40.25", "952", "90.00", "2,654",
                          "0.00", "0", "0.00", "0", "120", "130.25", "3,726"}));
    QCOMPARE(lineOf(page, QString::fromUtf8("功學社")),
             QStringList({"C02", QString::fromUtf8("功學社"), "0.00", "0", "0.00", "0", "0.00", "0",
                          "20.00", "644", "0", "20.00", "644"}));
    QCOMPARE(lineOf(page, QString::fromUtf8("合      計 ")),
             QStringList({QString::fromUtf8("合      計 "), "50.25", "1,202", "90.00", "2,654",
                          "0.00", "0", "20.00", "644", "120", "160.25", "4,620"}));
    double rowTop[3] = {0, 0, 0};
    for (const rpt::TextItem& t : page.texts) {
        if (t.text == "250") rowTop[0] = t.rect.top();
        if (t.text == "C01") rowTop[1] = t.rect.top();
        if (t.text == "C02") rowTop[2] = t.rect.top();
    }
    QVERIFY(rowTop[0] > 0 && rowTop[0] < rowTop[1] && rowTop[1] < rowTop[2]);
    // The ruled table: a rule at each column edge of every row, the last at 267.2 mm.
    int rules = 0;
    for (const QLineF& l : page.lines)
        rules += l.x1() == l.x2() && std::abs(l.x1() - (6 + 267.2)) < 0.01;
    QCOMPARE(rules, 1 + 3 + 1); // the heading, three rows, the totals line

    // Basis 1 leaves QRL4 empty; an empty range prints nothing.
    const rpt::Layout byShift = br020Layout(buildBr020(*dm_, work, dm_->qy, may(), progress));
    const rpt::RenderedReport shifts = rpt::render(byShift, dm_->qy);
    QVERIFY_NO_OVERLAP(shifts);
    QVERIFY(!lineOf(shifts.pages[0], "2024/05/01").contains(QString::fromUtf8("交易日")));
    Br020Params none = may();
    none.start = none.end = "2024/04/01";
    const rpt::Layout empty = br020Layout(buildBr020(*dm_, work, dm_->qy, none, progress));
    QCOMPARE(rpt::render(empty, dm_->qy).pages.size(), 0);
}

// A fleet company's busiest month: litres in the hundreds of thousands, amounts in the tens of
// millions, every digit printed in the table's narrow columns.
void TestBr020::widestFiguresPrintWhole() {
    QList<Sale> sales;
    const QString fuels[] = {fixture::diesel, fixture::u92, fixture::u95, fixture::u98};
    for (int i = 0; i < 4; ++i)
        sales << charge(QString("0%1:00:00").arg(i), "C99", {fuel(fuels[i], 999999.99, 99999999)});
    sales << charge("05:00:00", "C99", {{fixture::carWash, "102", 120, 1, 99999999}});
    fixture::insertSales(sales);
    Query work(dm_->cn);
    SilentProgress progress;
    const rpt::RenderedReport r =
        rpt::render(br020Layout(buildBr020(*dm_, work, dm_->qy, may(), progress)), dm_->qy);
    QVERIFY_NO_OVERLAP(r);
    QCOMPARE(cutTexts(r), QString());
    const QStringList row = lineOf(r.pages[0], "C99");
    QCOMPARE(row.mid(1), QStringList({"999,999.99", "99,999,999", "999,999.99", "99,999,999",
                                      "999,999.99", "99,999,999", "999,999.99", "99,999,999",
                                      "99,999,999", "3,999,999.96", "499,999,995"}));
    reportfiles::savePage(r, 0, "br020_widest_figures");
}

void TestBr020::exportIsByteForByte() {
    fixture::insertSales(exportSales());
    auto screen = std::make_unique<TFrmBR020>();
    screen->FormCreate();
    screen->e01->setText("2024/05/01");
    screen->e02->setText("2024/05/07");
    QFile::remove("BR020.XLS");
    screen->SBT->click();
    const QByteArray written = readFile("BR020.XLS");
    QCOMPARE(written, expectedExport());
    QVERIFY(screen->findChildren<TfmProcess*>().isEmpty());

    // The command line writes the same file.
    const reportfiles::Outcome run =
        reportfiles::runTolvar(folder_.path(), {"report", "BR020", "--from", "2024/05/01", "--to",
                                                "2024/05/07", "--sylk", "cli.xls"});
    QCOMPARE(run.status, 0);
    QCOMPARE(readFile("cli.xls"), written);

    // A range without sales writes nothing and leaves the earlier file as it was.
    screen->e01->setText("2024/04/01");
    screen->e02->setText("2024/04/30");
    screen->SBT->click();
    QCOMPARE(readFile("BR020.XLS"), written);
    screen->close();
}

void TestBr020::statementsDoNotGrowWithLines() {
    QList<qint64> counts;
    for (int lines : {10, 1000}) {
        testdb::admin("delete from tran_detl", "pos_data");
        testdb::admin("delete from tran", "pos_data");
        testdb::admin(QString("insert into tran (island, gun_no, tran_time, shift, ref_no2, "
                              "payment, an_mark) select '01', '01', timestamp '2024-05-07' + g * "
                              "interval '1 second', '1130507_1', 'C0' || (g % 3), '903', '100' "
                              "from generate_series(1, %1) g")
                          .arg(lines),
                      "pos_data");
        testdb::admin("insert into tran_detl (island, gun_no, tran_time, seq, shift, product_id, "
                      "class, price, qty, amt) select island, gun_no, tran_time, 1, shift, "
                      "'113F 51101001', '101', 25, 45, 1125 from tran",
                      "pos_data");
        DataModule dm;
        testdb::configure(dm.cn);
        dm.cn.connect();
        Query work(dm.cn);
        SilentProgress progress;
        const qint64 before = dm.cn.statementsSent();
        buildBr020(dm, work, dm.qy, may(), progress);
        counts << dm.cn.statementsSent() - before;
        QCOMPARE(dm.qy.recordCount(), 3);
        // C01: 1.2 × 45 = 54 off each line.
        QVERIFY(dm.qy.locate("comp_no", Value("C01")));
        QCOMPARE(dm.qy.field("amt300").asInteger(), qint64((lines + 2) / 3) * (1125 - 54));
    }
    QCOMPARE(counts[0], counts[1]);
    QVERIFY2(counts[0] <= 8, qPrintable(QString::number(counts[0])));
}

void TestBr020::screenKeepsItsTitleBarButtons() {
    fixture::insertSales(exportSales());
    auto screen = std::make_unique<TFrmBR020>();
    screen->FormCreate();
    screen->show();
    QVERIFY(QTest::qWaitForWindowExposed(screen.get()));
    QCOMPARE(screen->windowTitle(), QString::fromUtf8("BR020 簽帳客戶統計表"));
    QVERIFY(screen->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(screen->windowFlags() & Qt::WindowMinimizeButtonHint);
    QCOMPARE(screen->e03->currentText(), QString::fromUtf8("1:交班日期"));
    QCOMPARE(screen->e03->count(), 2);
    QCOMPARE(screen->e01->text(), QDate::currentDate().toString("yyyy/MM/") + "01");
    gui::saveScreenshot(screen.get(), "br020_screen");

    screen->e01->setText("2024/05/01");
    screen->e02->setText("2024/05/07");
    screen->e03->setCurrentIndex(1);
    QString pages;
    int sheetWidth = 0, previewWidth = 0;
    gui::answerNext<ReportPreview>([&](ReportPreview* preview) {
        pages = preview->PageLabel->text();
        // The page fills the window's width (landscape: wider than half of it).
        for (const QLabel* l : preview->findChildren<QLabel*>())
            sheetWidth = std::max(sheetWidth, l->pixmap().width());
        previewWidth = preview->width();
        gui::saveScreenshot(preview, "br020_preview");
        preview->CloseButton->click();
    });
    screen->SpeedButtonPrn->click();
    gui::stopAnswering();
    QCOMPARE(pages, QString::fromUtf8("第 1 / 1 頁"));
    QVERIFY2(sheetWidth > previewWidth * 3 / 4,
             qPrintable(QString("%1 of %2").arg(sheetWidth).arg(previewWidth)));
    QCOMPARE(dm_->qy.recordCount(), 2);

    // No printer on this machine: the screen says so and offers a PDF instead.
    QString seen;
    gui::pressInNextMessageBox(QMessageBox::Cancel, &seen);
    screen->SpeedButton2->click();
    gui::stopAnswering();
    QVERIFY2(seen.contains(QString::fromUtf8("印表機")), qPrintable(seen));

    QVERIFY(dm_->cn.connected());
    screen->close(); // the title bar's close button
    QVERIFY(!screen->isVisible());
    QVERIFY(!dm_->cn.connected());
    QVERIFY(!dm_->qy.active());
}

void TestBr020::commandLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("says");
    QTest::addColumn<QString>("file"); // written, or "-" for none
    const QStringList may{"--from", "2024/05/01", "--to", "2024/05/07"};
    QTest::newRow("PDF") << QStringList{"report", "BR020", "--pdf", "br020.pdf"} + may << 0
                         << "br020.pdf"
                         << "br020.pdf";
    QTest::newRow("by fuelling date")
        << QStringList{"report", "BR020", "--basis", "2", "--pdf", "br020.pdf"} + may << 0
        << "br020.pdf"
        << "br020.pdf";
    QTest::newRow("no sales: no file")
        << QStringList{"report", "BR020",      "--from", "2024/04/01",
                       "--to",   "2024/04/30", "--pdf",  "none.pdf"}
        << 0 << QString::fromUtf8("沒有資料") << "-";
    QTest::newRow("no sales: no export")
        << QStringList{"report", "BR020",      "--from", "2024/04/01",
                       "--to",   "2024/04/30", "--sylk", "none.xls"}
        << 0 << QString::fromUtf8("沒有資料") << "-";
    QTest::newRow("an option BR020 has not")
        << QStringList{"report", "BR020", "--car", "AB-1234", "--pdf", "x.pdf"} + may << 2
        << "--car"
        << "-";
    QTest::newRow("print without a printer") << QStringList{"report", "BR020", "--print"} + may << 1
                                             << QString::fromUtf8("印表機") << "-";
    QTest::newRow("its options") << QStringList{"report", "BR020", "--help"} << 0 << "--basis"
                                 << "-";
}

void TestBr020::commandLine() {
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, says);
    QFETCH(QString, file);
    fixture::insertSales(exportSales());
    QTemporaryDir folder;
    const reportfiles::Outcome run = reportfiles::runTolvar(folder.path(), args);
    QCOMPARE(run.status, status);
    QVERIFY2(run.output.contains(says), qPrintable(run.output));
    const QStringList written = QDir(folder.path()).entryList({"*.pdf", "*.xls"}, QDir::Files);
    QCOMPARE(written, file == "-" ? QStringList() : QStringList{file});
    if (file.endsWith(".pdf")) {
        const QString content = reportfiles::pdfText(folder.filePath(file));
        QVERIFY2(content.contains(QString::fromUtf8("簽帳統計表")), qPrintable(content));
        QVERIFY(content.contains("3,726")); // C01's total
        QCOMPARE(content.contains(QString::fromUtf8("交易日")), args.contains("--basis"));
    }
}

void TestBr020::demoStationFromTheMainMenu() {
    fixture::demoStation(5, 3, 300, QDate(2024, 1, 31));
    // What BR010 finds receivable on the same lines is BR020's total of all companies.
    qint64 receivable = 0;
    {
        Query work(dm_->cn);
        SilentProgress progress;
        Br010Params p;
        p.start = "2024/01/29";
        p.end = "2024/01/31";
        buildBr010(*dm_, work, p, progress);
        for (dm_->qy.first(); !dm_->qy.eof(); dm_->qy.next())
            receivable += dm_->qy.field("payamt").asInteger();
        dm_->cn.disconnect();
    }
    QVERIFY(receivable > 0);

    auto menu = std::make_unique<TMainForm>();
    menu->show();
    QVERIFY(QTest::qWaitForWindowExposed(menu.get()));
    QString total;
    int companies = 0;
    gui::answerNext<TFrmBR020>(
        [&](TFrmBR020* screen) {
            screen->e01->setText("2024/01/29");
            screen->e02->setText("2024/01/31");
            gui::answerNext<ReportPreview>([&](ReportPreview* p) {
                gui::saveScreenshot(p, "br020_demo_preview");
                p->CloseButton->click();
            });
            screen->SpeedButtonPrn->click();
            gui::stopAnswering();
            companies = DM->qy.recordCount();
            qint64 sum = 0;
            for (DM->qy.first(); !DM->qy.eof(); DM->qy.next())
                sum += DM->qy.field("amttot").asInteger();
            total = QString::number(sum);
            QFile::remove("BR020.XLS");
            screen->SBT->click();
            screen->close();
        },
        60000);
    QTest::mouseClick(menu->button("sb03"), Qt::LeftButton);
    gui::stopAnswering();
    QVERIFY(companies > 1);
    QCOMPARE(total, QString::number(receivable));
    const QByteArray exported = readFile("BR020.XLS");
    QVERIFY(exported.startsWith("ID;PYSLK;N;E\r\n"));
    QCOMPARE(exported.count("F;SDLRTBM0;FG0L;X1;"), companies); // one line per company

    // The pages of the demo's companies: every name and figure whole, none over another.
    Query work(dm_->cn);
    SilentProgress progress;
    Br020Params p;
    p.start = "2024/01/29";
    p.end = "2024/01/31";
    const rpt::RenderedReport r =
        rpt::render(br020Layout(buildBr020(*dm_, work, dm_->qy, p, progress)), dm_->qy);
    QVERIFY_NO_OVERLAP(r);
    QCOMPARE(cutTexts(r), QString());
    reportfiles::savePage(r, 0, "br020_demo_page1");
}

QTEST_MAIN(TestBr020)
#include "tst_br020.moc"
