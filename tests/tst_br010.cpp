// BR010 charge-customer detail: the rows of the work table with their discounts, the printed
// layout's totals and invoice summary, the groups and page breaks, the export, the statement
// count of a build and the command line's PDF.
#include "app/data_module.h"
#include "app/gui_start.h"
#include "app/product_codes.h"
#include "app/progress.h"
#include "charge/br010_build.h"
#include "charge/br010_layout.h"
#include "reports/common/page_painter.h"
#include "reports/common/report_renderer.h"
#include "support/page_checks.h"
#include "support/report_files.h"
#include "support/test_database.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// A charge sale of one line: the sale and its line share island, gun and time.
struct Sale {
    const char* time;
    const char* car;
    const char* company;
    const char* product;
    const char* cls;
    double price, qty, amt;
    const char* payment = "903";
    const char* mark = "000";
};

void insertSales(const QList<Sale>& sales) {
    QString tran = "insert into tran (island, gun_no, tran_time, shift, car_no, ref_no2, payment, "
                   "an_mark, tran_amt) values ";
    QString lines = "insert into tran_detl (island, gun_no, tran_time, seq, shift, product_id, "
                    "class, price, qty, amt) values ";
    int n = 0;
    for (const Sale& s : sales) {
        const QString sep = n++ ? ", " : "";
        const QString shift = QString("1130507_%1").arg(1 + n % 3);
        tran += sep + QString("('01', '0%1', '2024/05/07 %2', '%3', '%4', '%5', '%6', '%7', %8)")
                          .arg(n % 4 + 1)
                          .arg(s.time, shift, s.car, s.company, s.payment, s.mark)
                          .arg(s.amt);
        lines += sep + QString("('01', '0%1', '2024/05/07 %2', 1, '%3', '%4', '%5', %6, %7, %8)")
                           .arg(n % 4 + 1)
                           .arg(s.time, shift, s.product, s.cls)
                           .arg(s.price)
                           .arg(s.qty)
                           .arg(s.amt);
    }
    testdb::admin(tran, "pos_data");
    testdb::admin(lines, "pos_data");
}

const char* const diesel = "113F 51101001";
const char* const u92 = "113F 12092005";

QStringList allTexts(const rpt::RenderedReport& r) {
    QStringList list;
    for (const rpt::PageItems& p : r.pages)
        for (const rpt::TextItem& t : p.texts)
            list << t.text;
    return list;
}

// The text that control `name` printed on the last page, found at its place: the band's
// origin is taken from a fixed caption of the same band.
QString printed(const rpt::RenderedReport& r, const rpt::Layout& layout, const QString& name) {
    for (const rpt::Band& b : layout.bands)
        for (const rpt::Control& c : b.controls) {
            if (c.name != name) continue;
            for (const rpt::Control& fixed : b.controls)
                for (const rpt::TextItem& t : r.pages.last().texts)
                    if (fixed.kind == rpt::Kind::Label && !fixed.content.isEmpty() &&
                        t.text == fixed.content) {
                        const double origin = t.rect.top() - fixed.top;
                        for (const rpt::TextItem& u : r.pages.last().texts)
                            if (std::abs(u.rect.left() - (layout.page.left + c.left)) < 0.01 &&
                                std::abs(u.rect.top() - (origin + c.top)) < 0.01)
                                return u.text;
                        return {};
                    }
        }
    return {};
}

} // namespace

class TestBr010 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setUpChineseFonts(); }
    void init();
    void cleanup();
    void discountRule_data();
    void discountRule();
    void selection_data();
    void selection();
    void invoiceSummary_data();
    void invoiceSummary();
    void groupsAndPageBreaks();
    void rowsOfManyWidthsReadBackInTheChosenOrder_data();
    void rowsOfManyWidthsReadBackInTheChosenOrder();
    void exportRowsAndColumns();
    void statementsDoNotGrowWithRows();
    void commandLinePdfShowsTheTotals();
    void commandLineOutcomes_data();
    void commandLineOutcomes();
    void emptyRangeWritesNoFile_data();
    void emptyRangeWritesNoFile();

private:
    Br010Params may() const;
    QList<QStringList> workRows(const QString& columns);
    std::unique_ptr<DataModule> dm_;
};

void TestBr010::init() {
    testdb::recreate();
    testdb::admin(
        QString::fromUtf8(
            "insert into product (product_id, name, class, price) values "
            "('113F 51101001', '超級柴油', '101', 25), ('113F 12092005', '九二無鉛', "
            "'101', 30), ('113F 12095001', '九五無鉛', '101', 31), "
            "('114X 00000001', '煤油', '101', 20), ('300A 00000001', '洗車', '102', 100)"),
        "pos_data");
    testdb::admin(QString::fromUtf8(
                      "insert into cust_unit (cust_id, unit_name, discount_d, discount_g) values "
                      "('C01', '許厝港運輸', 1.2, 0.5), ('C02', '功學社', 0.05, 0.8)"),
                  "pos_data");
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
    dm_->settings.st_name = QString::fromUtf8("許厝港加油站");
    dm_->settings.tax_rate = 0.05;
}

void TestBr010::cleanup() {
    dm_.reset();
}

Br010Params TestBr010::may() const {
    Br010Params p;
    p.start = "2024/05/01";
    p.end = "2024/05/31";
    return p;
}

QList<QStringList> TestBr010::workRows(const QString& columns) {
    Query q(dm_->cn);
    q.setSql("select " + columns + " from tBR010 order by tran_time, ctid");
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

void TestBr010::discountRule_data() {
    QTest::addColumn<QString>("company");
    QTest::addColumn<QString>("product");
    QTest::addColumn<QString>("cls");
    QTest::addColumn<double>("qty");
    QTest::addColumn<double>("amt");
    QTest::addColumn<QStringList>("expected"); // comp_name, product_name, discount, disamt, payamt
    QTest::newRow("diesel 1.2 on 40.25 L: 48.3 gives 48")
        << "C01" << diesel << "101" << 40.25 << 1006.0
        << QStringList{QString::fromUtf8("許厝港運輸"), QString::fromUtf8("超級柴油"), "1.2", "48",
                       "958"};
    QTest::newRow("petrol rate for 113F 12 products, 0.5 on 45 L: 22.5 gives 23")
        << "C01" << u92 << "101" << 45.0 << 1350.0
        << QStringList{QString::fromUtf8("許厝港運輸"), QString::fromUtf8("九二無鉛"), "0.5", "23",
                       "1327"};
    QTest::newRow("diesel 0.05 on 100 L")
        << "C02" << diesel << "101" << 100.0 << 2500.0
        << QStringList{QString::fromUtf8("功學社"), QString::fromUtf8("超級柴油"), "0.05", "5",
                       "2495"};
    QTest::newRow("another fuel takes the diesel rate")
        << "C01"
        << "114X 00000001"
        << "101" << 10.0 << 200.0
        << QStringList{QString::fromUtf8("許厝港運輸"), QString::fromUtf8("煤油"), "1.2", "12",
                       "188"};
    QTest::newRow("class 102 gets no discount")
        << "C01"
        << "300A 00000001"
        << "102" << 1.0 << 100.0
        << QStringList{QString::fromUtf8("許厝港運輸"), QString::fromUtf8("洗車"), "0", "0", "100"};
    QTest::newRow("unknown company: no name, no discount")
        << "C99" << diesel << "101" << 10.0 << 250.0
        << QStringList{"", QString::fromUtf8("超級柴油"), "0", "0", "250"};
    QTest::newRow("unknown product shows its id")
        << "C01"
        << "999Z 00000009"
        << "104" << 1.0 << 0.0
        << QStringList{QString::fromUtf8("許厝港運輸"), "999Z 00000009", "0", "0", "0"};
}

void TestBr010::discountRule() {
    QFETCH(QString, company);
    QFETCH(QString, product);
    QFETCH(QString, cls);
    QFETCH(double, qty);
    QFETCH(double, amt);
    QFETCH(QStringList, expected);
    const QByteArray c = company.toLatin1(), p = product.toLatin1(), k = cls.toLatin1();
    insertSales(
        {{"10:00:00", "AB-1234", c.constData(), p.constData(), k.constData(), 25, qty, amt}});
    Query work(dm_->cn);
    SilentProgress progress;
    buildBr010(*dm_, work, may(), progress);
    const QList<QStringList> rows =
        workRows("comp_name, product_name, discount::float8, disamt, payamt");
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0], expected);
}

void TestBr010::selection_data() {
    QTest::addColumn<Br010Params>("params");
    QTest::addColumn<QStringList>("cars");
    Br010Params p;
    p.start = "2024/05/07";
    p.end = "2024/05/07";
    QTest::newRow("903 and 904, voided and cash sales left out")
        << p << QStringList{"AB-1", "AB-12", "AB-123", "CD-9"};
    Br010Params car = p;
    car.car = "AB-12";
    QTest::newRow("a car number exactly, not its beginning") << car << QStringList{"AB-12"};
    Br010Params company = p;
    company.company = "C02";
    QTest::newRow("one company") << company << QStringList{"CD-9"};
    Br010Params byCar = p;
    byCar.order = "2:車號";
    QTest::newRow("order by car") << byCar << QStringList{"AB-1", "AB-12", "AB-123", "CD-9"};
    Br010Params other = p;
    other.start = other.end = "2024/05/08";
    QTest::newRow("basis 1: the business day decides") << other << QStringList{};
    other.basis = "2:加油日期";
    other.start = other.end = "2024/05/07";
    QTest::newRow("basis 2: the fuelling date")
        << other << QStringList{"AB-1", "AB-12", "AB-123", "CD-9"};
}

void TestBr010::selection() {
    QFETCH(Br010Params, params);
    QFETCH(QStringList, cars);
    insertSales({{"08:00:00", "AB-123", "C01", diesel, "101", 25, 10, 250},
                 {"09:00:00", "CD-9", "C02", diesel, "101", 25, 10, 250, "904"},
                 {"10:00:00", "AB-12", "C01", diesel, "101", 25, 10, 250},
                 {"11:00:00", "AB-1", "C01", diesel, "101", 25, 10, 250},
                 {"12:00:00", "AB-12", "C01", diesel, "101", 25, 10, 250, "903", "200"},
                 {"13:00:00", "AB-12", "C01", diesel, "101", 25, 10, 250, "900"}});
    Query work(dm_->cn);
    SilentProgress progress;
    buildBr010(*dm_, work, params, progress);
    QStringList seen;
    for (dm_->qy.first(); !dm_->qy.eof(); dm_->qy.next())
        seen << dm_->qy.field("car_no").asText();
    if (!params.order.startsWith('2')) std::sort(seen.begin(), seen.end());
    QCOMPARE(seen, cars);
    QCOMPARE(dm_->qy.recordCount(), cars.size()); // the layout's rows
}

void TestBr010::invoiceSummary_data() {
    QTest::addColumn<double>("taxRate");
    QTest::addColumn<QStringList>("diesel"); // t11 t12 t13
    QTest::addColumn<QStringList>("totals"); // t1 t2 t3
    QTest::newRow("5% tax") << 0.05 << QStringList{"100.00", "23.8095", "2,381"}
                            << QStringList{"9,524", "476", "10,000"};
    QTest::newRow("no tax") << 0.0 << QStringList{"100.00", "25.0000", "2,500"}
                            << QStringList{"10,000", "0", "10,000"};
}

void TestBr010::invoiceSummary() {
    QFETCH(double, taxRate);
    QFETCH(QStringList, diesel);
    QFETCH(QStringList, totals);
    // 100 L of diesel for 2,500 without discount, and 7,500 of 92 less its discount of 0.
    insertSales({{"08:00:00", "AB-1", "C99", "113F 51101001", "101", 25, 100, 2500},
                 {"09:00:00", "AB-2", "C99", "113F 12092005", "101", 30, 250, 7500}});
    dm_->settings.tax_rate = taxRate;
    Query work(dm_->cn);
    SilentProgress progress;
    const Br010Titles titles = buildBr010(*dm_, work, may(), progress);
    const rpt::Layout layout = br010Layout(titles);
    const rpt::RenderedReport r = rpt::render(layout, dm_->qy, nullptr, QDate(2024, 6, 1));
    QVERIFY_NO_OVERLAP(r);
    QCOMPARE(QStringList(
                 {printed(r, layout, "t11"), printed(r, layout, "t12"), printed(r, layout, "t13")}),
             diesel);
    QCOMPARE(
        QStringList({printed(r, layout, "t1"), printed(r, layout, "t2"), printed(r, layout, "t3")}),
        totals);
    QCOMPARE(printed(r, layout, "t21"), QString()); // no diesel discount: its row stays empty
    QCOMPARE(printed(r, layout, "q4"), QString("10,000"));
    QCOMPARE(printed(r, layout, "q01"), QString("100.00"));
    const QStringList texts = allTexts(r);
    QVERIFY(texts.contains(QString::fromUtf8("許厝港加油站")));
    if (taxRate > 0) {
        const QString folder = qEnvironmentVariable("TOLVAR_SCREENSHOTS", "screenshots");
        QDir().mkpath(folder);
        rpt::pageImage(r, 0, 5).save(QDir(folder).filePath("br010_page1.png"));
    }
    QVERIFY(texts.contains("2024/06/01")); // the printing date
}

void TestBr010::groupsAndPageBreaks() {
    insertSales({{"08:00:00", "AB-1", "C01", diesel, "101", 25, 10, 250},
                 {"09:00:00", "AB-2", "C01", "300A 00000001", "102", 100, 1, 100},
                 {"10:00:00", "AB-1", "C01", diesel, "101", 25, 20, 500}});
    Br010Params p = may();
    p.order = "2:車號";
    p.pageBreak = "Y";
    Query work(dm_->cn);
    SilentProgress progress;
    const rpt::Layout layout = br010Layout(buildBr010(*dm_, work, p, progress));
    const rpt::RenderedReport r = rpt::render(layout, dm_->qy);
    QVERIFY_NO_OVERLAP(r);
    // Each vehicle on a page of its own, then the totals on theirs.
    QCOMPARE(r.pages.size(), 3);
    auto pageHas = [&](int page, const QString& text) {
        for (const rpt::TextItem& t : r.pages[page].texts)
            if (t.text == text) return true;
        return false;
    };
    QVERIFY(pageHas(0, "AB-1") && !pageHas(0, "AB-2"));
    QVERIFY(pageHas(0, "30.00")); // the vehicle's subtotal: 10 + 20 litres
    QVERIFY(pageHas(0, "36"));    // and its discount, 1.2 × 30
    QVERIFY(pageHas(1, "AB-2") && !pageHas(1, "AB-1"));
    QVERIFY(pageHas(2, QString::fromUtf8("總  合  計 :")));
    QVERIFY(pageHas(2, "3")); // its page number
    QVERIFY(!pageHas(1, QString::fromUtf8("總  合  計 :")));
    // The class 102 line prints no discount amount ("###,###" leaves 0 empty).
    double lineTop = -1;
    for (const rpt::TextItem& t : r.pages[1].texts)
        if (t.text == "AB-2") lineTop = t.rect.top();
    QVERIFY(lineTop > 0);
    QStringList onTheLine;
    for (const rpt::TextItem& t : r.pages[1].texts)
        if (std::abs(t.rect.top() - lineTop) < 0.01) onTheLine << t.text;
    QCOMPARE(onTheLine.mid(6), QStringList({"100.00", "1.00", "100", "100"}));
}

// Regression: the build read tBR010 back by its rows' places on disk, taking them for the
// order the INSERT ... SELECT wrote. Once the table spans pages, a short line (a company not
// in cust_unit, an empty name) lands in the free space an earlier page kept, and prints among
// lines of another day or vehicle. Read back, every line stands in the chosen order.
void TestBr010::rowsOfManyWidthsReadBackInTheChosenOrder_data() {
    QTest::addColumn<QString>("order");
    QTest::addColumn<QStringList>("keys"); // the columns the lines must be in order by
    QTest::newRow("1: date") << QString::fromUtf8("1:日期") << QStringList{"tran_time"};
    QTest::newRow("2: car") << QString::fromUtf8("2:車號") << QStringList{"car_no", "tran_time"};
    QTest::newRow("3: company") << QString::fromUtf8("3:公司")
                                << QStringList{"comp_no", "tran_time"};
}

void TestBr010::rowsOfManyWidthsReadBackInTheChosenOrder() {
    QFETCH(QString, order);
    QFETCH(QStringList, keys);
    // Known companies with codes of 20 characters and names of 20 Chinese characters, and
    // companies unknown to cust_unit (no name); products named in 10 characters, and unknown
    // products shown by their code; 4,000 lines over several days.
    testdb::admin(QString::fromUtf8("insert into cust_unit (cust_id, unit_name, discount_d, "
                                    "discount_g) select 'LONG-COMPANY-CODE-0' || g, "
                                    "repeat('海湖砂石實業', 3) || '有限', 0.5, 0.5 from "
                                    "generate_series(0, 6) g"),
                  "pos_data");
    testdb::admin(QString::fromUtf8("insert into product (product_id, name, class, price) values "
                                    "('113F 51101002', repeat('高級柴油', 2) || '外購', '101', "
                                    "25)"),
                  "pos_data");
    testdb::admin("insert into tran (island, gun_no, tran_time, shift, car_no, ref_no2, payment, "
                  "an_mark) select '01', '01', timestamp '2024-05-03' + g * interval '97 "
                  "second', '1130503_1', substr('ABCDEFGHIJ', 1, 1 + (g * 7) % 10), case when (g "
                  "* 37) % 17 < 6 then 'LONG-COMPANY-CODE-0' || (g % 7) else 'U' || (g % 5) "
                  "end, '903', '000' from generate_series(1, 4000) g",
                  "pos_data");
    testdb::admin("insert into tran_detl (island, gun_no, tran_time, seq, shift, product_id, "
                  "class, price, qty, amt) select island, gun_no, tran_time, 1, shift, case "
                  "when (extract(epoch from tran_time)::bigint * 13) % 7 < 3 then "
                  "'113F 51101002' else '999Z 00000009' end, '101', 25, 10, 250 from tran",
                  "pos_data");
    Br010Params p = may();
    p.order = order;
    Query work(dm_->cn);
    SilentProgress progress;
    buildBr010(*dm_, work, p, progress);
    Query pages(dm_->cn);
    pages.setSql("select count(distinct (ctid::text::point)[0]) from tBR010");
    pages.open();
    QVERIFY2(pages.fieldAt(0).asText().toInt() > 10, "the work table spans many pages");
    auto check = [&](Query& rows, const char* build) {
        QCOMPARE(rows.recordCount(), 4000);
        QStringList previous;
        int row = 0;
        for (rows.first(); !rows.eof(); rows.next(), ++row) {
            QStringList key;
            for (const QString& k : keys)
                key << rows.field(k).asText();
            QVERIFY2(previous.isEmpty() || previous <= key,
                     qPrintable(QString("%1 line %2: %3 after %4")
                                    .arg(build)
                                    .arg(row)
                                    .arg(key.join(' '), previous.join(' '))));
            previous = key;
        }
    };
    check(dm_->qy, "print");
    // Long and empty names side by side print without one text over another.
    const rpt::RenderedReport r = rpt::render(br010Layout({"Station", p, 0.05}), dm_->qy);
    QVERIFY(r.pages.size() > 50);
    QVERIFY_NO_OVERLAP(r);
    buildBr010Export(work, p, progress);
    check(work, "export");
}

void TestBr010::exportRowsAndColumns() {
    insertSales({{"08:00:00", "AB-1", "C01", diesel, "101", 25, 10, 250}});
    Query work(dm_->cn);
    SilentProgress progress;
    buildBr010Export(work, may(), progress);
    QCOMPARE(work.recordCount(), 1);
    QVERIFY(!dm_->qy.active()); // the export leaves the layout's query alone
    QStringList fields, titles;
    for (const ExportColumn& c : br010ExportColumns()) {
        fields << c.field;
        titles << c.title;
        QVERIFY2(work.fieldIndex(c.field) >= 0, qPrintable(c.field));
    }
    QCOMPARE(fields.first(), QString("wdate"));
    QCOMPARE(titles.last(), QString::fromUtf8("應收金額"));
    QCOMPARE(work.field("disamt").asText(), QString("12"));
}

void TestBr010::statementsDoNotGrowWithRows() {
    QList<int> counts;
    for (int lines : {10, 1000}) {
        testdb::admin("delete from tran_detl", "pos_data");
        testdb::admin("delete from tran", "pos_data");
        testdb::admin(
            QString("insert into tran (island, gun_no, tran_time, shift, car_no, ref_no2, "
                    "payment, an_mark) select '01', '01', timestamp '2024-05-07' + g * "
                    "interval '1 second', '1130507_1', 'AB-1', 'C01', '903', '000' from "
                    "generate_series(1, %1) g")
                .arg(lines),
            "pos_data");
        testdb::admin(QString("insert into tran_detl (island, gun_no, tran_time, seq, shift, "
                              "product_id, class, price, qty, amt) select island, gun_no, "
                              "tran_time, 1, shift, '113F 51101001', '101', 25, 10, 250 from tran"),
                      "pos_data");
        DataModule dm;
        testdb::configure(dm.cn);
        Query work(dm.cn);
        SilentProgress progress;
        dm.cn.connect();
        const auto before = dm.sqlm.events().size();
        buildBr010(dm, work, may(), progress);
        QCOMPARE(dm.qy.recordCount(), lines);
        int executed = 0;
        for (auto e = dm.sqlm.events().begin() + qsizetype(before); e != dm.sqlm.events().end();
             ++e)
            executed += e->category == TraceCategory::Execute;
        counts << executed;
    }
    QCOMPARE(counts[0], counts[1]);
    QVERIFY(counts[0] <= 5);
}

void TestBr010::commandLinePdfShowsTheTotals() {
    insertSales({{"08:00:00", "AB-1", "C01", diesel, "101", 25, 100, 2500}});
    testdb::admin("insert into set_system values ('st_name', 'Station'), ('tax_rate', '0.05')",
                  "pos_data");
    QTemporaryDir folder;
    const QString pdf = folder.filePath("br010.pdf");
    reportfiles::Outcome run =
        reportfiles::runTolvar(folder.path(), {"report", "BR010", "--from", "2024/05/01", "--to",
                                               "2024/05/31", "--pdf", pdf});
    QCOMPARE(run.status, 0);
    const QString content = reportfiles::pdfText(pdf);
    QVERIFY2(content.contains("2,380"), qPrintable(content)); // receivable 2,500 less 120
    QVERIFY(content.contains(QString::fromUtf8("簽帳客戶明細表")));
    QVERIFY(content.contains("Station"));

    run = reportfiles::runTolvar(folder.path(),
                                 {"report", "BR010", "--from", "2024/02/30", "--pdf", pdf});
    QCOMPARE(run.status, 2);
    QVERIFY(run.err.contains("2024/02/30"));
}

void TestBr010::commandLineOutcomes_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("says");
    const QStringList may{"--from", "2024/05/01", "--to", "2024/05/31"};
    QTest::newRow("the reports listed") << QStringList{"report", "--help"} << 0 << "BR010";
    QTest::newRow("a report's options")
        << QStringList{"report", "br010", "--help"} << 0 << "--page-break";
    QTest::newRow("export") << QStringList{"report", "BR010", "--sylk", "out.xls"} + may << 0
                            << "out.xls";
    QTest::newRow("no output named") << QStringList{"report", "BR010"} + may << 2 << "--pdf";
    QTest::newRow("unknown report")
        << QStringList{"report", "BR999", "--pdf", "x.pdf"} << 2 << "BR999";
    QTest::newRow("bad order") << QStringList{"report", "BR010", "--order", "4", "--pdf", "x.pdf"}
                               << 2 << "--order";
    QTest::newRow("bad basis") << QStringList{"report", "BR010", "--basis", "x", "--pdf", "x.pdf"}
                               << 2 << "--basis";
    QTest::newRow("unwritable PDF")
        << QStringList{"report", "BR010", "--pdf", "/no/such/folder/x.pdf"} + may << 1
        << "/no/such/folder/x.pdf";
}

void TestBr010::commandLineOutcomes() {
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, says);
    insertSales({{"08:00:00", "AB-1", "C01", diesel, "101", 25, 100, 2500}});
    QTemporaryDir folder;
    reportfiles::Outcome run = reportfiles::runTolvar(folder.path(), args);
    const QString output = run.output;
    QCOMPARE(run.status, status);
    QVERIFY2(output.contains(says), qPrintable(output));
    if (args.contains("--sylk")) {
        QFile sylk(folder.filePath("out.xls"));
        QVERIFY(sylk.open(QIODevice::ReadOnly));
        QVERIFY(sylk.readAll().contains("C;X1;Y3;K\"2024/05/07\""));
    }
}

// A range without charge sales says so and writes nothing: an older file of the name the
// office keeps reusing stays as it was.
void TestBr010::emptyRangeWritesNoFile_data() {
    QTest::addColumn<QString>("output");
    QTest::newRow("pdf") << "--pdf";
    QTest::newRow("sylk") << "--sylk";
}

void TestBr010::emptyRangeWritesNoFile() {
    QFETCH(QString, output);
    insertSales({{"08:00:00", "AB-1", "C01", diesel, "101", 25, 100, 2500}});
    QTemporaryDir folder;
    const QString path = folder.filePath("h.out");
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("last month's report");
    old.close();
    reportfiles::Outcome run =
        reportfiles::runTolvar(folder.path(), {"report", "BR010", "--from", "2024/04/01", "--to",
                                               "2024/04/30", output, path});
    QCOMPARE(run.status, 0);
    const QString said = run.out;
    QVERIFY2(said.contains(QString::fromUtf8("沒有資料")), qPrintable(said));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("last month's report"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 2); // config.ini and h.out
}

QTEST_MAIN(TestBr010)
#include "tst_br010.moc"
