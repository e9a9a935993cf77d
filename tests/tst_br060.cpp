// BR060 sub-product stock: the figures of tBR060 from the start day's opening stock, the
// range's movements and the end day's closing stock, in decimal arithmetic on either kind of
// station table; the same figures as the row-by-row build on a demo station; the statement
// count; the printed page with its totals; the command line.
#include "app/data_module.h"
#include "app/gui_start.h"
#include "app/progress.h"
#include "db/copy_loader.h"
#include "db/input_refused.h"
#include "demo/station_generator.h"
#include "reports/business/br060_build.h"
#include "reports/business/br060_layout.h"
#include "reports/business/br060_screen.h"
#include "reports/common/page_painter.h"
#include "reports/common/report_preview.h"
#include "reports/common/report_renderer.h"
#include "support/gui_support.h"
#include "support/page_checks.h"
#include "support/report_files.h"
#include "support/test_database.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

// One shift's goods row: shift, product, bef_stock, in_qty, in_price, sale_qty, sale_price,
// sale_amt, abert_qty, check_qty, stock.
using StockLine = const char*;

// Three business days of May 2024 at a small shop; each product shows one rule of the report.
const StockLine fixture[] = {
    // A001 an ordinary product: opened on the 1st, restocked, sold, broken, miscounted
    "'1130501_1','A001',10,24,12.35,5,20,100,1,0,28",
    "'1130502_1','A001',28,0,12.35,8,20,160,0,-1,19",
    "'1130503_1','A001',19,0,12.35,4,20,80,0,0,15",
    // B002 first stocked on the 2nd and gone from the list by the 3rd: average price 1.15
    "'1130502_1','B002',0,20,1.15,4,3,12,0,0,16",
    "'1130502_2','B002',16,0,1.15,6,3,18,0,0,10",
    // C003 first counted in the second shift of the 1st; bought dearer later
    "'1130501_2','C003',5,0,240,1,350,350,0,0,4",
    "'1130501_3','C003',4,6,245,0,350,0,0,0,10",
    "'1130503_1','C003',10,0,245,2,350,700,0,0,8",
    // D004 whose stock on the 3rd is not what its movements add up to
    "'1130501_1','D004',3,0,220,1,350,350,0,0,2",
    "'1130503_1','D004',2,0,220,0,350,0,0,0,7",
    "'1130503_2','D004',7,0,220,1,350,350,0,0,6",
    // E005 not in the product list, sold below nothing in stock
    "'1130502_1','E005',0,3,10,5,15,75,0,0,-2",
    // F006 listed, nothing moves
    "'1130501_1','F006',0,0,50,0,60,0,0,0,0",
    "'1130503_1','F006',0,0,50,0,60,0,0,0,0",
    // outside the range
    "'1130430_3','A001',99,99,99,99,99,99,99,99,99",
    "'1130504_1','A001',15,50,12.35,50,20,1000,0,0,15",
};

void insertStock(const QList<QString>& rows) {
    QString sql = "insert into shift_04_stock (shift, product_id, bef_stock, in_qty, in_price, "
                  "sale_qty, sale_price, sale_amt, abert_qty, check_qty, stock) values ";
    for (qsizetype i = 0; i < rows.size(); ++i)
        sql += (i ? ",(" : "(") + rows[i] + ")";
    testdb::admin(sql, "pos_data");
}

void insertFixture() {
    testdb::admin(QString::fromUtf8("insert into product (product_id, name, class, price) values "
                                    "('A001', '礦泉水600ml', '102', 20), ('B002', '功夫餅乾', "
                                    "'102', 3), ('C003', '合成機油4L', '102', 350), ('D004', "
                                    "'雨刷', '102', 350), ('F006', '許氏人蔘茶', '102', 60)"),
                  "pos_data");
    QList<QString> rows;
    for (StockLine line : fixture)
        rows << QString::fromLatin1(line);
    insertStock(rows);
}

QStringList allTexts(const rpt::PageItems& page) {
    QStringList list;
    for (const rpt::TextItem& t : page.texts)
        list << t.text;
    return list;
}

// The texts printed on the line of `first` (same top), left to right.
QStringList lineOf(const rpt::PageItems& page, const QString& first) {
    double top = -1;
    for (const rpt::TextItem& t : page.texts)
        if (t.text == first) top = t.rect.top();
    QList<const rpt::TextItem*> items;
    for (const rpt::TextItem& t : page.texts)
        if (std::abs(t.rect.top() - top) < 0.01) items << &t;
    std::sort(items.begin(), items.end(),
              [](auto* a, auto* b) { return a->rect.x() < b->rect.x(); });
    QStringList texts;
    for (const rpt::TextItem* t : items)
        texts << t->text;
    return texts;
}

} // namespace

class TestBr060 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setUpChineseFonts(); }
    void cleanup() { dm_.reset(); }
    void workTableFigures_data();
    void workTableFigures();
    void sameFiguresAsRowByRowOnADemoStation();
    void statementsDoNotGrowWithProductsAndShifts();
    void printedPage_data();
    void printedPage();
    void badDatesAreRefused();
    void screenPreview();
    void commandLinePdf();

private:
    void openStation(const TrialSchemaOptions& schema = {});
    QList<QStringList> workRows();
    std::unique_ptr<DataModule> dm_;
};

void TestBr060::openStation(const TrialSchemaOptions& schema) {
    testdb::recreate(schema);
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
    dm_->settings.st_name = QString::fromUtf8("許厝港加油站");
}

QList<QStringList> TestBr060::workRows() {
    Query q(dm_->cn);
    q.setSql("select product_id, product_name, bqty::text, iqty::text, iamt::text, "
             "iprice::text, oqty::text, oamt::text, eamt::text, dqty::text, sqty::text, "
             "samt::text from tBR060 order by product_id");
    q.open();
    QList<QStringList> rows;
    for (q.first(); !q.eof(); q.next()) {
        QStringList row;
        for (int i = 0; i < q.fieldCount(); ++i)
            row << q.fieldAt(i).asText();
        rows << row;
    }
    return rows;
}

void TestBr060::workTableFigures_data() {
    QTest::addColumn<bool>("charCodes");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QList<QStringList>>("rows");
    // product_id, product_name, bqty, iqty, iamt, iprice, oqty, oamt, eamt, dqty, sqty, samt
    const QList<QStringList> may1to3 = {
        {"A001", QString::fromUtf8("礦泉水600ml"), "10", "24", "296", "12.3500", "18", "360", "138",
         "-1", "15", "185"},
        // first met on the 2nd: opening 0, closing valued at the average price 23 ÷ 20 × 10
        {"B002", QString::fromUtf8("功夫餅乾"), "0", "20", "23", "0.0000", "10", "30", "19", "0",
         "10", "12"},
        // opened from the first shift of the 1st that holds it, closed at the later price
        {"C003", QString::fromUtf8("合成機油4L"), "5", "6", "1470", "245.0000", "3", "1050", "320",
         "0", "8", "1960"},
        // the end day's last shift says 6 where the movements say 1
        {"D004", QString::fromUtf8("雨刷"), "3", "0", "0", "220.0000", "2", "700", "260", "0", "6",
         "1320"},
        {"E005", "E005", "0", "3", "30", "0.0000", "5", "75", "25", "0", "-2", "-20"},
        {"F006", QString::fromUtf8("許氏人蔘茶"), "0", "0", "0", "50.0000", "0", "0", "0", "0", "0",
         "0"},
    };
    QTest::newRow("varchar codes, numeric figures") << false << "2024/05/01"
                                                    << "2024/05/03" << may1to3;
    QTest::newRow("char(n) codes, float8 figures") << true << "2024/05/01"
                                                   << "2024/05/03" << may1to3;
    // One day: the movements of the 3rd alone, opened and closed on it.
    QTest::newRow("one day") << false << "2024/05/03"
                             << "2024/05/03"
                             << QList<QStringList>{
                                    {"A001", QString::fromUtf8("礦泉水600ml"), "19", "0", "0",
                                     "12.3500", "4", "80", "31", "0", "15", "185"},
                                    {"C003", QString::fromUtf8("合成機油4L"), "10", "0", "0",
                                     "245.0000", "2", "700", "210", "0", "8", "1960"},
                                    {"D004", QString::fromUtf8("雨刷"), "2", "0", "0", "220.0000",
                                     "1", "350", "130", "0", "6", "1320"},
                                    {"F006", QString::fromUtf8("許氏人蔘茶"), "0", "0", "0",
                                     "50.0000", "0", "0", "0", "0", "0", "0"},
                                };
    // The end before the start (the screen's defaults on the first of a month): the start
    // day's opening stock and nothing else.
    QTest::newRow("end before start") << false << "2024/05/03"
                                      << "2024/05/01"
                                      << QList<QStringList>{
                                             {"A001", QString::fromUtf8("礦泉水600ml"), "19", "0",
                                              "0", "12.3500", "0", "0", "0", "0", "28", "346"},
                                             {"C003", QString::fromUtf8("合成機油4L"), "10", "0",
                                              "0", "245.0000", "0", "0", "0", "0", "10", "2450"},
                                             {"D004", QString::fromUtf8("雨刷"), "2", "0", "0",
                                              "220.0000", "0", "0", "0", "0", "2", "440"},
                                             {"F006", QString::fromUtf8("許氏人蔘茶"), "0", "0",
                                              "0", "50.0000", "0", "0", "0", "0", "0", "0"},
                                         };
}

void TestBr060::workTableFigures() {
    QFETCH(bool, charCodes);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QList<QStringList>, rows);
    TrialSchemaOptions schema;
    schema.charCodes = charCodes;
    openStation(schema);
    insertFixture();
    Query work(dm_->cn);
    SilentProgress progress;
    const Br060Titles titles = buildBr060(*dm_, work, {start, end}, progress);
    QCOMPARE(workRows(), rows);
    QCOMPARE(dm_->qy.recordCount(), rows.size()); // the layout's rows, by product
    QCOMPARE(dm_->qy.field("product_id").asText().trimmed(), rows.first().first());
    QCOMPARE(titles.station, QString::fromUtf8("許厝港加油站"));
    // A second run replaces the table rather than adding to it.
    buildBr060(*dm_, work, {start, end}, progress);
    QCOMPARE(workRows(), rows);
}

// The demo station's goods, with a product dropped from the start day (first met in the
// range), one gone before the end day and one the product list does not know: the build
// gives every figure the row-by-row procedure gives.
void TestBr060::sameFiguresAsRowByRowOnADemoStation() {
    openStation();
    {
        Connection cn;
        testdb::configure(cn);
        DemoOptions options;
        options.seed = 16;
        options.days = 35;
        options.salesPerDay = 60;
        options.lastDay = QDate(2024, 6, 4);
        CopyLoader loader(cn);
        SilentProgress progress;
        generateDemoStation(options, loader, progress);
        loader.finish();
    }
    const QString first = testdb::adminValue("select min(product_id) from shift_04_stock");
    const QString last = testdb::adminValue("select max(product_id) from shift_04_stock");
    testdb::admin(QString("delete from shift_04_stock where product_id = '%1' and shift < "
                          "'1130510'")
                      .arg(first),
                  "pos_data");
    testdb::admin(QString("delete from shift_04_stock where product_id = '%1' and shift > "
                          "'1130530'")
                      .arg(last),
                  "pos_data");
    testdb::admin("update shift_04_stock set product_id = 'ZZ99' where product_id = (select "
                  "product_id from shift_04_stock where product_id not in ('" +
                      first + "','" + last +
                      "') order by product_id limit 1) and shift like "
                      "'11305%'",
                  "pos_data");
    Query work(dm_->cn);
    SilentProgress progress;
    buildBr060(*dm_, work, {"2024/05/05", "2024/05/31"}, progress);
    QFile reference(QFINDTESTDATA("../bench/br060_reference.sql"));
    QVERIFY(reference.open(QIODevice::ReadOnly));
    dm_->cn.exec(QString::fromUtf8(reference.readAll()));
    dm_->cn.exec("select pg_temp.br060_reference('1130505', '1130531')");
    Query differences(dm_->cn);
    differences.setSql("select count(*) from ((select * from tBR060 except all select * from "
                       "tbr060_reference) union all (select * from tbr060_reference except all "
                       "select * from tBR060)) x");
    differences.open();
    QCOMPARE(differences.fieldAt(0).asInteger(), qint64(0));
    QVERIFY(workRows().size() >= 20);
    const QList<QStringList> rows = workRows();
    auto rowOf = [&rows](const QString& id) {
        for (const QStringList& r : rows)
            if (r[0] == id) return r;
        return QStringList();
    };
    QCOMPARE(rowOf(first).at(2), QString("0"));     // no opening stock
    QCOMPARE(rowOf("ZZ99").at(1), QString("ZZ99")); // named by its id
    const rpt::RenderedReport r =
        rpt::render(br060Layout({dm_->settings.st_name, {"2024/05/05", "2024/05/31"}}), dm_->qy);
    QCOMPARE(r.pages.size(), 1);
    QVERIFY_NO_OVERLAP(r);
    QVERIFY2(cutTexts(r).isEmpty(), qPrintable(cutTexts(r)));
    reportfiles::savePage(r, 0, "br060_demo_page1");
}

void TestBr060::statementsDoNotGrowWithProductsAndShifts() {
    QList<qint64> counts;
    for (int products : {2, 300}) {
        openStation();
        testdb::admin(QString("insert into product select 'P' || g, 'goods ' || g, '102', 10 "
                              "from generate_series(1, %1) g")
                          .arg(products),
                      "pos_data");
        testdb::admin(QString("insert into shift_04_stock select '11305' || lpad(d::text, 2, "
                              "'0') || '_' || s, 'P' || g, 10, 2, 1.5, 3, 2.5, 7.5, 0, 0, 9 "
                              "from generate_series(1, %1) g, generate_series(1, 31) d, "
                              "generate_series(1, 3) s")
                          .arg(products),
                      "pos_data");
        Query work(dm_->cn);
        SilentProgress progress;
        dm_->cn.connect();
        const qint64 before = dm_->cn.statementsSent();
        buildBr060(*dm_, work, {"2024/05/01", "2024/05/31"}, progress);
        counts << dm_->cn.statementsSent() - before;
        QCOMPARE(dm_->qy.recordCount(), products);
        QCOMPARE(dm_->qy.field("iqty").asInteger(), qint64(186)); // 2 a shift, 93 shifts
        QCOMPARE(dm_->qy.field("sqty").asInteger(), qint64(9));
    }
    QCOMPARE(counts[0], counts[1]);
    QVERIFY2(counts[0] <= 9, qPrintable(QString::number(counts[0])));
}

void TestBr060::printedPage_data() {
    // VALUES of product_name, iamt, oamt, eamt, samt, and b for every quantity
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QStringList>("totals"); // tiamt, toamt, teamt, tsamt as printed
    QTest::newRow("all above zero") << "('A', 1200, 2000, 800, 1500, 5), ('B', 0, 0, 0, 0, 0)"
                                    << QStringList{"1,200", "2,000", "800", "1,500"};
    QTest::newRow("a loss and a negative stock value print empty totals")
        << "('A', 1200, 1000, -200, -50, 5), ('B', 0, 0, 0, 0, 0)"
        << QStringList{"1,200", "1,000", "", ""};
    QTest::newRow("the widest figures print whole")
        << "('A', 9999999, 9999999, 9999999, 9999999, 999999), ('B', 0, 0, 0, 0, 0)"
        << QStringList{"9,999,999", "9,999,999", "9,999,999", "9,999,999"};
}

// The layout over rows of its own: the totals of the summary, zeros as empty cells, the
// month of the start date as the data month, whatever the end date.
void TestBr060::printedPage() {
    QFETCH(QString, rows);
    QFETCH(QStringList, totals);
    openStation();
    Query q(dm_->cn);
    q.setSql("select 'X' as product_id, n as product_name, b as bqty, b as iqty, i as iamt, "
             "0 as iprice, b as oqty, o as oamt, e as eamt, b as dqty, b as sqty, s as samt "
             "from (values " +
             rows + ") v(n, i, o, e, s, b) order by n");
    q.open();
    const rpt::Layout layout =
        br060Layout({QString::fromUtf8("許厝港加油站"), {"2024/05/20", "2024/06/10"}});
    const rpt::RenderedReport r = rpt::render(layout, q, nullptr, QDate(2024, 6, 11));
    QCOMPARE(r.pages.size(), 1);
    QVERIFY_NO_OVERLAP(r);
    QVERIFY2(cutTexts(r).isEmpty(), qPrintable(cutTexts(r)));
    const rpt::PageItems& page = r.pages[0];
    const QStringList texts = allTexts(page);
    for (const char* caption :
         {"許厝港加油站", "副產品進銷存明細表", "資料月份:", "期初存貨", "進        貨",
          "銷      貨", "期末存貨", "調整", "毛    利", "合        計"})
        QVERIFY2(texts.contains(QString::fromUtf8(caption)), caption);
    QVERIFY(texts.contains("2024/05")); // the start month only
    QVERIFY(!texts.contains("2024/06"));
    QVERIFY(texts.contains("2024/06/11"));
    QStringList printedTotals;
    for (const char* name : {"tiamt", "toamt", "teamt", "tsamt"}) {
        QString shown;
        for (const rpt::Band& b : layout.bands)
            for (const rpt::Control& c : b.controls)
                if (c.name == name)
                    for (const rpt::TextItem& t : page.texts)
                        if (std::abs(t.rect.left() - (layout.page.left + c.left)) < 0.01 && t.bold)
                            shown = t.text;
        printedTotals << shown;
    }
    QCOMPARE(printedTotals, totals);
    // Zeros print as empty cells: row B shows only what is not zero.
    const QStringList b = lineOf(page, "B");
    QVERIFY2(!b.contains("0"), qPrintable(b.join('|')));
    QCOMPARE(b, QStringList{"B"});
    if (totals[0] == "9,999,999") reportfiles::savePage(r, 0, "br060_widest_figures");
    if (totals[2].isEmpty())
        QCOMPARE(lineOf(page, "A"),
                 QStringList({"A", "5", "5", "1,200", "5", "1,000", "-200", "5", "5", "-50"}));
}

void TestBr060::badDatesAreRefused() {
    openStation();
    Query work(dm_->cn);
    SilentProgress progress;
    try {
        buildBr060(*dm_, work, {"2024/05/01", "2024/02/30"}, progress);
        QFAIL("a date that is none was taken");
    } catch (const InputRefused& e) {
        QCOMPARE(e.field(), QString("e02"));
        QVERIFY(e.message().contains("2024/02/30"));
    }
}

void TestBr060::screenPreview() {
    openStation();
    insertFixture();
    TFrmBR060 screen;
    screen.FormCreate();
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    QCOMPARE(screen.windowTitle(), QString::fromUtf8("BR060 副產品進銷存明細表"));
    QVERIFY(!screen.SBT);
    gui::saveScreenshot(&screen, "br060_screen");
    screen.e01->setText("2024/05/01");
    screen.e02->setText("2024/05/03");
    QString pageLabel;
    gui::answerNextDialog([&](QWidget* dialog) {
        auto* preview = qobject_cast<ReportPreview*>(dialog);
        if (!preview) return;
        pageLabel = preview->PageLabel->text();
        preview->CloseButton->click();
    });
    screen.SpeedButtonPrn->click();
    QCOMPARE(pageLabel, QString::fromUtf8("第 1 / 1 頁"));
    screen.e02->setText("2024/02/30"); // a date that is none: said, nothing built
    QString said;
    gui::pressInNextMessageBox(QMessageBox::Ok, &said);
    screen.SpeedButtonPrn->click();
    QVERIFY2(said.contains("2024/02/30"), qPrintable(said));
    QVERIFY(screen.isVisible());
    screen.BitBtnExit->click();
    QVERIFY(!dm_->cn.connected());
}

// The demo station's month on paper from the command line, and its first page as a picture.
void TestBr060::commandLinePdf() {
    openStation();
    insertFixture();
    testdb::admin(QString::fromUtf8("insert into set_system values ('st_name', '許厝港站')"),
                  "pos_data");
    QTemporaryDir folder;
    const QString pdf = folder.filePath("br060.pdf");
    reportfiles::Outcome run =
        reportfiles::runTolvar(folder.path(), {"report", "BR060", "--from", "2024/05/01", "--to",
                                               "2024/05/03", "--pdf", pdf});
    QCOMPARE(run.status, 0);
    QVERIFY(run.out.contains(pdf));
    const QString content = reportfiles::pdfText(pdf);
    QVERIFY2(content.contains(QString::fromUtf8("合成機油4L")), qPrintable(content));
    QVERIFY(content.contains("1,960"));
    QVERIFY(content.contains(QString::fromUtf8("許厝港站")));

    run = reportfiles::runTolvar(folder.path(), {"report", "BR060", "--gift", "X", "--pdf", pdf});
    QCOMPARE(run.status, 2);
    QVERIFY(run.err.contains("--gift"));
}

QTEST_MAIN(TestBr060)
#include "tst_br060.moc"
