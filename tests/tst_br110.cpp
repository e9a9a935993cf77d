// BR110 oil-supplier settlement: the value of a delivery as the database rounds it, the
// deliveries listed and left out, the totals per fuel, the export byte for byte, the one
// statement, the screen with its product lookup and the command line.
#include "app/data_module.h"
#include "app/gui_start.h"
#include "app/progress.h"
#include "db/copy_loader.h"
#include "demo/station_generator.h"
#include "fuel/br110_build.h"
#include "fuel/br110_layout.h"
#include "fuel/br110_screen.h"
#include "reports/common/number_mask.h"
#include "reports/common/page_painter.h"
#include "reports/common/report_preview.h"
#include "reports/common/report_renderer.h"
#include "reports/common/sylk_writer.h"
#include "screens/common/lookup_picker.h"
#include "support/gui_support.h"
#include "support/page_checks.h"
#include "support/report_files.h"
#include "support/test_database.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

const char* const diesel = "113F 51101001";
const char* const u92 = "113F 12092005";
const char* const u95 = "113F 12095001";
const char* const kerosene = "114X 00000001";

struct Delivery {
    const char* shift;
    const char* tank;
    const char* volume;
    const char* price;
    const char* product;
    const char* mark = "";
    const char* bill = "TP1";
};

void insertDeliveries(const QList<Delivery>& rows) {
    QString sql = "insert into oil_change (shift, target_tank, gasoline_vol, in_price, bill_no, "
                  "prod_id, del_mark) values ";
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const Delivery& d = rows[i];
        sql +=
            QString("%1('%2', '%3', %4, %5, '%6', '%7', '%8')")
                .arg(i ? ", " : "", d.shift, d.tank, d.volume, d.price, d.bill, d.product, d.mark);
    }
    testdb::admin(sql, "pos_data");
}

// The texts of each line of `page` below its column headings, left to right.
QList<QStringList> linesOf(const rpt::PageItems& page) {
    return reportfiles::linesOf(page, 5 + 29.6);
}

QByteArray big5(const QString& text) {
    QStringEncoder encoder("windows-950");
    return encoder.encode(text);
}

} // namespace

class TestBr110 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void valueRoundedByTheDatabase_data();
    void valueRoundedByTheDatabase();
    void deliveriesAndTotals_data();
    void deliveriesAndTotals();
    void exportByteForByte();
    void oneStatementWhateverTheDeliveries();
    void demoStationMonth();
    void screenLookupPreviewAndExport();
    void commandLine_data();
    void commandLine();

private:
    rpt::RenderedReport build(const Br110Params& p);
    std::unique_ptr<DataModule> dm_;
};

void TestBr110::initTestCase() {
    setUpChineseFonts();
}

void TestBr110::init() {
    testdb::recreate();
    testdb::admin(
        QString::fromUtf8("insert into product (product_id, name, class, price) values "
                          "('113F 51101001', '超級柴油', '101', 27), ('113F 12092005', '九二無鉛', "
                          "'101', 30), ('113F 12095001', '九五無鉛', '101', 31), ('113F 12098008', "
                          "'九八無鉛', '101', 33), ('114X 00000001', '煤油', '101', 20), "
                          "('300A 00000001', '洗車', '102', 100)"),
        "pos_data");
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
    dm_->settings.st_name = QString::fromUtf8("許厝港加油站");
}

void TestBr110::cleanup() {
    dm_.reset();
}

rpt::RenderedReport TestBr110::build(const Br110Params& p) {
    SilentProgress progress;
    const Br110Titles titles = buildBr110(*dm_, p, progress);
    return rpt::render(br110Layout(titles), dm_->qy, nullptr, QDate(2024, 6, 1));
}

void TestBr110::valueRoundedByTheDatabase_data() {
    QTest::addColumn<QString>("volume");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QStringList>("printed"); // price, volume, value
    QTest::newRow("10000.5 L at 25.1234: 251246.5617")
        << "10000.5"
        << "25.1234" << QStringList{"25.1234", "10,001", "251,247"};
    QTest::newRow("3001 L at 24.5: a half goes to the even 73,524")
        << "3001.00"
        << "24.5" << QStringList{"24.5000", "3,001", "73,524"};
    QTest::newRow("3003 L at 24.5: a half goes to the even 73,574")
        << "3003.00"
        << "24.5" << QStringList{"24.5000", "3,003", "73,574"};
    QTest::newRow("no price keyed in") << "1000"
                                       << "0" << QStringList{"0.0000", "1,000", "0"};
}

void TestBr110::valueRoundedByTheDatabase() {
    QFETCH(QString, volume);
    QFETCH(QString, price);
    QFETCH(QStringList, printed);
    const QByteArray v = volume.toLatin1(), p = price.toLatin1();
    insertDeliveries({{"1130507_2", "1", v.constData(), p.constData(), diesel}});
    const rpt::RenderedReport r = build({"2024/05/01", "2024/05/31", ""});
    QVERIFY_NO_OVERLAP(r);
    QVERIFY2(cutTexts(r).isEmpty(), qPrintable(cutTexts(r)));
    const QList<QStringList> lines = linesOf(r.pages[0]);
    QCOMPARE(lines[0],
             QStringList({"1130507_2", diesel, QString::fromUtf8("超級柴油"), "1"}) + printed);
    // The summary's total and diesel lines carry the same volume and value.
    QCOMPARE(lines[1], QStringList({QString::fromUtf8("總  合  計 :"), printed[1], printed[2]}));
    QCOMPARE(lines[2], QStringList({QString::fromUtf8("超級柴油 :"), printed[1], printed[2]}));
}

void TestBr110::deliveriesAndTotals_data() {
    QTest::addColumn<QString>("product");
    QTest::addColumn<QList<QStringList>>("lines"); // shift, product of each line
    QTest::addColumn<QList<QStringList>>("summary");
    const auto caption = [](const char* c) { return QString::fromUtf8(c); };
    QTest::newRow("every product")
        << ""
        << QList<QStringList>{{"1130507_1", diesel},
                              {"1130507_1", u92},
                              {"1130508_3", u95},
                              {"1130510_1", kerosene}}
        << QList<QStringList>{{caption("總  合  計 :"), "24,001", "639,014"},
                              {caption("超級柴油 :"), "10,000", "250,000"},
                              {caption("九二無鉛 :"), "8,001", "224,014"},
                              {caption("九五無鉛 :"), "5,000", "145,000"},
                              {caption("九八無鉛 :"), "0", "0"}};
    QTest::newRow("95 only") << u95 << QList<QStringList>{{"1130508_3", u95}}
                             << QList<QStringList>{{caption("總  合  計 :"), "5,000", "145,000"},
                                                   {caption("超級柴油 :"), "0", "0"},
                                                   {caption("九二無鉛 :"), "0", "0"},
                                                   {caption("九五無鉛 :"), "5,000", "145,000"},
                                                   {caption("九八無鉛 :"), "0", "0"}};
}

void TestBr110::deliveriesAndTotals() {
    QFETCH(QString, product);
    QFETCH(QList<QStringList>, lines);
    QFETCH(QList<QStringList>, summary);
    insertDeliveries({
        {"1130508_3", "3", "5000", "29", u95},
        {"1130507_1", "2", "8000.5", "28", u92},
        {"1130507_1", "1", "10000", "25", diesel},
        {"1130507_2", "2", "8000", "28", u92, "D"},        // keyed twice, the copy deleted
        {"1130509_1", "4", "7000", "30", "113F 99999999"}, // no product row
        {"1130510_1", "5", "1000", "20", kerosene},        // no fuel of the four
        {"1130601_1", "1", "9000", "25", diesel},          // after the range
        {"1130430_3", "1", "9000", "25", diesel},          // before it
    });
    const rpt::RenderedReport r = build({"2024/05/01", "2024/05/31", product});
    QVERIFY_NO_OVERLAP(r);
    QVERIFY2(cutTexts(r).isEmpty(), qPrintable(cutTexts(r)));
    QCOMPARE(r.pages.size(), 1);
    const QList<QStringList> printed = linesOf(r.pages[0]);
    QCOMPARE(printed.size(), lines.size() + summary.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        QCOMPARE(printed[i].mid(0, 2), lines[i]);
    QCOMPARE(printed.mid(lines.size()), summary);
    for (const char* text : {"許厝港加油站", "中油結付表", "2024/05/01", "2024/05/31", "2024/06/01",
                             "頁        次 :"}) {
        bool found = false;
        for (const rpt::TextItem& t : r.pages[0].texts)
            found = found || t.text == QString::fromUtf8(text);
        QVERIFY2(found, text);
    }
    if (product.isEmpty()) reportfiles::savePage(r, 0, "br110_page1");
}

void TestBr110::exportByteForByte() {
    insertDeliveries({{"1130507_1", "1", "10000.5", "25.1234", diesel},
                      {"1130507_2", "2", "3001", "24.5", u92}});
    QTemporaryDir folder;
    Query work(dm_->cn);
    SilentProgress progress;
    const ReportDef* report = findReport("BR110");
    ReportOptions options;
    options.from = "2024/05/01";
    options.to = "2024/05/31";
    const QList<ExportColumn> columns = report->exportRows(*dm_, work, options, progress);
    QVERIFY(!dm_->qy.active()); // the export leaves the layout's query alone
    TsxYSLK writer;
    writer.Visible = false;
    writer.FileName = folder.filePath(report->exportFile);
    writer.begin();
    writer.writeGrid(work, columns);
    writer.end();

    QStringList expected{"ID;PYSLK;N;E"};
    for (int i = 0; i < 4; ++i)
        expected << "P;FMS Sans Serif;M240";
    expected << "P;EMS Sans Serif;M240"
             << "P;EMS Sans Serif;M180";
    // shift varchar(9); name varchar(20); target_tank varchar(1) widened to its name;
    // in_price float8; gasoline_vol numeric widened to its name; amt float8.
    const int widths[] = {9, 20, 11, 10, 12, 10};
    for (int x = 1; x <= 6; ++x)
        expected << QString("F;W%1 %1 %2").arg(x).arg(widths[x - 1]);
    const char* titles[] = {"日期班別", "產品名稱", "油槽代號", "進油單價", "進油數量", "進油金額"};
    for (int x = 1; x <= 6; ++x)
        expected << QString("F;SDLRTBM0;FG0C;X%1;Y2").arg(x)
                 << QString("C;X%1;Y2;K\"%2\"").arg(x).arg(QString::fromUtf8(titles[x - 1]));
    const QList<QStringList> rows = {
        {"1130507_1", QString::fromUtf8("超級柴油"), "1", "25.1234", "10000.5", "251247"},
        {"1130507_2", QString::fromUtf8("九二無鉛"), "2", "24.5", "3001", "73524"}};
    for (int y = 0; y < rows.size(); ++y)
        for (int x = 1; x <= 6; ++x) {
            const bool number = x >= 4;
            expected
                << QString("F;SDLRTBM0;FG0%1;X%2;Y%3").arg(number ? "R" : "L").arg(x).arg(y + 3)
                << (number ? QString("C;X%1;Y%2;K%3").arg(x).arg(y + 3).arg(rows[y][x - 1])
                           : QString("C;X%1;Y%2;K\"%3\"").arg(x).arg(y + 3).arg(rows[y][x - 1]));
        }
    expected << "E";
    QFile file(writer.FileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), big5(expected.join("\r\n") + "\r\n"));
}

void TestBr110::oneStatementWhateverTheDeliveries() {
    for (int deliveries : {2, 600}) {
        testdb::admin("delete from oil_change", "pos_data");
        testdb::admin(QString("insert into oil_change (shift, target_tank, gasoline_vol, "
                              "in_price, bill_no, prod_id, del_mark) select '11305' || lpad((g "
                              "% 28 + 1)::text, 2, '0') || '_1', '1', 1000 + g, 25, 'TP' || g, "
                              "'%1', '' from generate_series(1, %2) g")
                          .arg(diesel)
                          .arg(deliveries),
                      "pos_data");
        dm_->cn.connect();
        const qint64 before = dm_->cn.statementsSent();
        SilentProgress progress;
        buildBr110(*dm_, {"2024/05/01", "2024/05/31", ""}, progress);
        QCOMPARE(dm_->cn.statementsSent() - before, qint64(1));
        QCOMPARE(dm_->qy.recordCount(), deliveries);
    }
}

// A month of a generated station, whose delivery notes are now and then keyed in twice with
// the copy marked deleted: only the live deliveries are settled, and the totals add up.
void TestBr110::demoStationMonth() {
    testdb::recreate();
    {
        DemoOptions options;
        options.seed = 6;
        options.days = 31;
        options.salesPerDay = 60;
        options.lastDay = QDate(2024, 3, 31);
        CopyLoader loader(dm_->cn);
        SilentProgress progress;
        generateDemoStation(options, loader, progress);
        loader.finish();
    }
    const QString range = "substr(shift,1,7) between '1130301' and '1130331'";
    QVERIFY(testdb::adminValue("select count(*) from oil_change where del_mark <> '' and " + range)
                .toInt() > 0);
    const rpt::RenderedReport r = build({"2024/03/01", "2024/03/31", ""});
    QVERIFY_NO_OVERLAP(r);
    QVERIFY2(cutTexts(r).isEmpty(), qPrintable(cutTexts(r)));
    QCOMPARE(dm_->qy.recordCount(),
             testdb::adminValue("select count(*) from oil_change where del_mark = '' and " + range)
                 .toInt());
    QStringList total;
    for (const QStringList& line : linesOf(r.pages.last()))
        if (line.first() == QString::fromUtf8("總  合  計 :")) total = line.mid(1);
    const QString sums = testdb::adminValue(
        "select sum(gasoline_vol) || ' ' || sum(round(gasoline_vol * in_price)) from oil_change "
        "where del_mark = '' and " +
        range);
    QCOMPARE(total, QStringList({formatMask(sums.section(' ', 0, 0).toDouble(), "##,###,##0"),
                                 formatMask(sums.section(' ', 1, 1).toDouble(), "###,###,##0")}));
    reportfiles::savePage(r, 0, "br110_demo_page1");
}

void TestBr110::screenLookupPreviewAndExport() {
    const QDate day = QDate::currentDate().addDays(-1);
    const QString shift =
        QString("%1%2_1").arg(day.year() - 1911, 3, 10, QChar('0')).arg(day.toString("MMdd"));
    const QByteArray s = shift.toLatin1();
    insertDeliveries(
        {{s.constData(), "1", "10000", "25", diesel}, {s.constData(), "3", "5000", "29", u95}});
    QTemporaryDir folder;
    const QString startFolder = QDir::currentPath();
    QDir::setCurrent(folder.path()); // the export goes to the working folder
    TFrmBR110 screen;
    screen.FormCreate();
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    QCOMPARE(screen.windowTitle(), QString::fromUtf8("BR110 中油結付表"));
    QVERIFY(screen.e03->isReadOnly());
    QCOMPARE(screen.e03->text(), QString());
    QVERIFY(screen.SBT);
    gui::saveScreenshot(&screen, "br110_screen");

    // Picking 95, then opening the list again: it starts at its first row, not at 95.
    QStringList captions;
    QList<int> openedAt;
    for (int pick = 0; pick < 2; ++pick) {
        gui::answerNextDialog([&](QWidget* dialog) {
            auto* picker = qobject_cast<TFrmgetdata*>(dialog);
            if (!picker) return;
            captions << picker->windowTitle();
            openedAt << DM->qy1.recNo();
            QCOMPARE(DM->qy1.recordCount(), 5); // the fuels of class 101
            picker->EdtFind->setText("113F 12095");
            picker->BitBtnCanser->click();
        });
        screen.SB4->click();
    }
    QCOMPARE(captions,
             QStringList({QString::fromUtf8("產品資料選取"), QString::fromUtf8("產品資料選取")}));
    QCOMPARE(openedAt, QList<int>({0, 0}));
    QCOMPARE(screen.e03->text(), QString(u95));

    QString pageLabel;
    gui::answerNextDialog([&](QWidget* dialog) {
        auto* preview = qobject_cast<ReportPreview*>(dialog);
        if (!preview) return;
        pageLabel = preview->PageLabel->text();
        gui::saveScreenshot(preview, "br110_preview");
        preview->CloseButton->click();
    });
    screen.SpeedButtonPrn->click();
    QCOMPARE(pageLabel, QString::fromUtf8("第 1 / 1 頁"));

    screen.SBT->click();
    QFile file("BR110.XLS");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    file.close();
    QVERIFY(written.contains("C;X1;Y3;K\"" + s + "\""));
    QVERIFY(!written.contains("Y4")); // 95 only
    QVERIFY(written.contains("C;X6;Y3;K145000"));

    // A range without deliveries writes no file and leaves the older one.
    screen.e01->setText("2001/01/01");
    screen.e02->setText("2001/01/31");
    screen.SBT->click();
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), written);
    file.close();
    screen.BitBtnExit->click();
    QDir::setCurrent(startFolder);
}

void TestBr110::commandLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("says");
    QTest::addColumn<QString>("file");    // written, or empty for none
    QTest::addColumn<QString>("content"); // of the file (PDF as text)
    const QStringList may{"--from", "2024/05/01", "--to", "2024/05/31"};
    QTest::newRow("PDF") << may + QStringList{"--pdf", "br110.pdf"} << 0 << "BR110"
                         << "br110.pdf"
                         << "251,247";
    QTest::newRow("PDF of one product")
        << may + QStringList{"--product", u92, "--pdf", "br110.pdf"} << 0 << "BR110"
        << "br110.pdf"
        << "73,524";
    QTest::newRow("export") << may + QStringList{"--sylk", "out.xls"} << 0 << "out.xls"
                            << "out.xls"
                            << "C;X6;Y4;K73524";
    QTest::newRow("export of an empty range")
        << QStringList{"--from", "2024/07/01", "--to", "2024/07/31", "--sylk", "out.xls"} << 0
        << QString::fromUtf8("沒有資料") << ""
        << "";
    QTest::newRow("an option BR110 does not take")
        << may + QStringList{"--stock", "2", "--pdf", "x.pdf"} << 2 << "--stock"
        << ""
        << "";
}

void TestBr110::commandLine() {
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, says);
    QFETCH(QString, file);
    QFETCH(QString, content);
    insertDeliveries({{"1130507_1", "1", "10000.5", "25.1234", diesel},
                      {"1130507_2", "2", "3001", "24.5", u92}});
    QTemporaryDir folder;
    reportfiles::Outcome run =
        reportfiles::runTolvar(folder.path(), QStringList{"report", "BR110"} + args);
    const QString output = run.output;
    QCOMPARE(run.status, status);
    QVERIFY2(output.contains(says), qPrintable(output));
    QStringList files{"config.ini"};
    if (!file.isEmpty()) files << file;
    files.sort();
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files, QDir::Name), files);
    if (file.isEmpty()) return;
    QByteArray written;
    if (file.endsWith(".pdf")) {
        written = reportfiles::pdfText(folder.filePath(file)).toUtf8();
    } else {
        QFile f(folder.filePath(file));
        QVERIFY(f.open(QIODevice::ReadOnly));
        written = f.readAll();
    }
    QVERIFY2(written.contains(content.toUtf8()), written.constData());
}

QTEST_MAIN(TestBr110)
#include "tst_br110.moc"
