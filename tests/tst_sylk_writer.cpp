// The SYLK export of a grid on real result sets: whole files byte for byte, cell texts and
// widths by column type, placement, the title cell, and files that cannot be written.
#include "db/connection.h"
#include "db/db_error.h"
#include "db/query.h"
#include "reports/common/file_error.h"
#include "reports/common/sylk_writer.h"
#include "support/test_database.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>

namespace {

// Big5 bytes of the texts the fixtures use.
const QByteArray CompNo = QByteArray::fromHex("a4bda571a54eb8b9");   // 公司代號
const QByteArray Amount = QByteArray::fromHex("aaf7c342");           // 金額
const QByteArray TranDate = QByteArray::fromHex("a5e6a9f6a4e9b4c1"); // 交易日期
const QByteArray XuGong = QByteArray::fromHex("b35ca55c");           // 許功, trail bytes 0x5C
const QByteArray Report = QByteArray::fromHex("b3f8aaed");           // 報表

QByteArray crlf(std::initializer_list<QByteArray> lines) {
    QByteArray out;
    for (const QByteArray& line : lines)
        out += line + "\r\n";
    return out;
}

QByteArray defaultHeader() {
    return crlf({"ID;PYSLK;N;E", "P;FMS Sans Serif;M240", "P;FMS Sans Serif;M240",
                 "P;FMS Sans Serif;M240", "P;FMS Sans Serif;M240", "P;EMS Sans Serif;M240",
                 "P;EMS Sans Serif;M180"});
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return "(cannot read " + path.toUtf8() + ")";
    return f.readAll();
}

} // namespace

class TestSylkWriter : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void wholeGridRestoresCurrentRow();
    void placementFontsAndHiddenColumn();
    void cells_data();
    void cells();
    void widths_data();
    void widths();
    void titleCell_data();
    void titleCell();
    void noRowsReplacesEarlierFile();
    void missingColumnRaisesBeforeWriting();
    void uncreatableFile_data();
    void uncreatableFile();
    void fullDiskRaisesAndRestoresRow_data();
    void fullDiskRaisesAndRestoresRow();
    void opensOnlyWhenVisible_data();
    void opensOnlyWhenVisible();

private:
    std::unique_ptr<Query> open(const QString& sql);
    // Writes `data` with `columns` through `writer` (FileName set here unless set already)
    // and returns the file's bytes.
    QByteArray exportGrid(TsxYSLK& writer, Query& data, const QList<ExportColumn>& columns);

    std::unique_ptr<Connection> cn;
    std::unique_ptr<QTemporaryDir> dir;
};

void TestSylkWriter::init() {
    testdb::recreate();
    cn = std::make_unique<Connection>();
    testdb::configure(*cn);
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

void TestSylkWriter::cleanup() {
    cn.reset();
    dir.reset();
}

std::unique_ptr<Query> TestSylkWriter::open(const QString& sql) {
    auto q = std::make_unique<Query>(*cn);
    q->setSql(sql);
    q->open();
    return q;
}

QByteArray TestSylkWriter::exportGrid(TsxYSLK& writer, Query& data,
                                      const QList<ExportColumn>& columns) {
    if (writer.FileName.isEmpty()) writer.FileName = dir->filePath("BR010.XLS");
    writer.Visible = false;
    writer.begin();
    writer.writeGrid(data, columns);
    writer.end();
    return readAll(writer.FileName);
}

void TestSylkWriter::wholeGridRestoresCurrentRow() {
    Query ddl(*cn);
    ddl.setSql("create table exp_sale (comp_no char(6), amount numeric(12,2), tran_date date)");
    ddl.execute();
    ddl.setSql("insert into exp_sale values ('許功', -12, '2024-12-31'), "
               "('A01', 1234.50, '2024-03-05'), ('B02', 0.5, '2024-06-30')");
    ddl.execute();
    auto q = open("select comp_no, amount, tran_date from exp_sale order by comp_no");
    q->moveTo(1);

    TsxYSLK w;
    const QByteArray file = exportGrid(w, *q,
                                       {{"comp_no", QString::fromUtf8("公司代號")},
                                        {"amount", QString::fromUtf8("金額")},
                                        {"tran_date", QString::fromUtf8("交易日期")}});

    // comp_no is char(6) but its name has 7 bytes, so the first column is 7 wide; the
    // char(6) padding is not written. Row 1 stays empty.
    const QByteArray expected = defaultHeader() + crlf({"F;W1 1 7",
                                                        "F;W2 2 10",
                                                        "F;W3 3 10",
                                                        "F;SDLRTBM0;FG0C;X1;Y2",
                                                        "C;X1;Y2;K\"" + CompNo + "\"",
                                                        "F;SDLRTBM0;FG0C;X2;Y2",
                                                        "C;X2;Y2;K\"" + Amount + "\"",
                                                        "F;SDLRTBM0;FG0C;X3;Y2",
                                                        "C;X3;Y2;K\"" + TranDate + "\"",
                                                        "F;SDLRTBM0;FG0L;X1;Y3",
                                                        "C;X1;Y3;K\"A01\"",
                                                        "F;SDLRTBM0;FG0R;X2;Y3",
                                                        "C;X2;Y3;K1234.5",
                                                        "F;SDLRTBM0;FG0L;X3;Y3",
                                                        "C;X3;Y3;K\"2024/03/05\"",
                                                        "F;SDLRTBM0;FG0L;X1;Y4",
                                                        "C;X1;Y4;K\"B02\"",
                                                        "F;SDLRTBM0;FG0R;X2;Y4",
                                                        "C;X2;Y4;K0.5",
                                                        "F;SDLRTBM0;FG0L;X3;Y4",
                                                        "C;X3;Y4;K\"2024/06/30\"",
                                                        "F;SDLRTBM0;FG0L;X1;Y5",
                                                        "C;X1;Y5;K\"" + XuGong + "\"",
                                                        "F;SDLRTBM0;FG0R;X2;Y5",
                                                        "C;X2;Y5;K-12",
                                                        "F;SDLRTBM0;FG0L;X3;Y5",
                                                        "C;X3;Y5;K\"2024/12/31\"",
                                                        "E"});
    QCOMPARE(file.split('\n'), expected.split('\n'));
    QCOMPARE(q->recNo(), 1);
    QVERIFY(!q->controlsDisabled());
}

void TestSylkWriter::placementFontsAndHiddenColumn() {
    auto q = open("select 'x'::varchar(4) as a, 1 as b, 7::int2 as c");
    TsxYSLK w;
    w.GridLeft = 3;
    w.GridTop = 5;
    w.GridTitleFont = 1;
    w.GridFont = 2;
    w.BestFieldWidth = false;
    w.setFonts({"P;FArial;M200", "P;FArial;M200;SB"});
    const QByteArray file = exportGrid(w, *q, {{"a", "A"}, {"b", "B", false}, {"c", "C"}});
    const QByteArray expected = crlf(
        {"ID;PYSLK;N;E", "P;FArial;M200", "P;FArial;M200;SB", "F;W3 3 4", "F;W4 4 6",
         "F;SDLRTBM1;FG0C;X3;Y5", "C;X3;Y5;K\"A\"", "F;SDLRTBM1;FG0C;X4;Y5", "C;X4;Y5;K\"C\"",
         "F;SDLRTBM2;FG0L;X3;Y6", "C;X3;Y6;K\"x\"", "F;SDLRTBM2;FG0R;X4;Y6", "C;X4;Y6;K7", "E"});
    QCOMPARE(file.split('\n'), expected.split('\n'));
}

void TestSylkWriter::cells_data() {
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QByteArray>("align");
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("numeric without trailing zeros")
        << "1234.50::numeric(12,2)" << QByteArray("R") << QByteArray("1234.5");
    QTest::newRow("negative fraction")
        << "-0.10::numeric(12,2)" << QByteArray("R") << QByteArray("-0.1");
    QTest::newRow("whole numeric") << "100::numeric(12,2)" << QByteArray("R") << QByteArray("100");
    QTest::newRow("zero") << "0::numeric" << QByteArray("R") << QByteArray("0");
    QTest::newRow("float sum to 15 digits")
        << "0.1::float8 + 0.2::float8" << QByteArray("R") << QByteArray("0.3");
    QTest::newRow("large float without exponent")
        << "1e20::float8" << QByteArray("R") << QByteArray("100000000000000000000");
    QTest::newRow("small float without exponent")
        << "1e-7::float8" << QByteArray("R") << QByteArray("0.0000001");
    QTest::newRow("numeric beyond 15 digits")
        << "12345678901234567::numeric" << QByteArray("R") << QByteArray("12345678901234600");
    QTest::newRow("bigint minimum")
        << "(-9223372036854775808)::int8" << QByteArray("R") << QByteArray("-9223372036854775808");
    QTest::newRow("null number") << "null::int4" << QByteArray("R") << QByteArray("");
    QTest::newRow("not a number") << "'NaN'::float8" << QByteArray("R") << QByteArray("");
    QTest::newRow("semicolon") << "'A;B'::varchar(10)" << QByteArray("L") << QByteArray("\"A  B\"");
    QTest::newRow("CR LF line breaks")
        << "E'L1\\r\\nL2'::varchar(10)" << QByteArray("L") << QByteArray("\"L1    L2\"");
    QTest::newRow("lone LF and CR")
        << "E'a\\nb\\rc'::varchar(10)" << QByteArray("L") << QByteArray("\"a  b  c\"");
    QTest::newRow("double quotes unchanged")
        << "'say \"hi\"'::varchar(10)" << QByteArray("L") << QByteArray("\"say \"hi\"\"");
    QTest::newRow("null text") << "null::varchar(4)" << QByteArray("L") << QByteArray("\"\"");
    QTest::newRow("char padding dropped")
        << "'A1'::char(6)" << QByteArray("L") << QByteArray("\"A1\"");
    QTest::newRow("char leading blank kept")
        << "' A1'::char(6)" << QByteArray("L") << QByteArray("\" A1\"");
    QTest::newRow("varchar trailing blanks kept")
        << "'A1  '::varchar(6)" << QByteArray("L") << QByteArray("\"A1  \"");
    QTest::newRow("0x5C trail bytes")
        << QString::fromUtf8("'許功'::varchar(4)") << QByteArray("L") << "\"" + XuGong + "\"";
    QTest::newRow("truth value") << "true" << QByteArray("L") << QByteArray("\"True\"");
    QTest::newRow("time") << "time '08:05:09'" << QByteArray("L") << QByteArray("\"08:05:09\"");
    QTest::newRow("date and time") << "timestamp '2024-03-05 08:05:09.5'" << QByteArray("L")
                                   << QByteArray("\"2024/03/05 08:05:09\"");
}

void TestSylkWriter::cells() {
    QFETCH(QString, expression);
    QFETCH(QByteArray, align);
    QFETCH(QByteArray, value);
    auto q = open("select " + expression + " as v");
    TsxYSLK w;
    const QByteArray file = exportGrid(w, *q, {{"v", "V"}});
    const QByteArray tail = crlf({"F;SDLRTBM0;FG0" + align + ";X1;Y3", "C;X1;Y3;K" + value, "E"});
    QCOMPARE(file.right(tail.size()), tail);
}

void TestSylkWriter::widths_data() {
    QTest::addColumn<QString>("select");
    QTest::addColumn<bool>("best");
    QTest::addColumn<int>("width");
    QTest::newRow("varchar") << "'a'::varchar(12) as v" << false << 12;
    QTest::newRow("char") << "'a'::char(3) as v" << false << 3;
    QTest::newRow("numeric") << "1::numeric(12,2) as v" << false << 10;
    QTest::newRow("float") << "1::float8 as v" << false << 10;
    QTest::newRow("smallint") << "1::int2 as v" << false << 6;
    QTest::newRow("integer") << "1::int4 as v" << false << 11;
    QTest::newRow("bigint") << "1::int8 as v" << false << 20;
    QTest::newRow("date") << "current_date as v" << false << 10;
    QTest::newRow("time") << "time '08:00' as v" << false << 8;
    QTest::newRow("date and time") << "timestamp '2024-03-05 08:00' as v" << false << 19;
    QTest::newRow("boolean") << "true as v" << false << 5;
    QTest::newRow("text without length, short values")
        << "v from (values ('ab'::text), ('cd')) t(v)" << false << 10;
    QTest::newRow("text without length, widest value in bytes")
        << QString::fromUtf8("v from (values ('ab'::text), ('許功許功許功')) t(v)") << false << 12;
    QTest::newRow("text without length, at most 255") << "repeat('x', 300) as v" << false << 255;
    QTest::newRow("long name, best width") << "'a'::varchar(4) as long_column_name" << true << 16;
    QTest::newRow("long name, declared width")
        << "'a'::varchar(4) as long_column_name" << false << 4;
    QTest::newRow("Chinese name counts Big5 bytes")
        << QString::fromUtf8("'a'::varchar(4) as \"公司代號\"") << true << 8;
    QTest::newRow("short name, best width") << "'a'::varchar(12) as v" << true << 12;
}

void TestSylkWriter::widths() {
    QFETCH(QString, select);
    QFETCH(bool, best);
    QFETCH(int, width);
    auto q = open("select " + select);
    TsxYSLK w;
    w.BestFieldWidth = best;
    const QList<QByteArray> lines = exportGrid(w, *q, {{q->columns()[0].name, "T"}}).split('\n');
    QVERIFY(lines.size() > 7);
    QCOMPARE(lines[7], "F;W1 1 " + QByteArray::number(width) + "\r");
}

void TestSylkWriter::titleCell_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QByteArray>("cell");
    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("blank") << "   " << QByteArray();
    QTest::newRow("written untrimmed")
        << QString::fromUtf8("  報表 ")
        << crlf({"F;SDM4;FG0L;X2;Y1", "C;X2;Y1;K\"  " + Report + " \""});
    QTest::newRow("cleaned") << QString::fromUtf8("報表;2024")
                             << crlf({"F;SDM4;FG0L;X2;Y1", "C;X2;Y1;K\"" + Report + "  2024\""});
}

void TestSylkWriter::titleCell() {
    QFETCH(QString, title);
    QFETCH(QByteArray, cell);
    auto q = open("select 'x'::varchar(4) as v");
    TsxYSLK w;
    w.Title = title;
    w.TitleLeft = 2;
    w.TitleTop = 1;
    w.TitleFont = 4;
    const QByteArray tail = crlf({"C;X1;Y3;K\"x\""}) + cell + crlf({"E"});
    const QByteArray file = exportGrid(w, *q, {{"v", "V"}});
    QCOMPARE(file.right(tail.size()), tail);
}

void TestSylkWriter::noRowsReplacesEarlierFile() {
    const QString path = dir->filePath("BR020.XLS");
    {
        QFile earlier(path);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write(QByteArray(5000, 'x'));
    }
    auto q = open("select 'a'::varchar(3) as v where false");
    TsxYSLK w;
    w.FileName = path;
    const QByteArray file = exportGrid(w, *q, {{"v", "V"}});
    QCOMPARE(file,
             defaultHeader() + crlf({"F;W1 1 3", "F;SDLRTBM0;FG0C;X1;Y2", "C;X1;Y2;K\"V\"", "E"}));
}

void TestSylkWriter::missingColumnRaisesBeforeWriting() {
    auto q = open("select 1 as v from generate_series(1, 3)");
    q->moveTo(1);
    TsxYSLK w;
    w.FileName = dir->filePath("BR100.XLS");
    w.Visible = false;
    w.begin();
    QVERIFY_THROWS_EXCEPTION(DbError, w.writeGrid(*q, {{"v", "V"}, {"nope", "N"}}));
    w.end();
    QCOMPARE(readAll(w.FileName), defaultHeader() + crlf({"E"}));
    QCOMPARE(q->recNo(), 1);
    QVERIFY(!q->controlsDisabled());
}

void TestSylkWriter::uncreatableFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("error");
    QTest::newRow("missing folder") << "missing/BR010.XLS" << ENOENT;
    QTest::newRow("a folder") << "." << EISDIR;
}

void TestSylkWriter::uncreatableFile() {
    QFETCH(QString, name);
    QFETCH(int, error);
    TsxYSLK w;
    w.FileName = QDir(dir->path()).filePath(name);
    w.Visible = false;
    try {
        w.begin();
        QFAIL("no error");
    } catch (const FileError& e) {
        QVERIFY2(e.message().contains(w.FileName), qPrintable(e.message()));
        QVERIFY2(e.message().contains(qt_error_string(error)), qPrintable(e.message()));
        QCOMPARE(QString::fromUtf8(e.what()), e.message());
    }
}

void TestSylkWriter::fullDiskRaisesAndRestoresRow_data() {
    // A few rows stay in the file's buffer until the end; many fill it during the grid.
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("failingStep");
    QTest::newRow("few rows") << 3 << "end";
    QTest::newRow("many rows") << 5000 << "grid";
}

void TestSylkWriter::fullDiskRaisesAndRestoresRow() {
    QFETCH(int, rows);
    QFETCH(QString, failingStep);
    if (!QFile::exists("/dev/full")) QSKIP("no /dev/full");
    auto q = open(QStringLiteral("select n from generate_series(1, %1) n").arg(rows));
    q->moveTo(1);
    TsxYSLK w;
    w.FileName = "/dev/full";
    w.Visible = false;
    QString step;
    try {
        step = "begin";
        w.begin();
        step = "grid";
        w.writeGrid(*q, {{"n", "N"}});
        step = "end";
        w.end();
        QFAIL("a full disk was reported as success");
    } catch (const FileError& e) {
        QVERIFY2(e.message().contains("/dev/full"), qPrintable(e.message()));
        QVERIFY2(e.message().contains(qt_error_string(ENOSPC)), qPrintable(e.message()));
    }
    QCOMPARE(step, failingStep);
    QCOMPARE(q->recNo(), 1);
    QVERIFY(!q->controlsDisabled());
}

void TestSylkWriter::opensOnlyWhenVisible_data() {
    QTest::addColumn<bool>("visible");
    QTest::newRow("visible") << true;
    QTest::newRow("not visible") << false;
}

void TestSylkWriter::opensOnlyWhenVisible() {
    QFETCH(bool, visible);
    auto q = open("select 1 as v");
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir->path()));
    TsxYSLK w;
    w.FileName = "BR110.XLS"; // relative to the working folder
    w.Visible = visible;
    QStringList opened;
    QByteArray contentWhenOpened;
    w.openFile = [&](const QString& path) {
        opened << path;
        contentWhenOpened = readAll(path);
    };
    w.begin();
    w.writeGrid(*q, {{"v", "V"}});
    w.end();
    QDir::setCurrent(previous);
    if (!visible) {
        QVERIFY(opened.isEmpty());
        return;
    }
    QCOMPARE(opened, QStringList{QDir(dir->path()).absoluteFilePath("BR110.XLS")});
    QVERIFY(contentWhenOpened.endsWith("\r\nE\r\n")); // closed and complete by then
}

QTEST_GUILESS_MAIN(TestSylkWriter)
#include "tst_sylk_writer.moc"
