// The program's command line: help, bad arguments, info on a station and the demo station
// generator, run as the office would run them.
#include "support/test_database.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int status;
    QString out, err;
};

Run tolvar(const QStringList& args, const QString& folder,
           const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setWorkingDirectory(folder);
    p.setProcessEnvironment(env);
    p.start(qEnvironmentVariable("TOLVAR_EXE"), args);
    if (!p.waitForFinished(180000)) return {-1, {}, QStringLiteral("timed out")};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void arguments_data();
    void arguments();
    void helpIsChineseWithoutStrayMessages_data();
    void helpIsChineseWithoutStrayMessages();
    void infoShowsTheStation();
    void infoWithoutServer();
    void demoStation();
    void secondCopyEndsQuietly();
    void stockRecompute();

private:
    std::unique_ptr<QTemporaryDir> work_;
    void pointAtTestCluster(const QString& port) {
        testdb::writeConfig(work_->path(), {"DBServerName=" + testdb::host(), "DBPort=" + port});
    }
};

void TestCommandLine::initTestCase() {
    QVERIFY2(QFile::exists(qEnvironmentVariable("TOLVAR_EXE")), "TOLVAR_EXE not set");
}

void TestCommandLine::init() {
    work_ = std::make_unique<QTemporaryDir>();
}

void TestCommandLine::arguments_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("says");
    QTest::newRow("--help") << QStringList{"--help"} << 0 << "demo-db";
    QTest::newRow("help of info") << QStringList{"info", "--help"} << 0 << "--help";
    QTest::newRow("unknown command") << QStringList{"bogus"} << 2 << "bogus";
    QTest::newRow("unknown option") << QStringList{"info", "--bogus"} << 2 << "bogus";
    QTest::newRow("days not a number") << QStringList{"demo-db", "--days", "x"} << 2 << "--days";
    QTest::newRow("bad date") << QStringList{"demo-db", "--last-day", "2024-05-07"} << 2
                              << "yyyy/mm/dd";
    QTest::newRow("help of stock") << QStringList{"stock", "--help"} << 0 << "--from";
    QTest::newRow("stock without an action") << QStringList{"stock"} << 2 << "recompute";
    QTest::newRow("stock, unknown action")
        << QStringList{"stock", "rebuild", "--from", "2024/05/06"} << 2 << "rebuild";
    QTest::newRow("recompute without a start")
        << QStringList{"stock", "recompute"} << 2 << "--from";
    QTest::newRow("recompute from a bad date")
        << QStringList{"stock", "recompute", "--from", "2024-05-06"} << 2 << "2024-05-06";
    QTest::newRow("recompute from a shift code")
        << QStringList{"stock", "recompute", "--from", "1130506_1"} << 2 << "1130506_1";
}

void TestCommandLine::arguments() {
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, says);
    const Run r = tolvar(args, work_->path());
    QCOMPARE(r.status, status);
    QVERIFY2((r.out + r.err).contains(says), qPrintable(r.out + r.err));
    if (status != 0) QCOMPARE(r.err.count('\n'), 1); // one line on stderr
}

// Every help text is in the program's language, shaped alike, and a run from cron (no
// XDG_RUNTIME_DIR) prints nothing on stderr but its own messages.
void TestCommandLine::helpIsChineseWithoutStrayMessages_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("tolvar --help") << QStringList{"--help"};
    QTest::newRow("info") << QStringList{"info", "--help"};
    QTest::newRow("demo-db") << QStringList{"demo-db", "--help"};
    QTest::newRow("stock") << QStringList{"stock", "--help"};
    QTest::newRow("report") << QStringList{"report", "--help"};
    QTest::newRow("one report") << QStringList{"report", "BR010", "--help"};
}

void TestCommandLine::helpIsChineseWithoutStrayMessages() {
    QFETCH(QStringList, args);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("XDG_RUNTIME_DIR");
    env.remove("QT_QPA_PLATFORM");
    env.remove("DISPLAY");
    const Run r = tolvar(args, work_->path(), env);
    QCOMPARE(r.status, 0);
    QCOMPARE(r.err, QString());
    QVERIFY2(r.out.startsWith(QString::fromUtf8("用法: tolvar")), qPrintable(r.out));
    for (const char* english : {"Usage:", "Options:", "Arguments:", "Displays"})
        QVERIFY2(!r.out.contains(QLatin1String(english)), qPrintable(r.out));
    // An unknown option is refused in the same language.
    const Run bad =
        tolvar(args.mid(0, args.size() - 1) + QStringList{"--bogus"}, work_->path(), env);
    QCOMPARE(bad.status, 2);
    QVERIFY2(bad.err.startsWith(QString::fromUtf8("tolvar: 不認得的")) && bad.err.contains("bogus"),
             qPrintable(bad.err));
    QCOMPARE(bad.err.count('\n'), 1);
}

void TestCommandLine::infoShowsTheStation() {
    testdb::recreate();
    testdb::admin(
        QString::fromUtf8(
            "insert into set_system values ('st_name', '許功蓋加油站'), ('uid', '12345675')"),
        "pos_data");
    pointAtTestCluster(QString::number(testdb::port()));
    const Run r = tolvar({"info"}, work_->path());
    QCOMPARE(r.status, 0);
    QVERIFY2(r.out.contains(QString::fromUtf8("許功蓋加油站")), qPrintable(r.out));
    QVERIFY(r.out.contains("12345675"));
    QVERIFY(r.out.contains(QString::fromUtf8("可連線")));
}

void TestCommandLine::infoWithoutServer() {
    pointAtTestCluster("1");
    const Run r = tolvar({"info"}, work_->path());
    QCOMPARE(r.status, 1);
    QVERIFY(r.out.contains(QString::fromUtf8("無法連線")));
    QCOMPARE(r.err.count('\n'), 1);
}

void TestCommandLine::demoStation() {
    testdb::recreate({}, false); // a new, empty pos_data
    pointAtTestCluster(QString::number(testdb::port()));
    const QStringList demo{"demo-db", "--days", "3",          "--sales-per-day", "60",
                           "--seed",  "7",      "--last-day", "2024/05/07"};
    Run r = tolvar(demo, work_->path());
    QVERIFY2(r.status == 0, qPrintable(r.err));
    const QString sales = testdb::adminValue("select count(*) from tran");
    QVERIFY(sales.toInt() > 100);
    QCOMPARE(
        testdb::adminValue(
            "select min(substr(shift,1,7)) || '-' || max(substr(shift,1,7)) from shift_01_gun"),
        QString("1130505-1130507"));
    r = tolvar({"info"}, work_->path());
    QCOMPARE(r.status, 0);
    QVERIFY(r.out.contains(QString::fromUtf8("許")));
    // A second run refuses to overwrite the station ...
    r = tolvar(demo, work_->path());
    QCOMPARE(r.status, 1);
    QVERIFY(r.err.contains("--replace"));
    QCOMPARE(testdb::adminValue("select count(*) from tran"), sales);
    // ... unless asked to, and the same seed gives the same station.
    const QString before = testdb::adminValue(
        "select md5(string_agg(t::text, '|' order by island, gun_no, tran_time)) from tran t");
    r = tolvar(demo + QStringList{"--replace"}, work_->path());
    QCOMPARE(r.status, 0);
    QCOMPARE(
        testdb::adminValue(
            "select md5(string_agg(t::text, '|' order by island, gun_no, tran_time)) from tran t"),
        before);
}

void TestCommandLine::secondCopyEndsQuietly() {
    testdb::recreate();
    pointAtTestCluster(QString::number(testdb::port()));
    QProcess first;
    first.setWorkingDirectory(work_->path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    first.setProcessEnvironment(env);
    first.start(qEnvironmentVariable("TOLVAR_EXE"), {});
    QVERIFY(first.waitForStarted());
    QTest::qWait(1500); // splash, start-up, main window
    QCOMPARE(first.state(), QProcess::Running);
    QProcess second;
    second.setWorkingDirectory(work_->path());
    second.setProcessEnvironment(env);
    second.start(qEnvironmentVariable("TOLVAR_EXE"), {});
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitCode(), 0);
    first.kill();
    first.waitForFinished();
    // The killed copy left its lock file behind; it blocks nobody.
    QProcess third;
    third.setWorkingDirectory(work_->path());
    third.setProcessEnvironment(env);
    third.start(qEnvironmentVariable("TOLVAR_EXE"), {});
    QVERIFY(third.waitForStarted());
    QVERIFY(!third.waitForFinished(1500)); // it stays: it got its window
    third.kill();
    third.waitForFinished();
}

void TestCommandLine::stockRecompute() {
    testdb::recreate({}, false);
    pointAtTestCluster(QString::number(testdb::port()));
    Run r = tolvar({"demo-db", "--days", "3", "--sales-per-day", "40", "--last-day", "2024/05/07"},
                   work_->path());
    QVERIFY2(r.status == 0, qPrintable(r.err));
    const QString table = "select md5(string_agg(t::text, '|' order by shift, tank)) "
                          "from shift_03_tank t";
    const QString before = testdb::adminValue(table);
    testdb::admin("update shift_03_tank set account2 = 0, count = 0 where shift >= '1130506'",
                  "pos_data");
    // As a date and as a key: 2 days x 3 shifts x 8 tanks rewritten, the figures back.
    for (const char* from : {"2024/05/06", "1130506"}) {
        r = tolvar({"stock", "recompute", "--from", from}, work_->path());
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QVERIFY2(r.out.contains(QString::fromUtf8("改寫 48 筆")), qPrintable(r.out));
        QVERIFY2(r.out.contains(QString::fromUtf8("個指令")), qPrintable(r.out));
        QCOMPARE(testdb::adminValue(table), before);
    }
    // A figure missing: one line naming the row, exit 1, nothing changed.
    testdb::admin("update shift_03_tank set sale = null where shift = '1130507_2' and tank = '05'",
                  "pos_data");
    const QString damaged = testdb::adminValue(table);
    r = tolvar({"stock", "recompute", "--from", "2024/05/06"}, work_->path());
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains("1130507_2") && r.err.contains("05"), qPrintable(r.err));
    QVERIFY2(r.err.endsWith(QString::fromUtf8("無法重算油槽庫存\n")), qPrintable(r.err));
    QCOMPARE(testdb::adminValue(table), damaged);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
