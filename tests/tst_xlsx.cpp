// Reports saved as Excel workbooks: every report of the catalogue on a month of a demo station
// read back with openpyxl (title, headings, every printed line's figures as numbers on one row,
// names with a 0x5C trail byte, dates as dates), the figures' formats, the workbook writer's
// limits and failures, LibreOffice opening and drawing the workbooks, the command line's
// --xlsx and the preview's "存成 Excel".
#include "app/data_module.h"
#include "app/gui_start.h"
#include "app/progress.h"
#include "app/station_settings.h"
#include "db/copy_loader.h"
#include "demo/station_generator.h"
#include "reports/business/br040_screen.h"
#include "reports/common/file_error.h"
#include "reports/common/report_preview.h"
#include "reports/common/report_sheet.h"
#include "reports/common/report_workbook.h"
#include "reports/common/xlsx_writer.h"
#include "reports/report_catalogue.h"
#include "support/gui_support.h"
#include "support/report_files.h"
#include "support/sales_fixture.h"
#include "support/test_database.h"
#include "support/workbook_reader.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

const QDate printingDay(2024, 6, 1);

// The options of a report run on May 2024 of the demo station (BR030: the 15th).
ReportOptions mayOptions(const ReportDef& report) {
    ReportOptions o = defaultOptions(report, printingDay);
    o.from = "2024/05/01";
    o.to = "2024/05/31";
    o.date = "2024/05/15";
    if (report.code == "BR090") o.to = "2024/06/30"; // the blanks of the May-June invoices
    return o;
}

// --- what the printed pages show, read from the pages themselves

// A printed figure as a reader of the page sees one: digits, maybe grouped, with decimals, a
// dollar or a percent sign, or a whole number set to the right; never a code with a leading 0.
bool isFigure(const rpt::TextItem& t) {
    static const QRegularExpression figure(
        QStringLiteral("^-?\\$?(\\d{1,3}(,\\d{3})+|\\d+)?(\\.\\d+)?%?$"));
    if (!figure.match(t.text).hasMatch() || !t.text.contains(QRegularExpression("\\d")))
        return false;
    if (QRegularExpression("^-?0\\d").match(t.text).hasMatch()) return false;
    return t.align == rpt::Align::Right || t.text.contains(QRegularExpression("[,.$%]"));
}

// The number a printed figure stands for, read as decimal digits.
double figureValue(QString text) {
    text.remove('$').remove(',');
    int exponent = 0;
    if (text.endsWith('%')) {
        text.chop(1);
        exponent = -2;
    }
    return (text + QStringLiteral("e%1").arg(exponent)).toDouble();
}

// How far down the page header reaches on every page: the header bands and their children.
double headerBottom(const rpt::RenderedReport& r) {
    QStringList header;
    double bottom = r.page.top;
    for (const rpt::Band& b : r.bands)
        if (b.kind == rpt::BandKind::PageHeader ||
            (b.kind == rpt::BandKind::Child && header.contains(b.parent))) {
            header << b.name;
            bottom += b.height;
        }
    return bottom;
}

struct PrintedLine {
    QStringList figures; // left to right
    QStringList texts;   // the other texts
};

// The lines below the page header (all of them with `all`), page by page, top to bottom;
// texts whose tops are within 1.5 mm share a line.
QList<PrintedLine> bodyLines(const rpt::RenderedReport& r, bool all = false) {
    const double below = all ? 0 : headerBottom(r);
    QList<PrintedLine> lines;
    for (const rpt::PageItems& page : r.pages) {
        QList<rpt::TextItem> texts;
        for (const rpt::TextItem& t : page.texts)
            if (t.rect.top() >= below - 0.01) texts << t;
        std::sort(texts.begin(), texts.end(), [](const rpt::TextItem& a, const rpt::TextItem& b) {
            return a.rect.top() < b.rect.top();
        });
        for (qsizetype i = 0; i < texts.size();) {
            qsizetype end = i;
            while (end < texts.size() && texts[end].rect.top() - texts[i].rect.top() <= 1.5)
                ++end;
            QList<rpt::TextItem> line = texts.mid(i, end - i);
            std::sort(line.begin(), line.end(), [](const rpt::TextItem& a, const rpt::TextItem& b) {
                return a.rect.left() < b.rect.left();
            });
            PrintedLine printed;
            for (const rpt::TextItem& t : line)
                (isFigure(t) ? printed.figures : printed.texts) << t.text;
            lines << printed;
            i = end;
        }
    }
    return lines;
}

// The texts of the first page's header but its figures.
QStringList headerTexts(const rpt::RenderedReport& r) {
    QStringList texts;
    const double below = headerBottom(r);
    for (const rpt::TextItem& t : r.pages.value(0).texts)
        if (t.rect.top() < below - 0.01 && !isFigure(t)) texts << t.text;
    return texts;
}

int headingRowsOf(const xlsxread::Workbook& book) {
    return book.freeze.isEmpty() ? 0 : book.freeze.mid(1).toInt() - 1;
}

// The numbers of each row below the heading rows (of every row with `all`), left to right;
// rows without one left out.
QList<QList<const xlsxread::Cell*>> figureRows(const xlsxread::Workbook& book, bool all = false) {
    QMap<int, QList<const xlsxread::Cell*>> rows;
    for (const xlsxread::Cell& c : book.cells)
        if (c.type == 'n' && (all || c.row > headingRowsOf(book))) rows[c.row] << &c;
    return rows.values();
}

bool isDateText(const QString& text) {
    return QRegularExpression("^\\d{4}/\\d{2}(/\\d{2})?$").match(text).hasMatch();
}

QString lines(const QList<QStringList>& list) {
    QStringList out;
    for (const QStringList& l : list)
        out << l.join(' ');
    return out.join(" | ");
}

// A CSV file as rows of fields.
QList<QStringList> readCsv(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QString text = QString::fromUtf8(file.readAll());
    QList<QStringList> rows{QStringList()};
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.last() << field;
            field.clear();
        } else if (c == '\n') {
            rows.last() << field;
            field.clear();
            rows << QStringList();
        } else if (c != '\r') {
            field += c;
        }
    }
    if (!field.isEmpty() || !rows.last().isEmpty()) rows.last() << field;
    if (rows.last().isEmpty()) rows.removeLast();
    return rows;
}

// LibreOffice converting `files` into `folder` with `filter`, in a profile of its own.
bool libreOffice(const QString& filter, const QStringList& files, const QString& folder,
                 QString* said) {
    QProcess office;
    QStringList args{"-env:UserInstallation=file://" + folder + "/profile",
                     "--headless",
                     "--convert-to",
                     filter,
                     "--outdir",
                     folder};
    office.start("soffice", args + files);
    const bool done = office.waitForFinished(240000);
    *said = QString::fromUtf8(office.readAllStandardError());
    return done && office.exitStatus() == QProcess::NormalExit && office.exitCode() == 0;
}

} // namespace

class TestXlsx : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void figures_data();
    void figures();
    void numberFormats_data();
    void numberFormats();
    void fileNames_data();
    void fileNames();
    void writerKeepsTextsAndNumbers();
    void writerFailuresLeaveTheOldFile_data();
    void writerFailuresLeaveTheOldFile();
    void everyReport_data();
    void everyReport();
    void emptyReportsWriteNoFile_data();
    void emptyReportsWriteNoFile();
    void libreOfficeShowsTheFiguresAsPrinted();
    void libreOfficeDrawsThePages();
    void commandLine_data();
    void commandLine();
    void previewSavesTheWorkbook();

private:
    struct Run {
        PrintJob job;
        rpt::RenderedReport pages;
    };
    Run run(const ReportDef& report, const ReportOptions& options);
    QString writeAll(const QStringList& codes, const QString& folder);

    std::unique_ptr<DataModule> dm_;
    std::unique_ptr<Query> work_;
    QTemporaryDir folder_;
};

void TestXlsx::initTestCase() {
    setUpChineseFonts();
    testdb::recreate();
    DemoOptions options;
    options.seed = 19;
    options.days = 45;
    options.salesPerDay = 50;
    options.lastDay = QDate(2024, 5, 31);
    fixture::loadDemoStation(options);
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
    // The station's name as the program reads it: Big5 from set_system, 許 ending in 0x5C.
    dm_->qy.setSql("select * from set_system");
    dm_->qy.open();
    readStationSettings(dm_->qy, dm_->settings);
    dm_->qy.close();
    QCOMPARE(dm_->settings.st_name, QString::fromUtf8("許厝港加油站"));
    work_ = std::make_unique<Query>(dm_->cn);
}

void TestXlsx::cleanupTestCase() {
    work_.reset();
    dm_.reset();
}

TestXlsx::Run TestXlsx::run(const ReportDef& report, const ReportOptions& options) {
    SilentProgress progress;
    Run r{report.print(*dm_, *work_, options, progress), {}};
    r.pages = renderJob(r.job, printingDay);
    return r;
}

void TestXlsx::figures_data() {
    QTest::addColumn<QString>("printed");
    QTest::addColumn<bool>("isFigure");
    QTest::addColumn<double>("number");
    QTest::addColumn<QString>("format");
    QTest::newRow("grouped decimals") << "1,550.40" << true << 1550.4 << "#,##0.00";
    QTest::newRow("no binary noise") << "2,496.00" << true << 2496.0 << "#,##0.00";
    QTest::newRow("whole") << "43350" << true << 43350.0 << "0";
    QTest::newRow("millions") << "12,345,678" << true << 12345678.0 << "#,##0";
    QTest::newRow("negative dollars") << "-$1,234" << true << -1234.0 << "\"$\"#,##0";
    QTest::newRow("no integer digits") << ".50" << true << 0.5 << "#.00";
    QTest::newRow("share") << "12.34%" << true << 0.1234 << "0.00%";
    QTest::newRow("price") << "31.2000" << true << 31.2 << "#,##0.0000";
    QTest::newRow("small dollars as the large") << "$728" << true << 728.0 << "\"$\"#,##0";
    QTest::newRow("a tank code keeps its 0") << "01" << false << 0.0 << "";
    QTest::newRow("a shift") << "1130501_1" << false << 0.0 << "";
    QTest::newRow("a dash") << "-" << false << 0.0 << "";
    QTest::newRow("a fuel mark") << "(92)" << false << 0.0 << "";
    QTest::newRow("a point alone") << "." << false << 0.0 << "";
    QTest::newRow("ROC date") << "113/05/01" << false << 0.0 << "";
    QTest::newRow("grouped wrongly") << "12,34" << false << 0.0 << "";
}

void TestXlsx::figures() {
    QFETCH(QString, printed);
    QFETCH(bool, isFigure);
    QFETCH(double, number);
    QFETCH(QString, format);
    const std::optional<rpt::SheetCell> cell = rpt::figureCell(printed);
    QCOMPARE(cell.has_value(), isFigure);
    if (!cell) return;
    QCOMPARE(cell->type, rpt::SheetCell::Type::Number);
    QCOMPARE(cell->number, number); // exactly the decimal printed
    QCOMPARE(cell->format, format);
}

void TestXlsx::numberFormats_data() {
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("format");
    QTest::newRow("amount") << "#,###,##0"
                            << "#,##0";
    QTest::newRow("litres") << "##,##0.00"
                            << "#,##0.00";
    QTest::newRow("nothing for nought") << "#,###,###"
                                        << "#,###";
    QTest::newRow("bare") << "#"
                          << "#";
    QTest::newRow("decimals only") << ".00"
                                   << "#.00";
    QTest::newRow("dollars") << "$##,###,##0"
                             << "\"$\"#,##0";
    QTest::newRow("price") << "##,##0.0000"
                           << "#,##0.0000";
    QTest::newRow("fixed") << "0.00"
                           << "0.00";
    QTest::newRow("year") << "000"
                          << "000";
}

void TestXlsx::numberFormats() {
    QFETCH(QString, mask);
    QFETCH(QString, format);
    QCOMPARE(rpt::numberFormat(mask), format);
}

void TestXlsx::fileNames_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::newRow("a range") << "BR040"
                             << "BR040_20240501_20240531.xlsx";
    QTest::newRow("one day") << "BR030"
                             << "BR030_20240515.xlsx";
    QTest::newRow("with a shift range") << "BR050"
                                        << "BR050_20240501_20240531.xlsx";
}

void TestXlsx::fileNames() {
    QFETCH(QString, code);
    QFETCH(QString, name);
    const ReportDef* report = findReport(code);
    QVERIFY(report);
    QCOMPARE(workbookName(*report, mayOptions(*report)), name);
    QCOMPARE(rpt::sheetTabName("BR010 簽帳客戶明細表"), QString::fromUtf8("BR010 簽帳客戶明細表"));
    QCOMPARE(rpt::sheetTabName("a/b:c[1]*?\\'"), QString("a b c 1"));
    QCOMPARE(rpt::sheetTabName(QString(40, 'x')).size(), 31);
}

void TestXlsx::writerKeepsTextsAndNumbers() {
    rpt::Sheet sheet;
    sheet.name = QString::fromUtf8("許功 測試");
    sheet.columnWidths = {20, 12};
    const QStringList texts = {QString::fromUtf8("功能飲料"), QString::fromUtf8("許氏人蔘茶"),
                               "_x0041_", "a\tb", QString::fromUtf8("高級柴油(外購)")};
    const double numbers[] = {9.3, 2496, 1550.4, 0.1234, -7};
    for (int i = 0; i < texts.size(); ++i) {
        rpt::SheetRow row;
        rpt::SheetCell text;
        text.text = texts[i];
        row.cells.insert(0, text);
        rpt::SheetCell number;
        number.type = rpt::SheetCell::Type::Number;
        number.number = numbers[i];
        number.format = "#,##0.00";
        row.cells.insert(1, number);
        row.verticals = {0, 2}; // a box around the row, no rule between its cells
        sheet.rows << row;
    }
    const QString path = folder_.filePath("texts.xlsx");
    rpt::writeXlsx(sheet, path);
    const xlsxread::Workbook book = xlsxread::read(path);
    QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
    QCOMPARE(book.sheets, QStringList{QString::fromUtf8("許功 測試")});
    for (int i = 0; i < texts.size(); ++i) {
        const QList<xlsxread::Cell> row = book.row(i + 1);
        QCOMPARE(row.size(), 2);
        QCOMPARE(row[0].type, 's');
        QCOMPARE(row[0].text, texts[i]);
        QCOMPARE(row[1].type, 'n');
        QCOMPARE(row[1].number, numbers[i]);
        QCOMPARE(row[1].format, QString("#,##0.00"));
        QVERIFY(row[0].ruledLeft && !row[0].ruledRight);
        QVERIFY(!row[1].ruledLeft && row[1].ruledRight);
    }
}

void TestXlsx::writerFailuresLeaveTheOldFile_data() {
    QTest::addColumn<QString>("target"); // relative to a fresh folder; "old" holds an old file
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("said");
    QTest::newRow("no such folder") << "missing/book.xlsx" << 3 << "missing/book.xlsx";
    QTest::newRow("a folder") << "old" << 3 << "old";
    QTest::newRow("more rows than a sheet holds") << "old/book.xlsx" << 1048577 << "1,048,576";
}

void TestXlsx::writerFailuresLeaveTheOldFile() {
    QFETCH(QString, target);
    QFETCH(int, rows);
    QFETCH(QString, said);
    QTemporaryDir folder;
    QDir(folder.path()).mkdir("old");
    const QString old = folder.filePath("old/book.xlsx");
    {
        QFile file(old);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("the workbook of last month");
    }
    rpt::Sheet sheet;
    sheet.columnWidths = {10};
    sheet.rows.resize(rows);
    rpt::SheetCell cell;
    cell.text = "x";
    sheet.rows.last().cells.insert(0, cell);
    const QString path = folder.filePath(target);
    try {
        rpt::writeXlsx(sheet, path);
        QFAIL("written");
    } catch (const FileError& e) {
        QVERIFY2(e.message().contains(said), qPrintable(e.message()));
    }
    QFile file(old);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("the workbook of last month"));
    QCOMPARE(QDir(folder.filePath("old")).entryList(QDir::Files), QStringList{"book.xlsx"});
}

void TestXlsx::everyReport_data() {
    QTest::addColumn<QString>("code");
    for (const ReportDef& r : reportCatalogue())
        QTest::newRow(qPrintable(r.code)) << r.code;
}

void TestXlsx::everyReport() {
    QFETCH(QString, code);
    const ReportDef& report = *findReport(code);
    const Run r = run(report, mayOptions(report));
    QVERIFY2(!r.pages.pages.isEmpty(), "the demo month prints nothing");
    const QString path = folder_.filePath(code + ".xlsx");
    QVERIFY(writeReportWorkbook(r.job, r.pages, report.title, path));
    const xlsxread::Workbook book = xlsxread::read(path);
    QVERIFY2(book.error.isEmpty(), qPrintable(book.error));

    // The sheet is the report: its title, the station (Big5 許 with its 0x5C trail byte).
    QCOMPARE(book.sheets, QStringList{report.title});
    QCOMPARE(book.title, report.title);
    const int headings = headingRowsOf(book);
    QVERIFY2(headings >= 2, qPrintable(book.freeze));
    const xlsxread::Cell* station = book.find(QString::fromUtf8("許厝港加油站"));
    QVERIFY(station);
    QCOMPARE(station->row, 1);
    QCOMPARE(book.titleRows, QString("$1:$%1").arg(headings));
    QVERIFY2(book.printArea.endsWith(QString("$%1").arg(book.rowCount)),
             qPrintable(book.printArea));
    QCOMPARE(book.orientation, QString(r.pages.page.landscape ? "landscape" : "portrait"));

    // Every title and heading in the heading rows, as text, or its date as a date; a page
    // number's caption goes to the printed footer. A report's own sheet (BR030's grid) may
    // have them anywhere.
    const bool own = bool(r.job.sheet);
    QStringList headingTexts;
    QStringList headingDates;
    for (const xlsxread::Cell& c : book.cells)
        if (own || c.row <= headings) (c.type == 'd' ? headingDates : headingTexts) << c.text;
    for (const QString& t : headerTexts(r.pages)) {
        if (isDateText(t)) {
            QVERIFY2(std::any_of(headingDates.begin(), headingDates.end(),
                                 [&](const QString& d) { return d.startsWith(t); }),
                     qPrintable(t));
            continue;
        }
        const bool shown = std::any_of(headingTexts.begin(), headingTexts.end(),
                                       [&](const QString& h) { return h.contains(t); });
        QVERIFY2(
            shown || book.footer.contains(t.trimmed()) ||
                (QRegularExpression("^\\d+$").match(t).hasMatch() && book.footer.contains("&P")),
            qPrintable(t));
    }

    // Every printed line's figures on one row, left to right, each a number equal to the
    // printed figure; BR030's own grid holds them all, its share beside its litres.
    QList<QStringList> printed;
    QSet<QString> bodyTexts;
    for (const PrintedLine& l : bodyLines(r.pages, own)) {
        if (!l.figures.isEmpty()) printed << l.figures;
        for (const QString& t : l.texts)
            bodyTexts << t;
    }
    QList<QStringList> written;
    for (const auto& row : figureRows(book, own)) {
        QStringList numbers;
        for (const xlsxread::Cell* c : row)
            numbers << c->text;
        written << numbers;
    }
    QList<QStringList> expected;
    for (const QStringList& line : printed) {
        QStringList numbers;
        for (const QString& f : line)
            numbers << QString::number(figureValue(f), 'g', 17);
        expected << numbers;
    }
    for (QStringList& line : written)
        for (QString& n : line)
            n = QString::number(n.toDouble(), 'g', 17);
    if (own) {
        QStringList all, allWritten;
        for (const QStringList& l : expected)
            all << l;
        for (const QStringList& l : written)
            allWritten << l;
        std::sort(all.begin(), all.end());
        std::sort(allWritten.begin(), allWritten.end());
        QCOMPARE(allWritten, all);
    } else {
        QVERIFY2(written == expected, qPrintable("written: " + lines(written).left(1500) +
                                                 "\nprinted: " + lines(expected).left(1500)));
    }

    // The other texts of the lines as texts (names with 功 and 許 among them), their dates
    // as dates, and no figure kept as text.
    QSet<QString> cellTexts, cellDates;
    for (const xlsxread::Cell& c : book.cells) {
        if (c.type == 's') cellTexts << c.text;
        if (c.type == 'd') cellDates << c.text.left(10);
        if (c.type == 't') cellDates << c.text;
        if (c.type == 's')
            QVERIFY2(!QRegularExpression("^-?\\$?\\d{1,3}(,\\d{3})*(\\.\\d+)?$")
                             .match(c.text)
                             .hasMatch() ||
                         !c.text.contains(QRegularExpression("[,.]")),
                     qPrintable("a figure kept as text: " + c.text));
    }
    for (const QString& t : bodyTexts) {
        if (isDateText(t) || QRegularExpression("^\\d{2}:\\d{2}:\\d{2}$").match(t).hasMatch())
            QVERIFY2(cellDates.contains(t), qPrintable("no date " + t));
        else
            QVERIFY2(std::any_of(cellTexts.begin(), cellTexts.end(),
                                 [&](const QString& c) { return c.contains(t); }),
                     qPrintable("no text " + t));
    }
}

void TestXlsx::emptyReportsWriteNoFile_data() {
    everyReport_data();
}

void TestXlsx::emptyReportsWriteNoFile() {
    QFETCH(QString, code);
    const ReportDef& report = *findReport(code);
    ReportOptions o = mayOptions(report);
    o.from = o.to = o.date = "2030/01/15"; // long after the demo's last day
    const Run r = run(report, o);
    QVERIFY(r.pages.pages.isEmpty());
    const QString path = folder_.filePath(code + "-empty.xlsx");
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("older");
    }
    QVERIFY(!writeReportWorkbook(r.job, r.pages, report.title, path));
    QFile old(path);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("older"));
}

QString TestXlsx::writeAll(const QStringList& codes, const QString& folder) {
    for (const QString& code : codes) {
        const ReportDef& report = *findReport(code);
        const Run r = run(report, mayOptions(report));
        if (!writeReportWorkbook(r.job, r.pages, report.title,
                                 QDir(folder).filePath(code + ".xlsx")))
            return code + " printed nothing";
    }
    return {};
}

void TestXlsx::libreOfficeShowsTheFiguresAsPrinted() {
    // Every report's workbook opened by LibreOffice, once for them all: each number shows as
    // the page printed it, each date as yyyy/mm/dd.
    QTemporaryDir folder;
    QStringList codes, files;
    for (const ReportDef& report : reportCatalogue()) {
        codes << report.code;
        files << folder.filePath(report.code + ".xlsx");
    }
    const QString problem = writeAll(codes, folder.path());
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QString said;
    QVERIFY2(libreOffice("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true", files,
                         folder.path(), &said),
             qPrintable(said));
    for (const QString& code : codes) {
        const QList<QStringList> shown = readCsv(folder.filePath(code + ".csv"));
        QVERIFY2(!shown.isEmpty(), qPrintable(code + " not converted: " + said));
        const xlsxread::Workbook book = xlsxread::read(folder.filePath(code + ".xlsx"));
        QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
        const ReportDef& report = *findReport(code);
        const Run r = run(report, mayOptions(report));
        const bool own = bool(r.job.sheet);
        QList<QStringList> printed;
        for (const PrintedLine& l : bodyLines(r.pages, own))
            if (!l.figures.isEmpty()) printed << l.figures;
        QList<QStringList> displayed;
        for (const auto& row : figureRows(book, own)) {
            QStringList texts;
            for (const xlsxread::Cell* c : row)
                texts << shown.value(c->row - 1).value(c->column - 1);
            displayed << texts;
        }
        if (own) { // BR030's grid: the same figures, the share beside its litres
            QStringList a, b;
            for (const QStringList& l : printed)
                a << l;
            for (const QStringList& l : displayed)
                b << l;
            std::sort(a.begin(), a.end());
            std::sort(b.begin(), b.end());
            QCOMPARE(b, a);
        } else {
            QVERIFY2(displayed == printed,
                     qPrintable(code + " shows " + lines(displayed).left(1200) + "\nprinted " +
                                lines(printed).left(1200)));
        }
        for (const xlsxread::Cell& c : book.cells)
            if (c.type == 'd')
                QVERIFY2(isDateText(shown.value(c.row - 1).value(c.column - 1)),
                         qPrintable(code + ": " + shown.value(c.row - 1).join(',')));
    }
}

void TestXlsx::libreOfficeDrawsThePages() {
    // The daily revenue page, the month's statistics and the charge customers as LibreOffice
    // prints them, kept as pictures for a person to look at.
    QTemporaryDir folder;
    const QStringList codes{"BR030", "BR040", "BR010"};
    const QString problem = writeAll(codes, folder.path());
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QStringList files;
    for (const QString& code : codes)
        files << folder.filePath(code + ".xlsx");
    QString said;
    QVERIFY2(libreOffice("pdf", files, folder.path(), &said), qPrintable(said));
    const QString pictures = qEnvironmentVariable("TOLVAR_SCREENSHOTS", "screenshots");
    QDir().mkpath(pictures);
    for (const QString& code : codes) {
        const QString pdf = folder.filePath(code + ".pdf");
        QVERIFY2(QFile::exists(pdf), qPrintable(code + ": " + said));
        const QString content = reportfiles::pdfText(pdf);
        QVERIFY2(content.contains(QString::fromUtf8("許厝港加油站")),
                 qPrintable(content.left(500)));
        QVERIFY2(content.contains(findReport(code)->title.mid(6)), qPrintable(content.left(500)));
        QProcess png;
        png.start("pdftoppm", {"-r", "100", "-png", pdf, QDir(pictures).filePath("xlsx_" + code)});
        QVERIFY(png.waitForFinished(60000));
        QCOMPARE(png.exitCode(), 0);
        QVERIFY(!QDir(pictures).entryList({"xlsx_" + code + "-*.png"}).isEmpty());
    }
}

void TestXlsx::commandLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("file"); // the --xlsx file, in the working folder
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said"); // on stdout for 0, on stderr otherwise
    QTest::addColumn<bool>("written");
    QTest::newRow("BR010") << QStringList{"report",     "BR010", "--from",
                                          "2024/05/01", "--to",  "2024/05/31"}
                           << "br010.xlsx" << 0 << "br010.xlsx" << true;
    QTest::newRow("BR030 with its weather")
        << QStringList{"report", "BR030", "--date", "2024/05/15", "--weather", "雨天"}
        << "BR030.xlsx" << 0 << "BR030.xlsx" << true;
    QTest::newRow("nothing in the range")
        << QStringList{"report", "BR040", "--from", "2030/01/01", "--to", "2030/01/31"}
        << "br040.xlsx" << 0 << QString::fromUtf8("沒有資料，未寫入檔案") << false;
    QTest::newRow("into no folder")
        << QStringList{"report", "BR040", "--from", "2024/05/01", "--to", "2024/05/31"}
        << "nowhere/br040.xlsx" << 1 << "nowhere/br040.xlsx" << false;
    QTest::newRow("two outputs") << QStringList{"report", "BR040", "--pdf", "x.pdf"} << "br040.xlsx"
                                 << 2 << "--xlsx" << false;
}

void TestXlsx::commandLine() {
    QFETCH(QStringList, args);
    QFETCH(QString, file);
    QFETCH(int, status);
    QFETCH(QString, said);
    QFETCH(bool, written);
    QTemporaryDir folder;
    const QString path = folder.filePath(file);
    const bool old = QDir(folder.path()).exists(QFileInfo(file).path());
    if (old) { // an older workbook of that name
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("older");
    }
    reportfiles::Outcome run = reportfiles::runTolvar(folder.path(), args << "--xlsx" << file);
    const QString out = run.out;
    const QString err = run.err;
    QCOMPARE(run.status, status);
    QVERIFY2((status == 0 ? out : err).contains(said), qPrintable(out + err));
    if (!old) {
        QVERIFY(!QFile::exists(path));
        return;
    }
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    if (!written) {
        QCOMPARE(f.readAll(), QByteArray("older"));
        return;
    }
    f.close();
    const xlsxread::Workbook book = xlsxread::read(path);
    QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
    QCOMPARE(book.sheets, QStringList{findReport(args[1])->title});
    QVERIFY(book.find(QString::fromUtf8("許厝港加油站")));
    if (args[1] == "BR030") QVERIFY(book.find(QString::fromUtf8("雨天")));
    QVERIFY(std::any_of(book.cells.begin(), book.cells.end(),
                        [](const xlsxread::Cell& c) { return c.type == 'n'; }));
}

void TestXlsx::previewSavesTheWorkbook() {
    TFrmBR040 screen;
    screen.FormCreate();
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    QTemporaryDir folder;
    const QString path = folder.filePath(QString::fromUtf8("五月統計.xlsx"));
    QString offered, chosen;
    bool excelEnabled = false, besidePdf = false;
    auto answerPreview = [&](std::function<void(ReportPreview*)> then) {
        auto* poll = new QTimer(&screen);
        QObject::connect(poll, &QTimer::timeout, [=] {
            auto* preview = qobject_cast<ReportPreview*>(QApplication::activeModalWidget());
            if (!preview || !preview->isVisible()) return;
            poll->stop();
            poll->deleteLater();
            then(preview);
        });
        poll->start(20);
    };

    screen.e01->setText("2024/05/01");
    screen.e02->setText("2024/05/31");
    answerPreview([&](ReportPreview* preview) {
        excelEnabled = preview->ExcelButton->isEnabled();
        besidePdf = preview->ExcelButton->parentWidget() == preview->PdfButton->parentWidget() &&
                    preview->ExcelButton->x() > preview->PdfButton->x();
        gui::saveScreenshot(preview, "xlsx_preview");
        gui::answerNextDialog([&](QWidget* dialog) {
            auto* files = qobject_cast<QFileDialog*>(dialog);
            if (!files) return;
            offered = QFileInfo(files->selectedFiles().value(0)).fileName();
            files->setDirectory(folder.path());
            // Typed into the name box: selectFile() leaves the box alone while it has the
            // focus, which it may or may not have yet.
            if (auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(QFileInfo(path).fileName());
            chosen = files->selectedFiles().value(0);
            static_cast<QDialog*>(files)->accept();
        });
        preview->ExcelButton->click();
        preview->CloseButton->click();
    });
    QTimer::singleShot(90000, &screen, [] {
        if (auto* preview = qobject_cast<ReportPreview*>(QApplication::activeModalWidget()))
            preview->reject();
    });
    screen.SpeedButtonPrn->click();
    QVERIFY(excelEnabled);
    QVERIFY(besidePdf);
    QCOMPARE(offered, QString("BR040_20240501_20240531.xlsx"));
    QCOMPARE(chosen, path);
    const xlsxread::Workbook book = xlsxread::read(path);
    QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
    QCOMPARE(book.sheets, QStringList{QString::fromUtf8("BR040 總營業月統計表")});
    QVERIFY(book.find(QString::fromUtf8("銀行存款")));

    // A range without a day prints nothing: nothing to save.
    screen.e01->setText("2030/01/01");
    screen.e02->setText("2030/01/31");
    bool emptyEnabled = true;
    answerPreview([&](ReportPreview* preview) {
        emptyEnabled = preview->ExcelButton->isEnabled();
        QVERIFY(!preview->saveWorkbook(folder.filePath("empty.xlsx")));
        preview->CloseButton->click();
    });
    screen.SpeedButtonPrn->click();
    QVERIFY(!emptyEnabled);
    QVERIFY(!QFile::exists(folder.filePath("empty.xlsx")));
    screen.BitBtnExit->click();
}

QTEST_MAIN(TestXlsx)
#include "tst_xlsx.moc"
