// Statements read row by row without blocking: the row limit, the text sent as it stands,
// stopping a statement, the keep-alive and other statements while one runs, and rows that
// come out as a whole fetch gives them.
#include "db/connection.h"
#include "db/db_error.h"
#include "db/query.h"
#include "db/sql_monitor.h"
#include "support/test_database.h"

#include <QElapsedTimer>
#include <QTest>

namespace {

// The rows of `q` as text, one line per row, fields separated by "|", null as "<null>".
QStringList rowsOf(Query& q) {
    QStringList rows;
    for (int r = 0; r < q.recordCount(); ++r) {
        QStringList fields;
        for (int c = 0; c < q.fieldCount(); ++c)
            fields << (q.value(r, c).isNull() ? QStringLiteral("<null>") : q.value(r, c).toText());
        rows << fields.join('|');
    }
    return rows;
}

} // namespace

class TestQueryStreaming : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void rowLimit_data();
    void rowLimit();
    void sameRowsAsAWholeFetch_data();
    void sameRowsAsAWholeFetch();
    void rowlessStatementIsNotRunByOpen();
    void executeDropsRowsAndTellsTheTag();
    void textSentAsItStands();
    void stoppedStatementIsUndone();
    void connectionBusyWhileRunning();
    void throwingCallbackCancelsAndKeepsTheConnection();
    void failureHalfWayKeepsEarlierRows();
    void typedTransactionIsSeen();
    void copyThroughTheProgramIsRefused_data();
    void copyThroughTheProgramIsRefused();

private:
    std::unique_ptr<Connection> cn;
};

void TestQueryStreaming::init() {
    testdb::recreate();
    cn = std::make_unique<Connection>();
    testdb::configure(*cn);
}

void TestQueryStreaming::cleanup() {
    cn.reset();
}

void TestQueryStreaming::rowLimit_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("kept");
    QTest::newRow("none") << 0 << 5 << 0;
    QTest::newRow("fewer than the limit") << 3 << 5 << 3;
    QTest::newRow("as many as the limit") << 5 << 5 << 5;
    QTest::newRow("more than the limit") << 12 << 5 << 5;
    QTest::newRow("no limit, callback only") << 12 << 0 << 12;
}

void TestQueryStreaming::rowLimit() {
    QFETCH(int, rows);
    QFETCH(int, limit);
    QFETCH(int, kept);
    Query q(*cn);
    q.setRowLimit(limit);
    q.whileRunning = [](qint64) { return true; };
    q.setSql(QStringLiteral("select g, 'n' || g as name, current_date as day from "
                            "generate_series(1, %1) g")
                 .arg(rows));
    q.open();
    QCOMPARE(q.recordCount(), kept);
    QCOMPARE(q.rowsReturned(), qint64(rows));
    QCOMPARE(q.commandStatus(), QStringLiteral("SELECT %1").arg(rows));
    // The columns are known without any row.
    QCOMPARE(q.fieldCount(), 3);
    QCOMPARE(q.field("name").kind(), FieldKind::Text);
    QCOMPARE(q.field("day").kind(), FieldKind::Date);
    QCOMPARE(q.eof(), kept == 0);
    if (kept > 0) {
        QCOMPARE(q.field("g").asInteger(), 1);
        q.last();
        QCOMPARE(q.field("name").asText(), QStringLiteral("n%1").arg(kept));
    }
}

void TestQueryStreaming::sameRowsAsAWholeFetch_data() {
    QTest::addColumn<QString>("sql");
    // Repeated texts share their value with the row above; nulls and changes between them
    // must not carry a value over.
    QTest::newRow("repeats, nulls and changes")
        << "select case when g % 4 = 0 then null else 'A' || (g / 3) end as code, g "
           "from generate_series(1, 40) g";
    QTest::newRow("empty texts after nulls")
        << "select case when g % 2 = 0 then null else '' end as e from generate_series(1, 6) g";
    QTest::newRow("Big5 names") << QString::fromUtf8(
        "select unit_name, cust_id from cust_unit order by cust_id");
    QTest::newRow("padded codes, numbers, times")
        << "select 'x'::char(4) as c, g::numeric / 3 as n, timestamp '2024-05-07 08:30:00' + "
           "g * interval '1 minute' as t, g % 2 = 0 as b from generate_series(1, 5) g";
}

void TestQueryStreaming::sameRowsAsAWholeFetch() {
    QFETCH(QString, sql);
    cn->exec(QString::fromUtf8("insert into cust_unit values ('A1', '許功蓋', 0, 0), "
                               "('A2', '許功蓋', 0, 0), ('A3', null, 0, 0), ('A4', '許功', 0, 0)"));
    Query whole(*cn), streamed(*cn);
    whole.setSql(sql);
    whole.open();
    streamed.setSql(sql);
    streamed.setRowLimit(1000);
    streamed.open();
    QCOMPARE(rowsOf(streamed), rowsOf(whole));
    QVERIFY(!rowsOf(whole).isEmpty());
}

void TestQueryStreaming::rowlessStatementIsNotRunByOpen() {
    cn->exec("insert into cust_unit values ('A1', 'x', 1, 1)");
    Query q(*cn);
    q.setRowLimit(10);
    q.setSql("update cust_unit set discount_d = 9 ");
    QVERIFY_THROWS_EXCEPTION(DbError, q.open());
    QVERIFY(!q.active());
    QCOMPARE(testdb::adminValue("select discount_d::float8 from cust_unit"), QString("1"));
    // One that writes and returns rows runs, and its rows are shown.
    q.setSql("update cust_unit set discount_d = 2 returning cust_id, discount_d");
    q.open();
    QCOMPARE(q.recordCount(), 1);
    QCOMPARE(q.field("discount_d").asFloat(), 2.0);
    QCOMPARE(testdb::adminValue("select discount_d::float8 from cust_unit"), QString("2"));
}

void TestQueryStreaming::executeDropsRowsAndTellsTheTag() {
    Query q(*cn);
    q.whileRunning = [](qint64) { return true; };
    q.setSql("select g from generate_series(1, 2500) g");
    QCOMPARE(q.execute(), qint64(2500));
    QCOMPARE(q.commandStatus(), QString("SELECT 2500"));
    QVERIFY(!q.active());
    q.setSql("create table scratch (a int)");
    QCOMPARE(q.execute(), qint64(0));
    QCOMPARE(q.commandStatus(), QString("CREATE TABLE"));
    q.setSql("insert into scratch select generate_series(1, 7)");
    QCOMPARE(q.execute(), qint64(7));
    QCOMPARE(q.commandStatus(), QString("INSERT 0 7"));
}

void TestQueryStreaming::textSentAsItStands() {
    SqlMonitor monitor;
    cn->setMonitor(&monitor);
    Query q(*cn);
    q.setParamCheck(false);
    q.setRowLimit(10);
    // With parameters looked for, :x would become NULL and the statement would give a row.
    q.setSql("select 1 as one where :x is null ");
    QVERIFY_THROWS_EXCEPTION(DbError, q.open());
    QVERIFY(q.params().isEmpty());
    QCOMPARE(monitor.events().back().message, QString("select 1 as one where :x is null "));
    QVERIFY(!monitor.events().back().errorText.isEmpty());
    // Big5 characters whose second byte is a backslash arrive as typed.
    const QString text = QString::fromUtf8("select encode(convert_to('許功蓋', 'SQL_ASCII'), "
                                           "'hex') as h, ':x' as c ");
    q.setSql(text);
    q.open();
    QCOMPARE(q.field("h").asText(), QString("b35ca55cbb5c"));
    QCOMPARE(q.field("c").asText(), QString(":x"));
    QCOMPARE(monitor.events().back().message, text);
    // Back on, the same text has a parameter again.
    q.setParamCheck(true);
    q.setSql("select 1 as one where :x is null ");
    QCOMPARE(q.params().size(), 1);
    cn->setMonitor(nullptr);
}

void TestQueryStreaming::stoppedStatementIsUndone() {
    cn->exec("create table scratch (a int)");
    Query q(*cn);
    int calls = 0;
    q.whileRunning = [&](qint64) { return ++calls < 3; };
    q.setSql("insert into scratch select 1 from pg_sleep(20)");
    QElapsedTimer clock;
    clock.start();
    try {
        q.execute();
        QFAIL("the stopped statement ended normally");
    } catch (const DbError& error) {
        QCOMPARE(error.sqlState(), QString("57014"));
    }
    QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(calls, 3);
    QVERIFY(!cn->busy());
    QCOMPARE(testdb::adminValue("select count(*) from scratch"), QString("0"));
    // The connection goes on with the next statement.
    QCOMPARE(cn->exec("insert into scratch values (1)"), qint64(1));
}

void TestQueryStreaming::connectionBusyWhileRunning() {
    Query q(*cn);
    bool pinged = false, refused = false;
    q.whileRunning = [&](qint64) {
        pinged = cn->ping();
        try {
            cn->exec("select 1");
        } catch (const DbError&) {
            refused = true;
        }
        return true;
    };
    q.setSql("select g, pg_sleep(0.15) from generate_series(1, 3) g");
    q.open();
    QVERIFY(pinged);
    QVERIFY(refused);
    QCOMPARE(q.recordCount(), 3); // the keep-alive took none of the rows
    QVERIFY(!cn->busy());
    QVERIFY(cn->ping());
    QCOMPARE(cn->exec("select 1"), qint64(1));
}

void TestQueryStreaming::throwingCallbackCancelsAndKeepsTheConnection() {
    Query q(*cn);
    q.whileRunning = [](qint64) -> bool { throw DbError(QStringLiteral("window gone")); };
    q.setSql("select pg_sleep(20)");
    QElapsedTimer clock;
    clock.start();
    try {
        q.open();
        QFAIL("no error");
    } catch (const DbError& error) {
        QCOMPARE(error.message(), QString("window gone"));
    }
    QVERIFY(clock.elapsed() < 10000);
    QVERIFY(!q.active());
    QVERIFY(!cn->busy());
    q.whileRunning = nullptr;
    q.setSql("select 2 as two");
    q.open();
    QCOMPARE(q.field("two").asInteger(), 2);
}

void TestQueryStreaming::failureHalfWayKeepsEarlierRows() {
    Query q(*cn);
    q.setRowLimit(100);
    q.setSql("select g from generate_series(1, 3) g");
    q.open();
    // refresh() of a statement that fails after some rows keeps the rows it had.
    q.setSql("select 10 / (g - 3000) as g from generate_series(1, 5000) g");
    QVERIFY_THROWS_EXCEPTION(DbError, q.refresh());
    QCOMPARE(q.recordCount(), 3);
    QVERIFY_THROWS_EXCEPTION(DbError, q.open());
    QVERIFY(!q.active());
    QCOMPARE(q.recordCount(), 0);
}

void TestQueryStreaming::typedTransactionIsSeen() {
    cn->exec("create table scratch (a int)");
    Query q(*cn);
    q.setParamCheck(false);
    q.whileRunning = [](qint64) { return true; };
    QVERIFY(!cn->serverTransactionOpen());
    q.setSql("begin");
    q.execute();
    QVERIFY(cn->serverTransactionOpen());
    QVERIFY(!cn->inTransaction());
    q.setSql("insert into scratch values (1)");
    q.execute();
    QCOMPARE(testdb::adminValue("select count(*) from scratch"), QString("0"));
    q.setSql("commit");
    q.execute();
    QVERIFY(!cn->serverTransactionOpen());
    QCOMPARE(testdb::adminValue("select count(*) from scratch"), QString("1"));
}

void TestQueryStreaming::copyThroughTheProgramIsRefused_data() {
    QTest::addColumn<QString>("sql");
    QTest::newRow("to the program")
        << "copy (select g from generate_series(1, 200000) g) to stdout";
    QTest::newRow("from the program") << "copy cust_unit from stdin";
}

void TestQueryStreaming::copyThroughTheProgramIsRefused() {
    QFETCH(QString, sql);
    Query q(*cn);
    q.setParamCheck(false);
    q.whileRunning = [](qint64) { return true; };
    q.setSql(sql);
    QElapsedTimer clock;
    clock.start();
    try {
        q.execute();
        QFAIL("no error");
    } catch (const DbError& error) {
        QVERIFY2(error.message().contains("COPY"), qPrintable(error.message()));
    }
    QVERIFY(clock.elapsed() < 20000);
    QVERIFY(!cn->busy());
    // The connection is back to taking statements.
    QCOMPARE(cn->exec("insert into cust_unit values ('A1', 'x', 0, 0)"), qint64(1));
    QCOMPARE(testdb::adminValue("select count(*) from cust_unit"), QString("1"));
}

QTEST_GUILESS_MAIN(TestQueryStreaming)
#include "tst_query_streaming.moc"
