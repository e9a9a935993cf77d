// BR030 daily revenue summary: a hand-made day's whole page label by label, the rules of the
// revenue grid on small days, exact decimals on a float8 station, the tank table, one
// snapshot while the point-of-sale system writes, the statement count, the demo station
// against BR040, the command line's PDF and the screen.
#include "app/data_module.h"
#include "app/gui_start.h"
#include "app/main_form.h"
#include "app/progress.h"
#include "db/copy_loader.h"
#include "db/input_refused.h"
#include "demo/station_generator.h"
#include "reports/business/br030_build.h"
#include "reports/business/br030_layout.h"
#include "reports/business/br030_screen.h"
#include "reports/business/br040_build.h"
#include "reports/common/page_painter.h"
#include "reports/common/report_preview.h"
#include "reports/common/report_renderer.h"
#include "screens/common/date_picker.h"
#include "support/gui_support.h"
#include "support/page_checks.h"
#include "support/report_files.h"
#include "support/sales_fixture.h"
#include "support/test_database.h"
#include "support/writing_meanwhile.h"

#include <QApplication>
#include <QComboBox>
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
const char* const kerosene = "114X 00000001";

// Runs each statement over one connection of its own.
void sql(const QStringList& statements) {
    Connection cn;
    testdb::configure(cn);
    for (const QString& statement : statements)
        cn.exec(statement);
}

// A meter row: shift, island, gun, product, out litres and dollars, tests, walks.
QString gun(const QString& shift, const QString& island, const QString& gunNo,
            const QString& product, const QString& outQty, const QString& outAmt,
            const QString& testQty = "0", const QString& testAmt = "0",
            const QString& walkQty = "0", const QString& walkAmt = "0") {
    return QString("insert into shift_01_gun (shift, island, gun_no, product_id, out_qty, "
                   "out_amt, test_qty, test_amt, walk_qty, walk_amt) values ('%1', '%2', '%3', "
                   "'%4', %5, %6, %7, %8, %9, %10)")
        .arg(shift, island, gunNo, product, outQty, outAmt, testQty, testAmt, walkQty, walkAmt);
}

// A payment row of shift_02_oil: tickets, bank cards, the two charge kinds.
QString oil(const QString& shift, const QString& product, const QString& ticket,
            const QString& card, const QString& charge2, const QString& credit) {
    // Each figure as "litres/dollars".
    auto q = [](const QString& pair) { return pair.section('/', 0, 0); };
    auto a = [](const QString& pair) { return pair.section('/', 1, 1); };
    return QString("insert into shift_02_oil (shift, product_id, ticket_qty, ticket_amt, cdc_qty, "
                   "cdc_amt, cdc_qty2, cdc_amt2, credit_qty, credit_amt, test_amt, walk_amt) "
                   "values ('%1', '%2', %3, %4, %5, %6, %7, %8, %9, %10, 0, 0)")
        .arg(shift, product, q(ticket), a(ticket), q(card), a(card), q(charge2), a(charge2),
             q(credit))
        .arg(a(credit));
}

// A sale: its header and its lines, each "product/class/litres/dollars".
QStringList sale(const QString& time, const QString& shift, const QString& company,
                 const QStringList& lines, const QString& mark = "000",
                 const QString& island = "01", const QString& gunNo = "01") {
    QStringList s{QString("insert into tran (island, gun_no, tran_time, shift, ref_no2, an_mark) "
                          "values ('%1', '%2', '%3', '%4', '%5', '%6')")
                      .arg(island, gunNo, time, shift, company, mark)};
    int seq = 0;
    for (const QString& line : lines) {
        const QStringList f = line.split('/');
        s << QString("insert into tran_detl (island, gun_no, tran_time, seq, shift, product_id, "
                     "class, qty, amt) values ('%1', '%2', '%3', %4, '%5', '%6', '%7', %8, %9)")
                 .arg(island, gunNo, time)
                 .arg(++seq)
                 .arg(shift, f[0], f[1], f[2], f[3]);
    }
    return s;
}

QString shift05(const QString& shift, const QString& goods, const QString& diff,
                const QString& card, const QString& charge2, const QString& credit,
                const QString& ticket) {
    return QString("insert into shift_05 (shift, goods_amt, diff_amt1, prod_disc, cdc1_amt, "
                   "cdc2_amt, credit_amt, ticket_amt, oil_amt_2, tot_amt_2, oil_disc) values "
                   "('%1', %2, %3, 0, %4, %5, %6, %7, 0, 0, 0)")
        .arg(shift, goods, diff, card, charge2, credit, ticket);
}

QString shift06(const QString& shift, const QString& product, const QString& cls,
                const QString& amt) {
    return QString("insert into shift_06 (shift, product_id, class, amt) values ('%1', '%2', "
                   "'%3', %4)")
        .arg(shift, product, cls, amt);
}

QString tank(const QString& shift, const QString& code, const QString& name, const QString& in,
             const QString& sold, const QString& account1, const QString& account2,
             const QString& real2) {
    return QString("insert into shift_03_tank (shift, tank, oilname, in_stock, sale, account1, "
                   "account2, real2) values ('%1', '%2', '%3', %4, %5, %6, %7, %8)")
        .arg(shift, code, name, in, sold, account1, account2, real2);
}

// The hand-made day 2024/05/07 (business day 1130507): three fuels sold, 98 not at all,
// every kind of payment and deduction, a night-shift sale after midnight, a voided sale and
// sales of the days around it, the goods and car wash, three tanks.
void handMadeDay() {
    QStringList s;
    s << gun("1130507_1", "01", "01", u92, "1000.10", "30003", "10.00", "300")
      << gun("1130507_2", "01", "02", u92, "500.25", "15008", "0", "0", "2.50", "75")
      << gun("1130507_1", "02", "01", diesel, "2000.00", "50000", "20.00", "500")
      << gun("1130507_3", "02", "02", u95, "300.30", "9309")
      << gun("1130507_1", "03", "01", kerosene, "100.00", "2000")
      << gun("1130506_1", "01", "01", u92, "400.00", "12000", "5.00", "150")
      << gun("1130508_1", "01", "01", u92, "999.00", "29970");
    // A charge customer's discount, a fleet card, a 捷利 card, a discount without a charge
    // company, another deduction, a 捷利 card after midnight, a deduction on another fuel.
    s << sale("2024/05/07 09:00", "1130507_1", "C01",
              {QString(u92) + "/101/40.00/1200", "131D000000001/131/40.00/-40"})
      << sale("2024/05/07 10:00", "1130507_1", "",
              {QString(diesel) + "/101/50.00/1250", QString(fleet) + "/132/0/-1250"}, "000", "01",
              "02")
      << sale("2024/05/07 11:00", "1130507_2", "",
              {QString(u95) + "/101/30.10/933", QString(jieli) + "/132/0/-500"}, "000", "02")
      << sale("2024/05/07 12:00", "1130507_2", "   ",
              {QString(u92) + "/101/20.00/600", "131D000000001/131/20.00/-20"}, "000", "02", "02")
      << sale("2024/05/07 13:00", "1130507_2", "",
              {QString(u92) + "/101/5.00/150", "132X00000001/132/0/-30"}, "000", "03")
      << sale("2024/05/08 02:00", "1130507_3", "",
              {QString(u92) + "/101/10.00/300", QString(jieli) + "/132/0/-300"})
      << sale("2024/05/07 14:00", "1130507_2", "",
              {QString(kerosene) + "/101/5.00/100", "132X00000001/132/0/-100"}, "000", "03", "02")
      << sale("2024/05/07 15:00", "1130507_2", "",
              {QString(diesel) + "/101/40.00/999", QString(fleet) + "/132/0/-999"}, "200")
      << sale("2024/05/07 01:00", "1130506_3", "",
              {QString(diesel) + "/101/40.00/888", QString(fleet) + "/132/0/-888"});
    s << oil("1130507_1", u92, "100.00/3000", "200.00/6000", "50.00/1500", "40.00/1200")
      << oil("1130507_2", u92, "0.10/3", "0/0", "0/0", "0/0")
      << oil("1130507_1", diesel, "0/0", "1000.00/25000", "0/0", "0/0")
      << oil("1130507_1", kerosene, "10/200", "0/0", "0/0", "0/0");
    s << shift05("1130507_1", "5000", "1000", "33000", "1500", "1200", "3003")
      << shift05("1130507_2", "2000", "500", "1500", "0", "300", "0")
      << shift05("1130506_1", "9999", "0", "0", "0", "0", "0");
    s << shift06("1130507_1", "20000001", "102", "1000")
      << shift06("1130507_2", "20000002", "102", "500")
      << shift06("1130507_1", fleet, "132", "-1250") << shift06("1130507_1", jieli, "132", "-500")
      << shift06("1130507_3", jieli, "132", "-300")
      << shift06("1130506_1", "20000001", "102", "999");
    s << tank("1130507_1", "01", "九二無鉛", "0", "600.00", "10000.00", "9400.00", "9390.50")
      << tank("1130507_2", "01", "九二無鉛", "5000.00", "700.25", "9400.00", "13699.75", "13700.00")
      << tank("1130507_3", "01", "九二無鉛", "0", "210.10", "13699.75", "13489.65", "13480.00")
      << tank("1130507_1", "03", "高級柴油(外購)", "0", "2000.00", "20000.00", "18000.00",
              "18010.25")
      << tank("1130507_2", "02", "九二無鉛汽油", "0", "0", "8000.00", "8000.00", "8000.00")
      << tank("1130506_3", "01", "九二無鉛", "0", "1.00", "10001.00", "10000.00", "10000.00");
    sql(s);
}

// The text that control `name` printed on page `page`, found at its place: the band's origin
// is taken from a fixed caption of the same band. Null when it printed nothing there.
QString printed(const rpt::RenderedReport& r, const rpt::Layout& layout, const QString& name,
                int page = 0) {
    for (const rpt::Band& b : layout.bands)
        for (const rpt::Control& c : b.controls) {
            if (c.name != name) continue;
            for (const rpt::Control& fixed : b.controls) {
                if (fixed.kind != rpt::Kind::Label || fixed.content.trimmed().isEmpty()) continue;
                for (const rpt::TextItem& t : r.pages[page].texts) {
                    if (t.text != fixed.content ||
                        std::abs(t.rect.left() - (layout.page.left + fixed.left)) > 0.01)
                        continue;
                    const double origin = t.rect.top() - fixed.top;
                    for (const rpt::TextItem& u : r.pages[page].texts)
                        if (std::abs(u.rect.left() - (layout.page.left + c.left)) < 0.01 &&
                            std::abs(u.rect.top() - (origin + c.top)) < 0.01)
                            return u.text;
                    return {};
                }
            }
        }
    return {};
}

QStringList pageTexts(const rpt::PageItems& page) {
    QStringList list;
    for (const rpt::TextItem& t : page.texts)
        list << t.text;
    return list;
}

// The rows of tBR030 as the layout reads them.
QStringList tankRows(Query& qy1) {
    QStringList rows;
    for (qy1.first(); !qy1.eof(); qy1.next()) {
        QStringList row;
        for (const char* c : {"tank", "name", "bqty", "iqty", "oqty", "sqty", "rqty", "dqty"})
            row << qy1.field(c).asText();
        rows << row.join('|');
    }
    return rows;
}

// Runs `answer` on the preview once it shows; the progress window showing before it is left
// alone. A preview still open after a minute is closed.
void answerPreview(std::function<void(ReportPreview*)> answer) {
    auto* poll = new QTimer(qApp);
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(poll, &QTimer::timeout, [=] {
        auto* preview = qobject_cast<ReportPreview*>(QApplication::activeModalWidget());
        if (preview && preview->isVisible()) {
            poll->deleteLater();
            poll->stop();
            answer(preview);
            if (preview->isVisible()) preview->reject();
        } else if (started->elapsed() > 60000) {
            poll->deleteLater();
            poll->stop();
        }
    });
    poll->start(20);
}

} // namespace

class TestBr030 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setUpChineseFonts(); }
    void init();
    void cleanup();
    void handMadePage_data();
    void handMadePage();
    void tankTable();
    void smallDays_data();
    void smallDays();
    void millionsKeepEveryDigit();
    void decimalsWithoutBinaryNoise();
    void dayWithoutTanksPrintsNothing();
    void oneSnapshotWhileThePosWrites();
    void statementsDoNotGrowWithRows();
    void refusesADateThatIsNone();
    void demoStationAgreesWithBr040();
    void commandLinePdf();
    void screenFromTheMenu();

private:
    Br030Report build(const QString& date = "2024/05/07", Progress* progress = nullptr);
    std::unique_ptr<DataModule> dm_;
    std::unique_ptr<Query> work_;
    // The hand-made day's page, built once for all its labels.
    struct Page {
        rpt::Layout layout;
        rpt::RenderedReport rendered;
    };
    std::optional<Page> handMade_;
};

void TestBr030::init() {
    if (handMade_ && QByteArray(QTest::currentTestFunction()) == "handMadePage") return;
    testdb::recreate();
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
    dm_->settings.st_name = QString::fromUtf8("許厝港加油站");
    work_ = std::make_unique<Query>(dm_->cn);
}

void TestBr030::cleanup() {
    if (handMade_ && QByteArray(QTest::currentTestFunction()) == "handMadePage") return;
    work_.reset();
    dm_.reset();
}

Br030Report TestBr030::build(const QString& date, Progress* progress) {
    SilentProgress silent;
    return buildBr030(*dm_, *work_, {date, QString::fromUtf8("陰天")},
                      progress ? *progress : silent);
}

void TestBr030::handMadePage_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    // Worked out by hand from handMadeDay(). 92: sales 45,011 / 1500.35 L, tests 375 /
    // 12.50 L, tickets 3,003 / 100.10 L, charge 1,500 + 1,200 - 40 (the charge customer's
    // discount) = 2,660 / 90.00 L, cards 6,000 / 200.00 L, 捷利 300 / 10.00 L (after
    // midnight, still the business day), discounts 40 + 20 = 60; cash 45,011 - 60 - 3,003 -
    // 2,660 - 6,000 - 375 - 300 = 32,613 and 1500.35 - 100.10 - 90 - 200 - 12.50 - 10 =
    // 1087.75 L. Diesel: 50,000 - 25,000 - 500 - 1,250 (fleet) = 23,250 and 930.00 L; the
    // voided fleet sale and the previous day's count nowhere. 95: no payment row, no cash.
    const QList<QPair<const char*, const char*>> expected = {
        {"QRL1", "許厝港加油站"},
        {"QRL2", "陰天"},
        {"QRL5", "2024/05/07"},
        {"QRL6", "2024/05/07"},
        {"rate2", "43.15%"},
        {"rate3", "47.93%"},
        {"rate5", "8.92%"},
        {"rate8", ""},
        {"qty201", "1087.75"},
        {"amt201", "$32,613"},
        {"qty202", "100.10"},
        {"amt202", "$3,003"},
        {"qty203", "90.00"},
        {"amt203", "$2,660"},
        {"qty204", "200.00"},
        {"amt204", "$6,000"},
        {"qty205", "12.50"},
        {"amt205", "$375"},
        {"qty206", ""},
        {"amt206", ""},
        {"qty207", "10.00"},
        {"amt207", "$300"},
        {"amt208", "$60"},
        {"qty210", "1500.35"},
        {"amt210", "$45,011"},
        {"qty301", "930.00"},
        {"amt301", "$23,250"},
        {"qty302", ""},
        {"amt302", ""},
        {"qty303", ""},
        {"amt303", ""},
        {"qty304", "1000.00"},
        {"amt304", "$25,000"},
        {"qty305", "20.00"},
        {"amt305", "$500"},
        {"qty306", "50.00"},
        {"amt306", "$1,250"},
        {"qty307", ""},
        {"amt307", ""},
        {"amt308", ""},
        {"qty310", "2000.00"},
        {"amt310", "$50,000"},
        {"qty501", ""},
        {"amt501", ""},
        {"qty505", ""},
        {"amt505", ""},
        {"qty507", "30.10"},
        {"amt507", "$500"},
        {"amt508", ""},
        {"qty510", "300.30"},
        {"amt510", "$9,309"},
        {"qty801", ""},
        {"amt801", ""},
        {"qty810", ""},
        {"amt810", ""},
        // Totals: the sums of the four products' amounts.
        {"amtt01", "$55,863"},
        {"amtt02", "$3,003"},
        {"amtt03", "$2,660"},
        {"amtt04", "$31,000"},
        {"amtt05", "$875"},
        {"amtt06", "$1,250"},
        {"amtt07", "$800"},
        {"amtt08", "$60"},
        {"amtt10", "$104,320"},
        // Sub-products: shift_05 sales 8,500, cards 34,500 - 31,000, charge 3,000 - 2,660.
        {"amts01", "$4,660"},
        {"amts03", "$340"},
        {"amts04", "$3,500"},
        {"amts10", "$8,500"},
        // Income: main 104,320 - 60 - 875; sub 8,500 - 1,500 car wash; cash 111,885 - 1,250 -
        // 800 - 3,000 - 34,500 - 3,003.
        {"t1", "$69,332"},
        {"t2", "$3,000"},
        {"t3", "$34,500"},
        {"t4", "$1,250"},
        {"t5", "$800"},
        {"t6", "$3,003"},
        {"t7", "$103,385"},
        {"t8", "$7,000"},
        {"t9", "$1,500"},
        {"t10", "$111,885"},
        // Other deductions: 1,250 + 500 + 30 + 300 + 100 - 1,250 - 800.
        {"tOther", "$130"},
        {"QRDBText1", "$1,500"},
        // The month from 1130501 to 1130507, all products, tests left out; 7 days.
        {"totqty", "4,263.15"},
        {"totamt", "$117,295"},
        {"avgqty", "609.02"},
        {"avgamt", "$16,756"},
        {"dayqty", "3,800.65"}};
    for (const auto& [control, text] : expected)
        QTest::newRow(control) << QString(control) << QString::fromUtf8(text);
}

void TestBr030::handMadePage() {
    QFETCH(QString, control);
    QFETCH(QString, text);
    if (!handMade_) {
        handMadeDay();
        const rpt::Layout layout = br030Layout(build());
        handMade_ = Page{layout, rpt::render(layout, dm_->qy1, nullptr, QDate(2024, 5, 8))};
    }
    const rpt::Layout& layout = handMade_->layout;
    const rpt::RenderedReport& r = handMade_->rendered;
    QCOMPARE(r.pages.size(), 1);
    QVERIFY_NO_OVERLAP(r);
    QCOMPARE(printed(r, layout, control), text);
    if (control == "QRL1") {
        reportfiles::savePage(r, 0, "br030_page");
        const QStringList texts = pageTexts(r.pages[0]);
        for (const char* fixed : {"營業收入彙總表", "主產品庫存報表", "經   理 :", "2024/05/08"})
            QVERIFY2(texts.contains(QString::fromUtf8(fixed)), fixed);
    }
}

void TestBr030::tankTable() {
    handMadeDay();
    const Br030Report report = build();
    // Tank 01's three shifts: the first shift's opening stock, the sums of receipts and sales,
    // the last shift's closing stock; the oil name longer than the column cut at a whole
    // character (高級柴油(外 is 11 bytes, 購 would make 13).
    QCOMPARE(tankRows(dm_->qy1),
             QStringList({QString::fromUtf8("01|九二無鉛|10000|5000|1510.35|13489.65|13480|-9.65"),
                          QString::fromUtf8("02|九二無鉛汽油|8000|0|0|8000|8000|0"),
                          QString::fromUtf8("03|高級柴油(外|20000|0|2000|18000|18010.25|10.25")}));
    const rpt::Layout layout = br030Layout(report);
    const rpt::RenderedReport r = rpt::render(layout, dm_->qy1);
    QVERIFY_NO_OVERLAP(r);
    const QStringList texts = pageTexts(r.pages[0]);
    for (const char* shown : {"10,000.00", "1,510.35", "13,489.65", "-9.65", "0.00"})
        QVERIFY2(texts.contains(shown), shown);
    QVERIFY(texts.contains(QString::fromUtf8("高級柴油(外")));
    // Pressing preview again gives the same table, not twice as many rows.
    build();
    QCOMPARE(dm_->qy1.recordCount(), 3);
}

void TestBr030::smallDays_data() {
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QStringList>("expected"); // control=text
    const QString dieselDay = gun("1130507_1", "01", "01", diesel, "100.00", "2500");
    const QString dieselSale = QString(diesel) + "/101/40.00/1000";
    QTest::newRow("a fleet-card line moves column 06 and the cash, not the other deductions")
        << QStringList{dieselDay} +
               sale("2024/05/07 10:00", "1130507_1", "",
                    {dieselSale, QString(fleet) + "/132/0/-1000"}) +
               QStringList{oil("1130507_1", diesel, "0/0", "0/0", "0/0", "0/0")}
        << "2024/05/07" << QStringList{"qty306=40.00", "amt306=$1,000", "amtt06=$1,000",
                                       "qty301=60.00", "amt301=$1,500", "tOther=0"};
    QTest::newRow("a charge customer's discount moves 08 and 03, not the cash")
        << QStringList{dieselDay} +
               sale("2024/05/07 10:00", "1130507_1", "C01",
                    {dieselSale, "131D000000001/131/40.00/-40"}) +
               QStringList{oil("1130507_1", diesel, "0/0", "0/0", "0/0", "40.00/1000")}
        << "2024/05/07" << QStringList{"amt308=$40",    "amt303=$960",  "qty303=40.00",
                                       "amt301=$1,500", "qty301=60.00", "tOther=0"};
    QTest::newRow("a discount of no charge company lowers the cash")
        << QStringList{dieselDay} +
               sale("2024/05/07 10:00", "1130507_1", "  ",
                    {dieselSale, "131D000000001/131/40.00/-40"}) +
               QStringList{oil("1130507_1", diesel, "0/0", "0/0", "0/0", "40.00/1000")}
        << "2024/05/07" << QStringList{"amt308=$40", "amt303=$1,000", "amt301=$1,460"};
    QTest::newRow("a product missing from shift_02_oil has sales and tests but no cash")
        << QStringList{gun("1130507_1", "01", "01", u95, "50.00", "1550", "2.00", "62"),
                       shift05("1130507_1", "100", "0", "0", "0", "0", "0")}
        << "2024/05/07"
        << QStringList{"qty510=50.00", "amt510=$1,550", "qty505=2.00", "amt505=$62", "qty501=",
                       "amt501=",      "rate5=100.00%", "rate2=",      "t7=$1,488",  "t1=$1,588"};
    QTest::newRow("the first of a month: the day without its tests, averages over 1 day")
        << QStringList{gun("1130601_1", "01", "01", u92, "100.00", "3000", "4.00", "120"),
                       gun("1130531_1", "01", "01", u92, "70.00", "2100")}
        << "2024/06/01"
        << QStringList{"totqty=96.00", "totamt=$2,880", "avgqty=96.00", "avgamt=$2,880",
                       "dayqty=100.00"};
    QTest::newRow("daily averages rounded once, halves away from zero")
        << QStringList{gun("1130602_1", "01", "01", u92, "0.05", "5")} << "2024/06/02"
        << QStringList{"totqty=0.05", "totamt=$5", "avgqty=0.03", "avgamt=$3"};
    QTest::newRow("a day without shift_05 rows: no sub-products, no income cash")
        << QStringList{dieselDay, oil("1130507_1", diesel, "0/0", "10.00/250", "0/0", "0/0")}
        << "2024/05/07" << QStringList{"amts01=",    "amts03=",   "amts04=",    "amts10=",
                                       "t1=",        "t2=",       "t3=",        "t6=",
                                       "QRDBText1=", "t7=$2,500", "t10=$2,500", "amt301=$2,250"};
    QTest::newRow("a null sum of shift_05 prints nothing and leaves the cash at zero")
        << QStringList{dieselDay,
                       "insert into shift_05 (shift, goods_amt, diff_amt1, cdc1_amt, cdc2_amt, "
                       "credit_amt) values ('1130507_1', 300, 0, 0, 0, 0)"}
        << "2024/05/07"
        << QStringList{"t6=", "t2=$0", "t3=$0", "t1=", "amts10=$300", "amts01=$300", "t10=$2,800"};
    QTest::newRow("deductions of another fuel and of other products stay other deductions")
        << QStringList{dieselDay} +
               sale("2024/05/07 10:00", "1130507_1", "",
                    {QString(kerosene) + "/101/5.00/100", QString(fleet) + "/132/0/-100"}) +
               sale("2024/05/07 11:00", "1130507_1", "", {dieselSale, "132X00000001/132/0/-25"})
        << "2024/05/07" << QStringList{"tOther=$125", "amt306=", "amtt06="};
    QTest::newRow("a deduction larger than the day's sales prints negative amounts")
        << QStringList{gun("1130507_1", "01", "01", u98, "1.00", "30"),
                       oil("1130507_1", u98, "0/0", "0/0", "0/0", "0/0")} +
               sale("2024/05/07 10:00", "1130507_1", "",
                    {QString(u98) + "/101/1.00/30", QString(jieli) + "/132/0/-100"})
        << "2024/05/07" << QStringList{"amt807=$100", "amt801=-$70", "qty801=", "rate8=100.00%"};
}

void TestBr030::smallDays() {
    QFETCH(QStringList, statements);
    QFETCH(QString, date);
    QFETCH(QStringList, expected);
    sql(statements);
    // Every page needs a tank row to print at all.
    const QString key = QString("%1%2")
                            .arg(date.left(4).toInt() - 1911, 3, 10, QChar('0'))
                            .arg(date.mid(5, 2) + date.mid(8, 2));
    sql({tank(key + "_1", "01", "x", "0", "0", "0", "0", "0")});
    const rpt::Layout layout = br030Layout(build(date));
    const rpt::RenderedReport r = rpt::render(layout, dm_->qy1);
    QVERIFY_NO_OVERLAP(r);
    QCOMPARE(r.pages.size(), 1);
    for (const QString& e : expected) {
        const QString control = e.section('=', 0, 0);
        QCOMPARE(control + "=" + printed(r, layout, control), e);
    }
}

void TestBr030::millionsKeepEveryDigit() {
    // A month's worth of sales in one day: figures far wider than the grid's 9.8 mm labels.
    sql({gun("1130507_1", "01", "01", u92, "41152.23", "1234567"),
         gun("1130507_1", "01", "02", diesel, "345678.91", "8641976", "1234.56", "30864"),
         oil("1130507_1", u92, "12345.67/370370", "23456.78/703703", "0/0", "3456.78/103703"),
         oil("1130507_1", diesel, "0/0", "123456.78/3086419", "0/0", "0/0"),
         shift05("1130507_1", "9999999", "0", "3790122", "0", "103703", "370370"),
         tank("1130507_1", "01", "九二無鉛汽油", "123456.78", "234567.89", "1234567.89",
              "1123456.78", "1123400.00")});
    const rpt::Layout layout = br030Layout(build());
    const rpt::RenderedReport r = rpt::render(layout, dm_->qy1);
    QVERIFY_NO_OVERLAP(r);
    reportfiles::savePage(r, 0, "br030_millions");
    for (const rpt::TextItem& t : r.pages[0].texts)
        QVERIFY2(!t.clipped, qPrintable(t.text));
    const QStringList expected = {"amt210=$1,234,567", "amt310=$8,641,976", "amtt10=$9,876,543",
                                  "amt301=$5,524,693", "qty310=345678.91",  "amt201=$56,791",
                                  "t10=$19,845,678",   "t1=$15,581,483",    "amts10=$9,999,999",
                                  "totamt=$9,845,679", "dayqty=386,831.14"};
    for (const QString& e : expected) {
        const QString control = e.section('=', 0, 0);
        QCOMPARE(control + "=" + printed(r, layout, control), e);
    }
}

void TestBr030::decimalsWithoutBinaryNoise() {
    // A station keeping litres and dollars as float8: ten sales of 0.1 litre add up to
    // 0.9999999999999999 on the server; the page shows one litre, and a cash that is zero
    // in decimal prints nothing rather than "0.00" or "-0.00".
    testdb::recreate({false, true});
    QStringList s;
    for (int i = 1; i <= 10; ++i)
        s << gun("1130507_1", "01", QString("%1").arg(i, 2, 10, QChar('0')), u98, "0.1", "3");
    s << oil("1130507_1", u98, "0.3/9", "0.7/21", "0/0", "0/0")
      << tank("1130507_1", "07", "九八無鉛", "0.1", "0.2", "0.3", "0.1", "0.3");
    sql(s);
    QCOMPARE(testdb::adminValue("select sum(out_qty) = 1 from shift_01_gun"), QString("f"));
    const Br030Report report = build();
    QCOMPARE(report.figures.cells[3][Br030Col::Dispensed].quantity, Decimal::whole(1));
    const QHash<QString, QString> captions = br030Captions(report.figures);
    QCOMPARE(captions["qty810"], QString("1.00"));
    QCOMPARE(captions["amt810"], QString("$30"));
    QCOMPARE(captions["qty801"], QString());
    QCOMPARE(captions["amt801"], QString());
    QCOMPARE(captions["dayqty"], QString("1.00"));
    QCOMPARE(tankRows(dm_->qy1),
             QStringList{QString::fromUtf8("07|九八無鉛|0.3|0.1|0.2|0.1|0.3|0.2")});
}

void TestBr030::dayWithoutTanksPrintsNothing() {
    sql({gun("1130507_1", "01", "01", u92, "10.00", "300")});
    const Br030Report report = build();
    QCOMPARE(report.figures.totals[Br030Col::Dispensed], 300);
    QVERIFY(dm_->qy1.active());
    QCOMPARE(dm_->qy1.recordCount(), 0);
    QVERIFY(rpt::render(br030Layout(report), dm_->qy1).pages.isEmpty());
}

void TestBr030::oneSnapshotWhileThePosWrites() {
    handMadeDay();
    // Right after the first statement, the point-of-sale system closes another shift.
    WritingMeanwhile pos([] {
        sql(QStringList{tank("1130507_2", "03", "超級柴油", "0", "5.00", "18000", "17995", "17995"),
                        shift05("1130507_3", "100000", "0", "0", "0", "0", "0"),
                        oil("1130507_3", diesel, "0/0", "500.00/12500", "0/0", "0/0"),
                        shift06("1130507_2", "20000003", "102", "70000")});
    });
    const Br030Report report = build("2024/05/07", &pos);
    QCOMPARE(testdb::adminValue("select count(*) from shift_05 where shift = '1130507_3'"),
             QString("1"));
    QCOMPARE(report.figures.goodsSales.value_or(0), 8500);
    QCOMPARE(report.figures.carWash, 1500);
    QCOMPARE(report.figures.cells[1][Br030Col::BankCard].amount, 25000);
    QCOMPARE(tankRows(dm_->qy1).last(),
             QString::fromUtf8("03|高級柴油(外|20000|0|2000|18000|18010.25|10.25"));
    QVERIFY(!dm_->cn.inTransaction());
}

void TestBr030::statementsDoNotGrowWithRows() {
    QList<qint64> counts;
    for (int size : {1, 8}) {
        // `size` tanks of three shifts, nozzles and car-wash rows, 10 × size² card sales.
        testdb::recreate();
        sql({QString("insert into shift_03_tank (shift, tank, oilname, in_stock, sale, account1, "
                     "account2, real2) select '1130507_' || s, '0' || t, 'x', 1, 2, 3, 4, 5 from "
                     "generate_series(1, 3) s, generate_series(1, %1) t")
                 .arg(size),
             QString("insert into tran (island, gun_no, tran_time, shift, ref_no2, an_mark) "
                     "select '01', '01', timestamp '2024-05-07 10:00' + g * interval '1 second', "
                     "'1130507_1', '', '000' from generate_series(1, %1) g")
                 .arg(size * size * 10),
             QString("insert into tran_detl (island, gun_no, tran_time, seq, shift, product_id, "
                     "class, qty, amt) select island, gun_no, tran_time, 1, shift, '%1', '101', "
                     "40, 1000 from tran union all select island, gun_no, tran_time, 2, shift, "
                     "'%2', '132', 0, -1000 from tran")
                 .arg(diesel, fleet),
             QString("insert into shift_01_gun (shift, island, gun_no, product_id, out_qty, "
                     "out_amt, test_qty, test_amt, walk_qty, walk_amt) select '1130507_1', '01', "
                     "lpad(g::text, 2, '0'), '%1', 100, 2500, 0, 0, 0, 0 from "
                     "generate_series(1, %2) g")
                 .arg(diesel)
                 .arg(size),
             QString("insert into shift_06 (shift, product_id, class, amt) select '1130507_' || "
                     "g, '20000001', '102', 10 from generate_series(1, %1) g")
                 .arg(size)});
        DataModule dm;
        testdb::configure(dm.cn);
        Query work(dm.cn);
        SilentProgress progress;
        dm.cn.connect();
        const qint64 before = dm.cn.statementsSent();
        const Br030Report report = buildBr030(dm, work, {"2024/05/07", "晴天"}, progress);
        counts << dm.cn.statementsSent() - before;
        QCOMPARE(dm.qy1.recordCount(), size);
        QCOMPARE(report.figures.totals[Br030Col::Fleet], 1000 * size * size * 10);
        QCOMPARE(report.figures.carWash, 10 * size);
    }
    QCOMPARE(counts[0], counts[1]);
    QVERIFY2(counts[0] <= 14, qPrintable(QString::number(counts[0])));
}

void TestBr030::refusesADateThatIsNone() {
    try {
        build("2024/02/30");
        QFAIL("no refusal");
    } catch (const InputRefused& e) {
        QCOMPARE(e.field(), QString("e01"));
        QVERIFY(e.message().contains("2024/02/30"));
    }
}

void TestBr030::demoStationAgreesWithBr040() {
    DemoOptions options;
    options.seed = 3;
    options.days = 3;
    options.salesPerDay = 400;
    options.lastDay = QDate(2024, 5, 7);
    fixture::loadDemoStation(options);
    SilentProgress progress;
    const Br040Report month = buildBr040(*dm_, *work_, {"2024/05/05", "2024/05/07"}, progress);
    QCOMPARE(month.days.size(), 3);
    for (const Br040Day& day : month.days) {
        const QString date = "2024/05/" + day.tdate.right(2);
        const Br030Report report = build(date);
        const Br030Figures& f = report.figures;
        // The day's deposit is the same money whichever report adds it up.
        QCOMPARE(f.incomeCash, day.cash.toWhole());
        QCOMPARE(f.totalIncome, (day.revenue - day.discounts).toWhole());
        QCOMPARE(f.fleetCard, day.fleetCard.toWhole());
        QCOMPARE(f.jieliCard, day.jieliCard.toWhole());
        QCOMPARE(f.carWash, day.carWash.toWhole());
        QCOMPARE(f.subIncome, day.goods.toWhole());
        // The card lines of the sales are the card totals of the shifts.
        QCOMPARE(f.totals[Br030Col::Fleet], f.fleetCard);
        QCOMPARE(f.totals[Br030Col::Jieli], f.jieliCard);
        QCOMPARE(f.totals[Br030Col::Tests], day.tests.toWhole());
        QVERIFY(f.fleetCard > 0 && f.jieliCard > 0);
        QCOMPARE(dm_->qy1.recordCount(), 8);
        const rpt::RenderedReport r = rpt::render(br030Layout(report), dm_->qy1);
        QVERIFY_NO_OVERLAP(r);
        QCOMPARE(r.pages.size(), 1);
        if (date == "2024/05/07") reportfiles::savePage(r, 0, "br030_demo_page");
    }
}

void TestBr030::commandLinePdf() {
    handMadeDay();
    sql({"insert into set_system values ('st_name', 'Station')"});
    QTemporaryDir folder;
    const QString pdf = folder.filePath("br030.pdf");
    reportfiles::Outcome run = reportfiles::runTolvar(
        folder.path(), {"report", "BR030", "--date", "2024/05/07", "--weather",
                        QString::fromUtf8("雨天"), "--pdf", pdf});
    QCOMPARE(run.status, 0);
    const QString said = run.out;
    QVERIFY2(said.contains(QString::fromUtf8("3 列，1 頁")), qPrintable(said));
    const QString content = reportfiles::pdfText(pdf);
    for (const char* shown :
         {"營業收入彙總表", "雨天", "Station", "2024/05/07", "$104,320", "$69,332", "43.15%",
          "1087.75", "13,489.65", "高級柴油(外", "主產品庫存報表"})
        QVERIFY2(content.contains(QString::fromUtf8(shown)), shown);
    QVERIFY(QString(content).remove(' ').contains(QString::fromUtf8("站長:")));

    // A day without tank rows: nothing to print, no file; a bad date is refused.
    QFile::remove(pdf);
    run = reportfiles::runTolvar(folder.path(),
                                 {"report", "BR030", "--date", "2024/05/09", "--pdf", pdf});
    QCOMPARE(run.status, 0);
    QVERIFY(!QFile::exists(pdf));
    run = reportfiles::runTolvar(folder.path(),
                                 {"report", "BR030", "--from", "2024/05/01", "--pdf", pdf});
    QCOMPARE(run.status, 2);
    QVERIFY(run.err.contains("--from"));
}

void TestBr030::screenFromTheMenu() {
    handMadeDay();
    TMainForm menu;
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    bool checked = false;
    QString pageLabel;
    QStringList shown;
    QString overlap;
    gui::answerNextDialog(
        [&](QWidget* dialog) {
            auto* screen = qobject_cast<TFrmBR030*>(dialog);
            if (!screen) return;
            QCOMPARE(screen->windowTitle(), QString::fromUtf8("BR030 營業收入彙總表"));
            QCOMPARE(screen->e01->text(), QDate::currentDate().toString("yyyy/MM/dd"));
            QVERIFY(screen->e01->isReadOnly());
            QVERIFY(screen->findChild<QToolButton*>("SpeedButton1"));
            QCOMPARE(screen->e02->currentText(), QString::fromUtf8("晴天"));
            QCOMPARE(screen->e02->count(), 5);
            QVERIFY(screen->e02->isEditable());
            gui::saveScreenshot(screen, "br030_screen");
            gui::answerNextDialog([](QWidget* picker) {
                auto* p = qobject_cast<TBrDateForm*>(picker);
                if (!p) return;
                p->setDate(QDate(2024, 5, 7));
                p->OkBtn->click();
            });
            screen->findChild<QToolButton*>("SpeedButton1")->click();
            QCOMPARE(screen->e01->text(), QString("2024/05/07"));
            screen->e02->setEditText(QString::fromUtf8("晴時多雲偶陣雨"));
            answerPreview([&](ReportPreview* preview) {
                pageLabel = preview->PageLabel->text();
                shown = pageTexts(preview->report().pages.value(0));
                overlap = overlappingTexts(preview->report());
                gui::saveScreenshot(preview, "br030_preview");
                preview->CloseButton->click();
            });
            screen->SpeedButtonPrn->click();
            checked = true;
            screen->BitBtnExit->click();
        },
        nullptr, 60000);
    menu.button("sb04")->click();
    QVERIFY(checked);
    QCOMPARE(pageLabel, QString::fromUtf8("第 1 / 1 頁"));
    // The weather as typed and the picked day reach the page.
    QVERIFY(shown.contains(QString::fromUtf8("晴時多雲偶陣雨")));
    QVERIFY(shown.contains("$104,320"));
    QVERIFY2(overlap.isEmpty(), qPrintable(overlap));
    QVERIFY(!dm_->cn.connected());
}

QTEST_MAIN(TestBr030)
#include "tst_br030.moc"
