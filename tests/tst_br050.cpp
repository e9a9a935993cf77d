// BR050 oil-meter start/end: the nozzle lines with their wraps, corrections and errors as
// printed, the summary box, the shift checks, the end-shift default, the one statement, the
// screen and the command line.
#include "app/data_module.h"
#include "app/gui_start.h"
#include "app/progress.h"
#include "db/copy_loader.h"
#include "db/input_refused.h"
#include "demo/station_generator.h"
#include "fuel/br050_build.h"
#include "fuel/br050_layout.h"
#include "fuel/br050_screen.h"
#include "reports/common/number_mask.h"
#include "reports/common/page_painter.h"
#include "reports/common/report_preview.h"
#include "reports/common/report_renderer.h"
#include "support/gui_support.h"
#include "support/page_checks.h"
#include "support/report_files.h"
#include "support/test_database.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

const char* const u92 = "113F 12092005";
const char* const diesel = "113F 51101001";
const char* const u95 = "113F 12095001";
const char* const u98 = "113F 12098008";
const char* const kerosene = "114X 00000001";

// One shift_01_gun row; "null" leaves a figure empty.
struct Gun {
    const char* shift;
    const char* island;
    const char* gun;
    const char* product;
    const char* price;
    const char* startQty;
    const char* startAmt;
    const char* nowQty;
    const char* nowAmt;
};

void insertGuns(const QList<Gun>& guns) {
    QString sql = "insert into shift_01_gun (shift, island, gun_no, product_id, oilname, price, "
                  "start_qty, start_amt, now_qty, now_amt) values ";
    for (qsizetype i = 0; i < guns.size(); ++i) {
        const Gun& g = guns[i];
        sql += QString("%1('%2', '%3', '%4', '%5', 'oil', %6, %7, %8, %9, %10)")
                   .arg(i ? ", " : "", g.shift, g.island, g.gun, g.product, g.price, g.startQty,
                        g.startAmt, g.nowQty)
                   .arg(g.nowAmt);
    }
    testdb::admin(sql, "pos_data");
}

// A start shift 1130507_1 and an end shift 1130507_3 of five nozzles: a volume meter that
// wrapped and an amount one dollar over Q × price; a price change; an amount meter that
// wrapped below 100000; a nozzle missing from the end shift; a product that is no fuel.
void fiveNozzles() {
    insertGuns({
        {"1130507_1", "01", "01", u92, "31.2", "99950.00", "50000", "0", "0"},
        {"1130507_3", "01", "01", u92, "31.2", "0", "0", "30.00", "52497"},
        {"1130507_1", "01", "02", diesel, "27.5", "100.00", "10000", "0", "0"},
        {"1130507_3", "01", "02", diesel, "28.0", "0", "0", "120.00", "10560"},
        {"1130507_1", "02", "01", u95, "27.5", "0.00", "10000", "0", "0"},
        {"1130507_3", "02", "01", u95, "27.5", "0", "0", "4000.00", "20000"},
        {"1130507_1", "02", "02", u98, "33.0", "1500.00", "70000", "0", "0"},
        {"1130507_1", "03", "01", kerosene, "20.0", "10.00", "100", "0", "0"},
        {"1130507_3", "03", "01", kerosene, "20.0", "0", "0", "20.00", "305"},
    });
}

// The line of `page` that begins with `first` and `second`.
QStringList lineStarting(const rpt::PageItems& page, const QString& first, const QString& second) {
    for (const QStringList& line : reportfiles::linesOf(page))
        if (line.size() > 1 && line[0] == first && line[1] == second) return line;
    return {};
}

QString yesterday() {
    return QDate::currentDate().addDays(-1).toString("yyyy/MM/dd");
}

QString keyOf(const QDate& d) {
    return QString("%1%2").arg(d.year() - 1911, 3, 10, QChar('0')).arg(d.toString("MMdd"));
}

} // namespace

class TestBr050 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void nozzleLinesAndSummary_data();
    void nozzleLinesAndSummary();
    void shiftChecks_data();
    void shiftChecks();
    void endShiftDefault_data();
    void endShiftDefault();
    void oneStatementWhateverTheNozzles();
    void demoStationMonth();
    void screenDefaultsRefusalsAndPreview();
    void commandLine_data();
    void commandLine();

private:
    rpt::RenderedReport build(const Br050Params& p);
    std::unique_ptr<DataModule> dm_;
};

void TestBr050::initTestCase() {
    setUpChineseFonts();
}

void TestBr050::init() {
    testdb::recreate();
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
    dm_->settings.st_name = QString::fromUtf8("許厝港加油站");
}

void TestBr050::cleanup() {
    dm_.reset();
}

rpt::RenderedReport TestBr050::build(const Br050Params& p) {
    SilentProgress progress;
    const Br050Titles titles = buildBr050(*dm_, p, progress);
    return rpt::render(br050Layout(titles), dm_->qy, nullptr, QDate(2024, 5, 8));
}

void TestBr050::nozzleLinesAndSummary_data() {
    QTest::addColumn<bool>("charCodes");
    QTest::newRow("varchar codes, numeric readings") << false;
    QTest::newRow("char(n) codes, float8 readings") << true;
}

void TestBr050::nozzleLinesAndSummary() {
    QFETCH(bool, charCodes);
    if (charCodes) {
        TrialSchemaOptions options;
        options.charCodes = true;
        testdb::recreate(options);
    }
    fiveNozzles();
    const rpt::RenderedReport r = build({"2024/05/07", "2024/05/07", "1", "3"});
    QVERIFY_NO_OVERLAP(r);
    QVERIFY2(cutTexts(r).isEmpty(), qPrintable(cutTexts(r)));
    QCOMPARE(r.pages.size(), 1);
    const rpt::PageItems& page = r.pages[0];
    // island, nozzle, label, amount open/close, sold, volume open/close, sold, error
    QCOMPARE(lineStarting(page, "01", "01"),
             QStringList({"01", "01", "(92)", "50,000", "52,497", "2,497", "99,950.00", "30.00",
                          "80.00", "1"}));
    // The price went from 27.5 to 28.0: no error, although 560 is not 20 × 27.5.
    QCOMPARE(lineStarting(page, "01", "02"),
             QStringList({"01", "02", QString::fromUtf8("(柴)"), "10,000", "10,560", "560",
                          "100.00", "120.00", "20.00"}));
    // 4000 L at 27.5 is 110,000 while the meter moved 10,000: it turned once more.
    QCOMPARE(lineStarting(page, "02", "01"),
             QStringList({"02", "01", "(95)", "10,000", "20,000", "110,000", "0.00", "4,000.00",
                          "4,000.00"}));
    // Not in the end shift: the opening readings only.
    QCOMPARE(lineStarting(page, "02", "02"),
             QStringList({"02", "02", "(98)", "70,000", "1,500.00"}));
    // No fuel: no label, though the nozzle before it was a 98.
    QCOMPARE(lineStarting(page, "03", "01"),
             QStringList({"03", "01", "100", "305", "205", "10.00", "20.00", "10.00", "5"}));
    // The summary box: the fuels, then the total with the kerosene nozzle.
    const auto boxRow = [&](const char* caption) {
        for (const QStringList& line : reportfiles::linesOf(page)) {
            const qsizetype at = line.indexOf(QString::fromUtf8(caption));
            if (at >= 0) return line.mid(at);
        }
        return QStringList();
    };
    QCOMPARE(boxRow("九二無鉛"),
             QStringList({QString::fromUtf8("九二無鉛"), "2,497", "80.00", "1"}));
    QCOMPARE(boxRow("超級柴油"), QStringList({QString::fromUtf8("超級柴油"), "560", "20.00"}));
    QCOMPARE(boxRow("九五無鉛"),
             QStringList({QString::fromUtf8("九五無鉛"), "110,000", "4,000.00"}));
    QCOMPARE(boxRow("九八無鉛"), QStringList({QString::fromUtf8("九八無鉛"), "0", "0.00"}));
    QCOMPARE(boxRow("合  計"),
             QStringList({QString::fromUtf8("合  計"), "113,262", "4,110.00", "6"}));
    // The title band.
    const QStringList all = [&] {
        QStringList texts;
        for (const QStringList& line : reportfiles::linesOf(page))
            texts << line;
        return texts;
    }();
    for (const char* text : {"許厝港加油站", "油 錶 記 錄 起 迄 表", "製表日期:", "2024/05/08"})
        QVERIFY2(all.contains(QString::fromUtf8(text)), text);
    QCOMPARE(lineStarting(page, QString::fromUtf8("資料日期:"), "2024/05/07"),
             QStringList({QString::fromUtf8("資料日期:"), "2024/05/07", "-", "1",
                          QString::fromUtf8("至"), "2024/05/07", "-", "3",
                          QString::fromUtf8("製表日期:"), "2024/05/08"}));
    if (!charCodes) reportfiles::savePage(r, 0, "br050_page1");

    // A second printing starts its totals from nought.
    const rpt::RenderedReport again = build({"2024/05/07", "2024/05/07", "1", "3"});
    QCOMPARE(reportfiles::linesOf(again.pages[0]), reportfiles::linesOf(page));
}

void TestBr050::shiftChecks_data() {
    QTest::addColumn<Br050Params>("params");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("lines");
    const QString blank = QString::fromUtf8("班別不可空白...");
    const QString range = QString::fromUtf8("日期班別範圍錯誤...");
    QTest::newRow("start shift empty")
        << Br050Params{"2024/05/07", "2024/05/07", " ", "3"} << blank << "e03" << 0;
    QTest::newRow("end shift empty")
        << Br050Params{"2024/05/07", "2024/05/07", "1", ""} << blank << "e04" << 0;
    QTest::newRow("shift 2 to shift 1 of one day")
        << Br050Params{"2024/05/07", "2024/05/07", "2", "1"} << range << "e04" << 0;
    QTest::newRow("end date before the start")
        << Br050Params{"2024/05/07", "2024/05/06", "1", "3"} << range << "e04" << 0;
    QTest::newRow("one shift from its start to its end")
        << Br050Params{"2024/05/07", "2024/05/07", "1", "1"} << QString() << "" << 1;
    QTest::newRow("the last shift to the next morning")
        << Br050Params{"2024/05/07", "2024/05/08", "3", "1"} << QString() << "" << 1;
    QTest::newRow("two characters name no shift")
        << Br050Params{"2024/05/07", "2024/05/07", "1", "13"}
        << QString::fromUtf8("班別錯誤,請重新輸入...") << "e04" << 0;
    QTest::newRow("a date that is none")
        << Br050Params{"2024/02/30", "2024/05/07", "1", "3"}
        << QString::fromUtf8("日期錯誤: '2024/02/30' 不是正確的日期...") << "e01" << 0;
}

void TestBr050::shiftChecks() {
    QFETCH(Br050Params, params);
    QFETCH(QString, message);
    QFETCH(QString, field);
    QFETCH(int, lines);
    insertGuns({{"1130507_1", "01", "01", u92, "30", "100", "3000", "110", "3300"},
                {"1130507_3", "01", "01", u92, "30", "110", "3300", "120", "3600"},
                {"1130508_1", "01", "01", u92, "30", "120", "3600", "130", "3900"}});
    SilentProgress progress;
    const qint64 before = dm_->cn.statementsSent();
    try {
        buildBr050(*dm_, params, progress);
        QVERIFY2(message.isEmpty(), "accepted what it should refuse");
        QCOMPARE(dm_->qy.recordCount(), lines);
    } catch (const InputRefused& e) {
        QCOMPARE(e.message(), message);
        QCOMPARE(e.field(), field);
        QCOMPARE(dm_->cn.statementsSent(), before); // refused before reading anything
    }
}

void TestBr050::endShiftDefault_data() {
    QTest::addColumn<QStringList>("shifts");
    QTest::addColumn<QString>("last");
    QTest::newRow("three shifts a day") << QStringList{"1", "3", "2"} << "3";
    QTest::newRow("two") << QStringList{"2", "1"} << "2";
    QTest::newRow("no shift table rows") << QStringList{} << "1";
}

void TestBr050::endShiftDefault() {
    QFETCH(QStringList, shifts);
    QFETCH(QString, last);
    for (const QString& s : shifts)
        testdb::admin(QString("insert into shift values ('%1')").arg(s), "pos_data");
    QCOMPARE(br050LastShift(*dm_), last);
    QVERIFY(!dm_->qy2.active());
}

void TestBr050::oneStatementWhateverTheNozzles() {
    for (int nozzles : {3, 400}) {
        testdb::admin("delete from shift_01_gun", "pos_data");
        testdb::admin(QString("insert into shift_01_gun (shift, island, gun_no, product_id, price, "
                              "start_qty, start_amt, now_qty, now_amt) select s, lpad((g / 10 + "
                              "1)::text, 2, '0'), lpad((g % 10)::text, 2, '0'), '%1', 30, g, g * "
                              "30, g + 10, g * 30 + 300 from generate_series(0, %2) g, "
                              "(values ('1130507_1'), ('1130507_3')) v(s)")
                          .arg(u92)
                          .arg(nozzles - 1),
                      "pos_data");
        dm_->cn.connect();
        const qint64 before = dm_->cn.statementsSent();
        SilentProgress progress;
        buildBr050(*dm_, {"2024/05/07", "2024/05/07", "1", "3"}, progress);
        QCOMPARE(dm_->cn.statementsSent() - before, qint64(1));
        QCOMPARE(dm_->qy.recordCount(), nozzles);
        // Island and nozzle order, whatever order the join came back in.
        QCOMPARE(dm_->qy.field("island").asText(), QString("01"));
        dm_->qy.last();
        QCOMPARE(dm_->qy.field("gun_no").asText(),
                 QString("%1").arg((nozzles - 1) % 10, 2, 10, QChar('0')));
    }
}

// Twenty days of a generated station, from the first shift of the 1st to the last of the
// 20th: each nozzle's meters moved by what it dispensed, wraps of the demo's totalizers
// included, so the volume and amount sold are the sums of its shifts' out_qty and out_amt.
void TestBr050::demoStationMonth() {
    {
        DemoOptions options;
        options.seed = 3;
        options.days = 20;
        options.salesPerDay = 60;
        options.lastDay = QDate(2024, 3, 20);
        CopyLoader loader(dm_->cn);
        SilentProgress progress;
        generateDemoStation(options, loader, progress);
        loader.finish();
    }
    QVERIFY(testdb::adminValue("select count(*) from shift_01_gun where shift between "
                               "'1130301_1' and '1130320_3' and now_qty < start_qty")
                .toInt() > 0); // a volume meter wrapped in the range
    Query sums(dm_->cn);
    sums.setSql("select island, gun_no, sum(out_amt), sum(out_qty) from shift_01_gun where shift "
                "between '1130301_1' and '1130320_3' group by island, gun_no order by 1, 2");
    sums.open();
    QStringList expected;
    double amount = 0, volume = 0;
    for (sums.first(); !sums.eof(); sums.next()) {
        expected << QStringList{sums.fieldAt(0).asText(), sums.fieldAt(1).asText(),
                                formatMask(sums.fieldAt(2).asFloat(), "###,##0"),
                                formatMask(sums.fieldAt(3).asFloat(), "###,##0.00")}
                        .join(' ');
        amount += sums.fieldAt(2).asFloat();
        volume += sums.fieldAt(3).asFloat();
    }
    const rpt::RenderedReport r = build({"2024/03/01", "2024/03/20", "1", "3"});
    QVERIFY_NO_OVERLAP(r);
    QVERIFY2(cutTexts(r).isEmpty(), qPrintable(cutTexts(r)));
    QStringList printed;
    QStringList total;
    for (const rpt::PageItems& page : r.pages)
        for (const QStringList& line : reportfiles::linesOf(page)) {
            if (line.size() >= 9 && line[0].size() == 2 && line[0][0].isDigit())
                printed << QStringList{line[0], line[1], line[5], line[8]}.join(' ');
            const qsizetype at = line.indexOf(QString::fromUtf8("合  計"));
            if (at >= 0) total = line.mid(at + 1);
        }
    QCOMPARE(printed, expected);
    QCOMPARE(total.mid(0, 2),
             QStringList({formatMask(amount, "#,###,##0"), formatMask(volume, "###,##0.00")}));
    reportfiles::savePage(r, 0, "br050_demo_page1");
}

void TestBr050::screenDefaultsRefusalsAndPreview() {
    const QString key = keyOf(QDate::currentDate().addDays(-1));
    testdb::admin("insert into shift values ('1'), ('2'), ('3')", "pos_data");
    insertGuns({{qPrintable(key + "_1"), "01", "01", u92, "30", "100", "3000", "0", "0"},
                {qPrintable(key + "_3"), "01", "01", u92, "30", "0", "0", "110", "3300"}});
    TFrmBR050 screen;
    screen.FormCreate();
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    QApplication::setActiveWindow(&screen);
    QCOMPARE(screen.windowTitle(), QString::fromUtf8("BR050 油錶記錄起迄表"));
    QCOMPARE(screen.e01->text(), yesterday());
    QCOMPARE(screen.e02->text(), yesterday());
    QCOMPARE(screen.e03->text(), QString("1"));
    QCOMPARE(screen.e04->text(), QString("3"));
    QCOMPARE(screen.e04->maxLength(), 1);
    QVERIFY(!screen.findChild<QPushButton*>("SBT")); // no export
    gui::saveScreenshot(&screen, "br050_screen");

    struct Refusal {
        const char* from;
        const char* to;
        const char* message;
        QWidget* focus;
    };
    for (const Refusal& r : {Refusal{"1", "", "班別不可空白...", screen.e04},
                             Refusal{"", "3", "班別不可空白...", screen.e03},
                             Refusal{"2", "1", "日期班別範圍錯誤...", screen.e04}}) {
        screen.e03->setText(r.from);
        screen.e04->setText(r.to);
        screen.SpeedButtonPrn->setFocus();
        QString seen;
        gui::pressInNextMessageBox(QMessageBox::Ok, &seen);
        screen.SpeedButtonPrn->click();
        QCOMPARE(seen, QString::fromUtf8(r.message));
        QTRY_COMPARE(screen.focusWidget(), r.focus);
        QVERIFY(screen.isVisible());
    }

    screen.e03->setText("1");
    screen.e04->setText("3");
    QString pageLabel;
    gui::answerNextDialog([&](QWidget* dialog) {
        auto* preview = qobject_cast<ReportPreview*>(dialog);
        if (!preview) return;
        pageLabel = preview->PageLabel->text();
        gui::saveScreenshot(preview, "br050_preview");
        preview->CloseButton->click();
    });
    screen.SpeedButtonPrn->click();
    QCOMPARE(pageLabel, QString::fromUtf8("第 1 / 1 頁"));
    screen.BitBtnExit->click();
    QVERIFY(!dm_->cn.connected());
}

void TestBr050::commandLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("says");    // on stdout or stderr
    QTest::addColumn<QString>("printed"); // in the PDF; empty: no PDF written
    const QStringList day{"--from", "2024/05/07", "--to", "2024/05/07"};
    QTest::newRow("shifts given") << day + QStringList{"--from-shift", "1", "--to-shift", "2"} << 0
                                  << "BR050"
                                  << "2,400";
    QTest::newRow("the end shift defaults to the last of the shift table") << day << 0 << "BR050"
                                                                           << "4,200";
    QTest::newRow("end before start") << day + QStringList{"--from-shift", "3", "--to-shift", "1"}
                                      << 2 << QString::fromUtf8("日期班別範圍錯誤...") << "";
    QTest::newRow("no nozzle in the start shift")
        << QStringList{"--from", "2024/06/07", "--to", "2024/06/07"} << 0
        << QString::fromUtf8("沒有資料") << "";
    QTest::newRow("an option BR050 does not take")
        << day + QStringList{"--tank", "01"} << 2 << "--tank"
        << "";
}

void TestBr050::commandLine() {
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, says);
    QFETCH(QString, printed);
    testdb::admin("insert into shift values ('1'), ('2'), ('3')", "pos_data");
    insertGuns({{"1130507_1", "01", "01", u92, "30", "100", "3000", "0", "0"},
                {"1130507_2", "01", "01", u92, "30", "0", "0", "180", "5400"},
                {"1130507_3", "01", "01", u92, "30", "0", "0", "240", "7200"}});
    QTemporaryDir folder;
    const QString pdf = folder.filePath("br050.pdf");
    reportfiles::Outcome run = reportfiles::runTolvar(
        folder.path(), QStringList{"report", "BR050"} + args + QStringList{"--pdf", pdf});
    const QString output = run.output;
    QCOMPARE(run.status, status);
    QVERIFY2(output.contains(says), qPrintable(output));
    QCOMPARE(QFile::exists(pdf), !printed.isEmpty());
    if (printed.isEmpty()) return;
    const QString content = reportfiles::pdfText(pdf);
    QVERIFY2(content.contains(printed), qPrintable(content));
    QVERIFY(content.contains(QString::fromUtf8("油 錶 記 錄 起 迄 表")));
}

QTEST_MAIN(TestBr050)
#include "tst_br050.moc"
