// The invoice media step: a worked fixture compared byte for byte with the file written out
// by hand, the failures that must leave an older file as it was, a trial of other months,
// the statement count, the demo station against the row-by-row block steps, and the
// command line.
#include "app/data_module.h"
#include "app/progress.h"
#include "db/copy_loader.h"
#include "db/db_error.h"
#include "db/input_refused.h"
#include "demo/station_generator.h"
#include "invoice/invoice_media.h"
#include "invoice/invoice_trial.h"
#include "invoice/media_file.h"
#include "reports/common/file_error.h"
#include "support/invoice_fixture.h"
#include "support/report_files.h"
#include "support/test_database.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

using invoicefix::Sale;

namespace {

const MediaStation station{"123456789", "87654321"};

// The worked fixture: a two-part range of four blocks with XY12345100 the highest issued in
// the first and XY12345499, its last number, issued in the second; a three-part range of one
// block; summaries split by day and by block, voided, tax-free and three-part invoices.
void insertWorkedFixture() {
    invoicefix::insertRange("11306", "XY12345000", "XY12345999");
    invoicefix::insertRange("11306", "QQ00000000", "QQ00000249", "3");
    invoicefix::insertSales({
        {"2024/06/02 08:00:00", "XY12345000"},
        {"2024/06/02 09:00:00", "XY12345001"},
        {"2024/06/02 10:00:00", "XY12345002"},
        {"2024/06/02 11:00:00", "XY12345003"},
        {"2024/06/03 08:00:00", "XY12345004", "2", 210, 10},
        {"2024/06/03 09:00:00", "XY12345005", "2", 105, 5, "TX", "00000000", 1},
        {"2024/06/03 10:00:00", "XY12345006", "2", 300, 0, "TF"},
        {"2024/06/04 08:00:00", "XY12345100"},
        {"2024/06/04 09:00:00", "XY12345499"},
        {"2024/06/05 08:00:00", "QQ00000007", "3", 2100, 100, "TX", "12345678"},
        {"2024/06/05 09:00:00", "QQ00000008", "3", 525, 25},
        {"2024/06/05 10:00:00", "QQ00000009", "3", 400, 0, "TF", "12345678", 1},
        {"2024/06/05 11:00:00", "QQ00000010", "3", 500, 0, "TF", "12345678"},
    });
}

// The file of the worked fixture, record by record as the tax office reads it: format code,
// tax_id, serial, month, buyer or last number, uid, invoice or first number, amount, class,
// tax, seven blanks, run mark, one blank; each line ended by CR LF.
QByteArray workedFile() {
    // clang-format off
    const char* const lines[] = {
        "32" "123456789" "0000001" "11306" "12345003" "87654321" "XY12345000" "000000000420" "1" "0000000000" "       " "A" " ",
        "32" "123456789" "0000002" "11306" "12345004" "87654321" "XY12345004" "000000000210" "1" "0000000000" "       " "A" " ",
        "32" "123456789" "0000003" "11306" "        " "87654321" "XY12345005" "000000000000" "F" "0000000000" "       " " " " ",
        "32" "123456789" "0000004" "11306" "        " "87654321" "XY12345006" "000000000300" "3" "0000000000" "       " " " " ",
        "32" "123456789" "0000005" "11306" "12345100" "87654321" "XY12345100" "000000000105" "1" "0000000000" "       " "A" " ",
        "32" "123456789" "0000006" "11306" "12345249" "87654321" "XY12345101" "000000000000" "D" "0000000000" "       " "A" " ",
        "32" "123456789" "0000007" "11306" "12345499" "87654321" "XY12345499" "000000000105" "1" "0000000000" "       " "A" " ",
        "32" "123456789" "0000008" "11306" "12345749" "87654321" "XY12345500" "000000000000" "D" "0000000000" "       " "A" " ",
        "32" "123456789" "0000009" "11306" "12345999" "87654321" "XY12345750" "000000000000" "D" "0000000000" "       " "A" " ",
        "35" "123456789" "0000010" "11306" "12345678" "87654321" "QQ00000007" "000000002000" "1" "0000000100" "       " " " " ",
        "35" "123456789" "0000011" "11306" "        " "87654321" "QQ00000008" "000000000525" "1" "0000000000" "       " " " " ",
        "35" "123456789" "0000012" "11306" "12345678" "87654321" "QQ00000009" "000000000400" "3" "0000000000" "       " " " " ",
        "35" "123456789" "0000013" "11306" "12345678" "87654321" "QQ00000009" "000000000000" "F" "0000000000" "       " " " " ",
        "35" "123456789" "0000014" "11306" "12345678" "87654321" "QQ00000010" "000000000500" "1" "0000000000" "       " " " " ",
        "35" "123456789" "0000015" "11306" "12345678" "87654321" "QQ00000010" "000000000500" "3" "0000000000" "       " " " " ",
        "35" "123456789" "0000016" "11306" "00000249" "87654321" "QQ00000011" "000000000000" "D" "0000000000" "       " "A" " ",
    };
    // clang-format on
    QByteArray file;
    for (const char* line : lines)
        file += QByteArray(line) + "\r\n";
    return file;
}

QStringList workedLines() {
    return {"", QString::fromUtf8("媒體轉檔資料"),
            "", QString::fromUtf8("二聯式發票  發票金額 : 840"),
            "", QString::fromUtf8("二聯式發票  作廢張數 : 1"),
            "", QString::fromUtf8("三聯式發票  發票金額 : 3,125"),
            "", QString::fromUtf8("三聯式發票  作廢張數 : 1"),
            "", QString::fromUtf8("  轉檔筆數 : 16")};
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(no file)");
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

// Files larger than `bytes` cannot be written while it lives, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        std::signal(SIGXFSZ, SIG_IGN); // a failed write, not a killed process
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old_); }

private:
    rlimit old_;
};

} // namespace

class TestInvoiceMedia : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void workedFixtureByteForByte();
    void failuresLeaveTheOlderFile_data();
    void failuresLeaveTheOlderFile();
    void trialOfAnotherPeriodIsRefused();
    void daysRunSplitsAtABlockBoundary();
    void statementsDoNotGrowWithRanges();
    void demoStationAsTheRowByRowSteps();
    void commandLine_data();
    void commandLine();

private:
    QStringList runTrial(const QString& start, const QString& end);
    QStringList runMedia(const QString& file, const QString& start = "2024/06",
                         const QString& end = "2024/06");
    std::unique_ptr<DataModule> dm_;
    QTemporaryDir folder_;
};

void TestInvoiceMedia::init() {
    testdb::recreate();
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
    dm_->settings.tax_id = station.taxId;
    dm_->settings.uid = station.uid;
}

void TestInvoiceMedia::cleanup() {
    dm_.reset();
    QDir folder(folder_.path());
    for (const QString& name : folder.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot))
        QDir(folder.filePath(name)).exists() ? (void)QDir(folder.filePath(name)).removeRecursively()
                                             : (void)folder.remove(name);
}

QStringList TestInvoiceMedia::runTrial(const QString& start, const QString& end) {
    QStringList lines;
    SilentProgress progress;
    runInvoiceTrial(*dm_, {start, end, {}, {}, "0"}, progress,
                    [&](const QString& l) { lines << l; });
    return lines;
}

QStringList TestInvoiceMedia::runMedia(const QString& file, const QString& start,
                                       const QString& end) {
    QStringList lines;
    SilentProgress progress;
    runInvoiceMedia(*dm_, {start, end, file}, progress, [&](const QString& l) { lines << l; });
    return lines;
}

void TestInvoiceMedia::workedFixtureByteForByte() {
    insertWorkedFixture();
    runTrial("2024/06", "2024/06");
    const QString path = folder_.filePath("87654321.TXT");
    writeFile(path, "an older file, longer than nothing\r\n");
    QCOMPARE(runMedia(path), workedLines());
    QCOMPARE(readFile(path), workedFile());
    QCOMPARE(QDir(folder_.path()).entryList(QDir::Files), QStringList{"87654321.TXT"});
    // The block table as the rule makes it: the last number of the second block was issued.
    QCOMPARE(invoicefix::rows(dm_->cn, "select tinv1, tinv3, tinv5, tinv6, cnt from tIN020 "
                                       "order by tinv1"),
             (QList<QStringList>{{"QQ000000", "010", "QQ00000011", "00000249", "239"},
                                 {"XY049380", "100", "XY12345101", "12345249", "149"},
                                 {"XY049381", "499", "XY12345500", "12345499", "0"},
                                 {"XY049382", "", "XY12345500", "12345749", "250"},
                                 {"XY049383", "", "XY12345750", "12345999", "250"}}));
    // Run again: the file is written whole once more, the same.
    runMedia(path);
    QCOMPARE(readFile(path), workedFile());
}

void TestInvoiceMedia::failuresLeaveTheOlderFile_data() {
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("says");
    QTest::newRow("a value that does not fit")
        << "field" << QString::fromUtf8("發票 QQ00000020 的銷售額「-100」是負數");
    QTest::newRow("no trial ever run") << "notrial" << QString::fromUtf8("請先執行發票試算");
    QTest::newRow("nothing to file") << "empty" << QString::fromUtf8("沒有任何記錄");
    QTest::newRow("a statement fails") << "statement"
                                       << "inv_range";
    QTest::newRow("no folder") << "nofolder" << QString::fromUtf8("不存在");
    QTest::newRow("the disk fills up") << "diskfull" << QString::fromUtf8("原有的檔案維持原狀");
}

void TestInvoiceMedia::failuresLeaveTheOlderFile() {
    QFETCH(QString, failure);
    QFETCH(QString, says);
    insertWorkedFixture();
    if (failure == "field")
        invoicefix::insertSales({{"2024/06/06 08:00:00", "QQ00000020", "3", -100, 0}});
    runTrial("2024/06", "2024/06");
    if (failure == "notrial") testdb::admin("drop table tIN010", "pos_data");
    if (failure == "empty") {
        testdb::admin("delete from inv_range", "pos_data");
        runTrial("2024/06", "2024/06");
    }
    if (failure == "statement") testdb::admin("drop table inv_range", "pos_data");
    const QString path = failure == "nofolder" ? folder_.filePath("Export/87654321.TXT")
                                               : folder_.filePath("87654321.TXT");
    const QByteArray older = "the file of the last period\r\n";
    if (failure != "nofolder") writeFile(path, older);
    QStringList lines;
    try {
        std::unique_ptr<FileSizeLimit> full;
        if (failure == "diskfull") full = std::make_unique<FileSizeLimit>(200);
        SilentProgress progress;
        runInvoiceMedia(*dm_, {"2024/06", "2024/06", path}, progress,
                        [&](const QString& l) { lines << l; });
        QFAIL("the media step did not fail");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains(says), qPrintable(e.message()));
    } catch (const FileError& e) {
        QVERIFY2(e.message().contains(says), qPrintable(e.message()));
        QVERIFY2(e.message().contains(path), qPrintable(e.message()));
        QCOMPARE(lines, workedLines()); // the result lines came before the file
    }
    QVERIFY(!dm_->cn.inTransaction());
    if (failure == "nofolder") {
        QVERIFY(!QFileInfo::exists(folder_.filePath("Export")));
    } else {
        QCOMPARE(readFile(path), older);
        QCOMPARE(QDir(folder_.path()).entryList(QDir::Files), QStringList{"87654321.TXT"});
    }
}

// A trial of May and June filed as June alone would report May's invoices with June's blank
// numbers: refused, the file untouched.
void TestInvoiceMedia::trialOfAnotherPeriodIsRefused() {
    invoicefix::insertRange("11306", "XY12345000", "XY12345249");
    invoicefix::insertSales(
        {{"2024/05/02 10:00:00", "XY12345000"}, {"2024/06/02 10:00:00", "XY12345001"}});
    runTrial("2024/05", "2024/06");
    const QString path = folder_.filePath("87654321.TXT");
    try {
        runMedia(path, "2024/06", "2024/06");
        QFAIL("filed the trial of another period");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains("11305"), qPrintable(e.message()));
    }
    QVERIFY(!QFileInfo::exists(path));
    runMedia(path, "2024/05", "2024/06");
    QCOMPARE(readFile(path).count("\r\n"), 3); // one summary per day, the blank numbers
}

// XY00000000 to XY00000300 issued on one day: one summary record per block, the second
// starting at the block's first number.
void TestInvoiceMedia::daysRunSplitsAtABlockBoundary() {
    invoicefix::insertRange("11306", "XY00000000", "XY00000499");
    testdb::admin("insert into tran (island, gun_no, tran_time, inv_amt, tax, tax_type, invoice, "
                  "invoice_tp, uid, void, prt_invoice) select '01', '01', timestamp "
                  "'2024-06-03 06:00' + g * interval '1 minute', 105, 5, 'TX', 'XY' || "
                  "lpad(g::text, 8, '0'), '2', '00000000', 0, '-1' from generate_series(0, 300) g",
                  "pos_data");
    runTrial("2024/06", "2024/06");
    runMedia(folder_.filePath("87654321.TXT"));
    QCOMPARE(invoicefix::rows(dm_->cn, "select tinv2, tinv1, amt, type1, type2 from tIN030 "
                                       "order by tp, tyymm, tinv2, type1"),
             (QList<QStringList>{{"XY00000000", "00000249", "26250", "1", "A"},
                                 {"XY00000250", "00000300", "5355", "1", "A"},
                                 {"XY00000301", "00000499", "0", "D", "A"}}));
}

void TestInvoiceMedia::statementsDoNotGrowWithRanges() {
    QList<qint64> counts;
    for (int ranges : {1, 20}) {
        testdb::recreate();
        for (int r = 0; r < ranges; ++r) {
            invoicefix::insertRange("11306", QString("XY%1").arg(r * 1000, 8, 10, QChar('0')),
                                    QString("XY%1").arg(r * 1000 + 999, 8, 10, QChar('0')));
            invoicefix::insertRange("11306", QString("QQ%1").arg(r * 1000, 8, 10, QChar('0')),
                                    QString("QQ%1").arg(r * 1000 + 999, 8, 10, QChar('0')), "3");
        }
        testdb::admin(
            QString("insert into tran (island, gun_no, tran_time, inv_amt, tax, tax_type, "
                    "invoice, invoice_tp, uid, void, prt_invoice) select '01', '01', "
                    "timestamp '2024-06-01' + g * interval '3 minute', 105, 5, "
                    "case when g % 50 = 0 then 'TF' else 'TX' end, "
                    "case when g % 7 = 0 then 'QQ' else 'XY' end || lpad((g * 3)::text, "
                    "8, '0'), case when g % 7 = 0 then '3' else '2' end, '00000000', "
                    "(g % 13 = 0)::int, '-1' from generate_series(0, %1) g")
                .arg(ranges * 100),
            "pos_data");
        DataModule dm;
        testdb::configure(dm.cn);
        dm.settings.tax_id = station.taxId;
        dm.settings.uid = station.uid;
        SilentProgress progress;
        runInvoiceTrial(dm, {"2024/06", "2024/06", {}, {}, "0"}, progress, [](const QString&) {});
        const qint64 before = dm.cn.statementsSent();
        const InvoiceMediaResult written =
            runInvoiceMedia(dm, {"2024/06", "2024/06", folder_.filePath("count.TXT")}, progress,
                            [](const QString&) {});
        counts << dm.cn.statementsSent() - before;
        QVERIFY(written.records > ranges * 20);
    }
    QCOMPARE(counts[0], counts[1]);
    QVERIFY2(counts[0] <= 20, qPrintable(QString::number(counts[0])));
}

// On a generated station of two months, the block table is the one the row-by-row steps
// make (a query for each block, one block after another), and the file is well formed.
void TestInvoiceMedia::demoStationAsTheRowByRowSteps() {
    {
        Connection cn;
        testdb::configure(cn);
        DemoOptions options;
        options.seed = 5;
        options.days = 61;
        options.salesPerDay = 300;
        options.lastDay = QDate(2024, 6, 30);
        CopyLoader loader(cn);
        SilentProgress progress;
        generateDemoStation(options, loader, progress);
        loader.finish();
    }
    const QStringList trialLines = runTrial("2024/05", "2024/06");
    QVERIFY2(trialLines.size() >= 4, qPrintable(trialLines.join('|')));
    const QString path = folder_.filePath("demo.TXT");
    const QStringList lines = runMedia(path, "2024/05", "2024/06");

    // The block table made row by row: a query for each block, one block after another.
    QList<QStringList> expected;
    Query ranges(dm_->cn), found(dm_->cn);
    ranges.setSql("select * From inv_range Where inv_date='11306' and void = '0' order by "
                  "inv_start");
    ranges.open();
    QSet<QString> keys;
    for (ranges.first(); !ranges.eof(); ranges.next()) {
        const QString start = ranges.field("inv_start").asText().trimmed();
        const QString end = ranges.field("inv_end").asText().trimmed();
        const QString xy = start.left(2);
        const qint64 b0 = qRound64(start.mid(2).toDouble() / 250);
        const qint64 b1 = qRound64((end.mid(2).toDouble() + 1) / 250);
        for (qint64 k = b0; k < b1; ++k) {
            const QString key = xy + QString::number(k).rightJustified(6, '0');
            if (keys.contains(key)) continue;
            keys.insert(key);
            const QString first = xy + QString::number(250 * k).rightJustified(8, '0');
            const QString last = xy + QString::number(250 * k + 249).rightJustified(8, '0');
            QStringList row{
                ranges.field("code").asText().trimmed(), key,  first, "", last.right(3), first,
                first.mid(2, 5) + last.right(3),         "250"};
            found.close();
            found.setSql("select max(invoice) as invo from tIN010  where invoice >= :Minvo1 and "
                         "invoice <= :Minvo2");
            found.param("Minvo1").setText(first);
            found.param("Minvo2").setText(last);
            found.open();
            const QString invo = found.field("invo").asText();
            if (!invo.isEmpty()) {
                row[3] = invo.right(3);
                row[7] = QString::number(last.right(3).toInt() - row[3].toInt());
                const int next = row[3].toInt() + 1;
                row[5] = next > 999 ? QString()
                                    : invo.left(7) + QString::number(next).rightJustified(3, '0');
            }
            expected << row;
        }
    }
    QVERIFY(expected.size() > 30);
    QCOMPARE(invoicefix::rows(dm_->cn, "select tp, tinv1, tinv2, tinv3, tinv4, tinv5, tinv6, cnt "
                                       "from tIN020 order by tinv1"),
             [&] {
                 std::sort(expected.begin(), expected.end(),
                           [](const QStringList& a, const QStringList& b) { return a[1] < b[1]; });
                 return expected;
             }());

    // Records of 81 characters, numbered from 1 in file order, as many as the lines say.
    const QList<QByteArray> records = readFile(path).split('\n');
    QCOMPARE(records.last(), QByteArray());
    const int count = lines.last().mid(QString::fromUtf8("  轉檔筆數 : ").size()).toInt();
    QCOMPARE(records.size() - 1, count);
    for (int i = 0; i < count; ++i) {
        QCOMPARE(records[i].size(), 82); // and the CR
        QVERIFY(records[i].endsWith('\r'));
        QCOMPARE(records[i].mid(11, 7).toInt(), i + 1);
    }
}

void TestInvoiceMedia::commandLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("stdout"); // exactly, lines joined by line feeds
    QTest::addColumn<QString>("stderr"); // contains
    const QString june = "2024/06";
    QTest::newRow("trial")
        << QStringList{"invoice", "trial", "--from", june, "--to", june} << 0
        << QString::fromUtf8(
               "\n二聯式發票  有效張數 : 8  發票金額 : 1,140\n\n二聯式發票  作廢張數 : "
               "1\n\n三聯式發票  有效張數 : 3  發票金額 : 3,125\n\n三聯式發票  作廢張數 "
               ": 1\n")
        << "";
    QTest::newRow("months refused")
        << QStringList{"invoice", "trial", "--from", "2024/06", "--to", "2024/08"} << 2 << ""
        << QString::fromUtf8("起迄年月 錯誤...");
    QTest::newRow("no months") << QStringList{"invoice", "trial"} << 2 << ""
                               << "--from";
    QTest::newRow("no action") << QStringList{"invoice"} << 2 << ""
                               << "trial";
    QTest::newRow("--out is for media")
        << QStringList{"invoice", "trial", "--from", june, "--to", june, "--out", "x"} << 2 << ""
        << "--out";
    QTest::newRow("media")
        << QStringList{"invoice", "media", "--from", june, "--to", june, "--out", "out.TXT"} << 0
        << workedLines().join('\n') + "\n" + QString::fromUtf8("  媒體檔 : out.TXT\n") << "";
    QTest::newRow("media to a missing folder")
        << QStringList{"invoice", "media", "--from", june, "--to", june, "--out", "no/x.TXT"} << 1
        << workedLines().join('\n') + "\n"
        << QString::fromUtf8("不存在");
}

void TestInvoiceMedia::commandLine() {
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, stdout);
    QFETCH(QString, stderr);
    insertWorkedFixture();
    testdb::admin("insert into set_system values ('uid', '87654321'), ('tax_id', '123456789')",
                  "pos_data");
    if (args.contains("media")) runTrial("2024/06", "2024/06");
    reportfiles::Outcome run = reportfiles::runTolvar(folder_.path(), args);
    const QString out = run.out;
    const QString err = run.err;
    QCOMPARE(run.status, status);
    if (status != 2) QCOMPARE(out, stdout);
    QVERIFY2(err.contains(stderr), qPrintable(err));
    if (status == 0 && args.contains("media"))
        QCOMPARE(readFile(folder_.filePath("out.TXT")), workedFile());
}

QTEST_MAIN(TestInvoiceMedia)
#include "tst_invoice_media.moc"
