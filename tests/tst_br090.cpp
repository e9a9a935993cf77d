// BR090 blank invoices: the lines of the worked cases, the statement count, the printed page
// on a generated station with each line checked against the issued numbers, the screen and
// the command line's PDF.
#include "app/data_module.h"
#include "app/gui_start.h"
#include "app/progress.h"
#include "db/copy_loader.h"
#include "demo/station_generator.h"
#include "invoice/br090_build.h"
#include "invoice/br090_layout.h"
#include "invoice/br090_screen.h"
#include "reports/common/page_painter.h"
#include "reports/common/report_preview.h"
#include "reports/common/report_renderer.h"
#include "support/gui_support.h"
#include "support/invoice_fixture.h"
#include "support/page_checks.h"
#include "support/report_files.h"
#include "support/test_database.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using invoicefix::Sale;

namespace {

// A range as "month start end" and issued sales as "invoice date".
struct Case {
    QStringList ranges;
    QStringList sales;
};

QString screenshotFolder() {
    const QString folder = qEnvironmentVariable("TOLVAR_SCREENSHOTS", "screenshots");
    QDir().mkpath(folder);
    return folder;
}

} // namespace

Q_DECLARE_METATYPE(Case)

class TestBr090 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setUpChineseFonts(); }
    void init();
    void cleanup();
    void lines_data();
    void lines();
    void statementsDoNotGrowWithRanges();
    void demoStationPage();
    void screenPreviewsTheReport();
    void commandLinePdf();

private:
    QStringList build(const QString& start, const QString& end);
    std::unique_ptr<DataModule> dm_;
};

void TestBr090::init() {
    testdb::recreate();
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
    dm_->settings.st_name = QString::fromUtf8("許厝港加油站");
}

void TestBr090::cleanup() {
    dm_.reset();
}

// The layout's rows as "tinv5 tinv6 tinv4 cnt".
QStringList TestBr090::build(const QString& start, const QString& end) {
    Query work(dm_->cn);
    SilentProgress progress;
    buildBr090(*dm_, work, {start, end}, progress);
    QStringList lines;
    for (dm_->qy.first(); !dm_->qy.eof(); dm_->qy.next())
        lines << QStringList{dm_->qy.field("tinv5").asText(), dm_->qy.field("tinv6").asText(),
                             dm_->qy.field("tinv4").asText(), dm_->qy.field("cnt").asText()}
                     .join(' ');
    return lines;
}

void TestBr090::lines_data() {
    QTest::addColumn<Case>("fixture");
    QTest::addColumn<QStringList>("expected");
    const QStringList thousand{"11305 XY12345000 XY12345999"};
    QTest::newRow("XY12345000 to XY12345100 issued")
        << Case{thousand,
                {"XY12345000 2024/05/02", "XY12345050 2024/05/03", "XY12345100 2024/05/31"}}
        << QStringList{"XY12345 101 249 149", "XY12345 250 499 250", "XY12345 500 749 250",
                       "XY12345 750 999 250"};
    QTest::newRow("a block issued to its last number prints no line")
        << Case{thousand, {"XY12345249 2024/05/02", "XY12345999 2024/05/02"}}
        << QStringList{"XY12345 250 499 250", "XY12345 500 749 250"};
    QTest::newRow("a gap below the highest is not blank")
        << Case{thousand, {"XY12345000 2024/05/02", "XY12345200 2024/05/02"}}
        << QStringList{"XY12345 201 249 49", "XY12345 250 499 250", "XY12345 500 749 250",
                       "XY12345 750 999 250"};
    QTest::newRow("two ranges sharing a block give one line")
        << Case{{"11305 AB00000000 AB00000499", "11305 AB00000250 AB00000749"},
                {"AB00000300 2024/05/02"}}
        << QStringList{"AB00000 000 249 250", "AB00000 301 499 199", "AB00000 500 749 250"};
    QTest::newRow("numbers issued outside the dates do not count")
        << Case{{"11305 AB00000000 AB00000249"}, {"AB00000010 2024/04/30", "AB00000020 2024/07/01"}}
        << QStringList{"AB00000 000 249 250"};
    QTest::newRow("a voided sale's number was issued")
        << Case{{"11305 AB00000000 AB00000249"}, {"AB00000010 2024/05/02 void"}}
        << QStringList{"AB00000 011 249 239"};
    QTest::newRow("a sale without a printed invoice issued nothing")
        << Case{{"11305 AB00000000 AB00000249"}, {"AB00000010 2024/05/02 unprinted"}}
        << QStringList{"AB00000 000 249 250"};
    QTest::newRow("ranges of every month of the dates, not voided ones, in key order")
        << Case{{"11306 CD00000000 CD00000249", "11305 AB00000000 AB00000249",
                 "11304 EF00000000 EF00000249", "11305 VV00000000 VV00000249 voided"},
                {}}
        << QStringList{"AB00000 000 249 250", "CD00000 000 249 250"};
    QTest::newRow("no active range: no lines")
        << Case{{}, {"AB00000010 2024/05/02"}} << QStringList{};
}

void TestBr090::lines() {
    QFETCH(Case, fixture);
    QFETCH(QStringList, expected);
    for (const QString& r : fixture.ranges) {
        const QStringList f = r.split(' ');
        invoicefix::insertRange(f[0], f[1], f[2], "2", f.size() > 3 ? "1" : "0");
    }
    QList<Sale> sales;
    int minute = 0;
    for (const QString& s : fixture.sales) {
        const QStringList f = s.split(' ');
        Sale sale{QString("%1 10:%2:00").arg(f[1]).arg(minute++, 2, 10, QChar('0')), f[0]};
        if (s.endsWith("void")) sale.voided = 1;
        if (s.endsWith("unprinted")) sale.printed = "0";
        sales << sale;
    }
    invoicefix::insertSales(sales);
    QCOMPARE(build("2024/05/01", "2024/06/30"), expected);
}

void TestBr090::statementsDoNotGrowWithRanges() {
    QList<qint64> counts;
    for (int ranges : {1, 20}) {
        testdb::recreate();
        for (int r = 0; r < ranges; ++r)
            invoicefix::insertRange("11305", QString("XY%1").arg(r * 1000, 8, 10, QChar('0')),
                                    QString("XY%1").arg(r * 1000 + 999, 8, 10, QChar('0')));
        testdb::admin(QString("insert into tran (island, gun_no, tran_time, invoice, invoice_tp, "
                              "prt_invoice) select '01', '01', timestamp '2024-05-01' + g * "
                              "interval '1 minute', 'XY' || lpad((g * 7)::text, 8, '0'), '2', '-1' "
                              "from generate_series(0, %1) g")
                          .arg(ranges * 100),
                      "pos_data");
        DataModule dm;
        testdb::configure(dm.cn);
        dm.cn.connect();
        Query work(dm.cn);
        SilentProgress progress;
        const qint64 before = dm.cn.statementsSent();
        buildBr090(dm, work, {"2024/05/01", "2024/05/31"}, progress);
        counts << dm.cn.statementsSent() - before;
        QVERIFY(dm.qy.recordCount() >= ranges * 2);
    }
    QCOMPARE(counts[0], counts[1]);
    QVERIFY2(counts[0] <= 14, qPrintable(QString::number(counts[0])));
}

// Two months of a generated station: every printed line names exactly the numbers after the
// highest one issued in its block, and the first page shows them under the title band.
void TestBr090::demoStationPage() {
    {
        Connection cn;
        testdb::configure(cn);
        DemoOptions options;
        options.seed = 7;
        options.days = 61;
        options.salesPerDay = 300;
        options.lastDay = QDate(2024, 6, 30);
        options.invoiceRangeNumbers = 5000; // rolls of twenty blocks, the last ones partly used
        CopyLoader loader(cn);
        SilentProgress progress;
        generateDemoStation(options, loader, progress);
        loader.finish();
    }
    Query work(dm_->cn);
    SilentProgress progress;
    const Br090Titles titles = buildBr090(*dm_, work, {"2024/05/01", "2024/06/30"}, progress);
    QVERIFY(dm_->qy.recordCount() > 5);
    // No issued number among a line's blanks; the one before its first blank issued unless
    // the line starts its block; the count that of the numbers it names.
    QCOMPARE(invoicefix::rows(
                 dm_->cn,
                 "select count(*) from tBR090 b where cnt > 0 and (exists (select 1 from tBR091 "
                 "where tno between b.tinv5 || b.tinv6 and b.tinv5 || b.tinv4) or (b.tinv6 not "
                 "in ('000','250','500','750') and not exists (select 1 from tBR091 where tno = "
                 "b.tinv5 || lpad((b.tinv6::int - 1)::text, 3, '0'))) or b.cnt <> b.tinv4::int "
                 "- b.tinv6::int + 1)"),
             QList<QStringList>{{"0"}});

    const rpt::Layout layout = br090Layout(titles);
    const rpt::RenderedReport r = rpt::render(layout, dm_->qy, nullptr, QDate(2024, 7, 1));
    QVERIFY(!r.pages.isEmpty());
    QVERIFY_NO_OVERLAP(r);
    QVERIFY2(cutTexts(r).isEmpty(), qPrintable(cutTexts(r)));
    QCOMPARE(r.paper, QSizeF(210, 279.4));
    rpt::pageImage(r, 0, 200 / 25.4).save(QDir(screenshotFolder()).filePath("br090_page1.png"));
    auto at = [&](const QString& text) -> QPointF {
        for (const rpt::TextItem& t : r.pages[0].texts)
            if (t.text == text) return t.rect.topLeft();
        return {-1, -1};
    };
    for (const char* text :
         {"許厝港加油站", "空白發票明細表", "資料日期自:", "2024/05/01", "至", "2024/06/30",
          "印表日期:", "2024/07/01", "空白發票號碼", "起", "迄", "張數"})
        QVERIFY2(at(QString::fromUtf8(text)).x() > 0, text);
    QCOMPARE(at(QString::fromUtf8("資料日期自:")).x(), 6 + 10.1);
    QCOMPARE(at("2024/06/30").x(), 6 + 61.1);
    QCOMPARE(at(QString::fromUtf8("張數")).x(), 6 + 169.3);
    // The first line, below the headings: prefix, first blank, last number, count.
    dm_->qy.first();
    const QString prefix = dm_->qy.field("tinv5").asText();
    const QPointF line = at(prefix);
    QCOMPARE(line.x(), 6 + 9.5);
    QVERIFY(line.y() > at(QString::fromUtf8("空白發票號碼")).y());
    QStringList onTheLine;
    for (const rpt::TextItem& t : r.pages[0].texts)
        if (std::abs(t.rect.top() - line.y()) < 0.01) onTheLine << t.text;
    QCOMPARE(onTheLine,
             QStringList({prefix, dm_->qy.field("tinv6").asText(), dm_->qy.field("tinv4").asText(),
                          dm_->qy.field("cnt").asText()}));
    for (const rpt::TextItem& t : r.pages[0].texts)
        if (t.text == dm_->qy.field("cnt").asText() && std::abs(t.rect.top() - line.y()) < 0.01)
            QCOMPARE(t.rect.right(), 6 + 177.5); // right-aligned at 177.5
}

void TestBr090::screenPreviewsTheReport() {
    invoicefix::insertRange("11305", "XY12345000", "XY12345249");
    TFrmBR090 screen;
    screen.FormCreate();
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    QCOMPARE(screen.windowTitle(), QString::fromUtf8("BR090 空白發票明細表"));
    QVERIFY(!screen.SBT); // no export
    QVERIFY(screen.findChild<QToolButton*>("SpeedButton1"));
    QVERIFY(screen.findChild<QToolButton*>("SpeedButton3"));
    QCOMPARE(screen.findChild<QToolButton*>("SpeedButton1"), screen.SpeedButton3);
    screen.e01->setText("2024/05/01");
    screen.e02->setText("2024/05/31");
    gui::saveScreenshot(&screen, "br090_screen");
    QString pageLabel;
    gui::answerNextDialog([&](QWidget* dialog) {
        auto* preview = qobject_cast<ReportPreview*>(dialog);
        if (!preview) return;
        pageLabel = preview->PageLabel->text();
        preview->CloseButton->click();
    });
    screen.SpeedButtonPrn->click();
    QCOMPARE(pageLabel, QString::fromUtf8("第 1 / 1 頁"));
    screen.BitBtnExit->click();
    QVERIFY(!dm_->cn.connected());
}

void TestBr090::commandLinePdf() {
    invoicefix::insertRange("11305", "XY12345000", "XY12345999");
    invoicefix::insertSales({{"2024/05/02 10:00:00", "XY12345100"}});
    testdb::admin("insert into set_system values ('st_name', 'Station')", "pos_data");
    QTemporaryDir folder;
    const QString pdf = folder.filePath("br090.pdf");
    reportfiles::Outcome run =
        reportfiles::runTolvar(folder.path(), {"report", "BR090", "--from", "2024/05/01", "--to",
                                               "2024/05/31", "--pdf", pdf});
    QCOMPARE(run.status, 0);
    const QString content = reportfiles::pdfText(pdf);
    QVERIFY2(content.contains(QRegularExpression("XY12345\\s+101\\s+249\\s+149")),
             qPrintable(content));
    QVERIFY(content.contains(QString::fromUtf8("空白發票明細表")));
    QVERIFY(content.contains("Station"));

    run = reportfiles::runTolvar(folder.path(), {"report", "BR090", "--car", "AB-1", "--pdf", pdf});
    QCOMPARE(run.status, 2); // an option BR090 does not take
}

QTEST_MAIN(TestBr090)
#include "tst_br090.moc"
