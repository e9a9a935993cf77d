// The connection: connecting on demand, the trace it leaves, losing the server and finding
// it again, the encodings of the database, transactions and bulk loading.
#include "db/connection.h"
#include "db/copy_loader.h"
#include "db/db_error.h"
#include "db/query.h"
#include "db/sql_monitor.h"
#include "support/test_database.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestConnection : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void implicitConnectRunsTheHook();
    void traceFileLines();
    void passwordNeverTraced();
    void failedConnectSaysWhy();
    void pingNeverThrows();
    void lostConnectionRaisesOnceThenReconnects();
    void serverRestart();
    void clientEncodingStaysRaw();
    void utf8Database();
    void transactionStandsOrFalls();
    void snapshotHidesLaterCommits();
    void bulkLoadKeepsBytes();
    void statementsSentCountRoundTrips();

private:
    std::unique_ptr<Connection> cn;
};

void TestConnection::init() {
    testdb::recreate();
    cn = std::make_unique<Connection>();
    testdb::configure(*cn);
}

void TestConnection::cleanup() {
    cn.reset();
    qunsetenv("PGCLIENTENCODING");
}

void TestConnection::implicitConnectRunsTheHook() {
    int hooks = 0;
    cn->afterConnect = [&] { ++hooks; };
    QVERIFY(!cn->connected());
    Query q(*cn);
    q.setSql("SELECT * FROM set_system ");
    q.open();
    QVERIFY(cn->connected());
    QCOMPARE(hooks, 1);
    q.open();
    QCOMPARE(hooks, 1);
    cn->disconnect();
    q.execute();
    QCOMPARE(hooks, 2);
}

void TestConnection::traceFileLines() {
    QTemporaryDir dir;
    SqlMonitor monitor;
    cn->setMonitor(&monitor);
    const QString file = dir.filePath("M20261210");
    cn->afterConnect = [&] {
        monitor.setFileName(file);
        monitor.setAutoSave(true);
        monitor.setActive(true);
    };
    Query q(*cn);
    q.setSql("select :MShift::text");
    q.param("MShift").setText(QString::fromUtf8("許'1"));
    q.open();
    q.setSql("select * from nothere");
    QVERIFY_THROWS_EXCEPTION(DbError, q.open());
    cn->disconnect();
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    QCOMPARE(lines.size(), 5); // connect, two statements, disconnect, and the empty rest
    const QByteArray line0 = lines[0], line1 = lines[1], line2 = lines[2], line3 = lines[3];
    QVERIFY2(line0.contains(
                 " cat: Connect, proto: postgresql, msg: CONNECT TO \"pos_data\" AS USER \"sa\"\r"),
             line0);
    QVERIFY2(line1.endsWith("cat: Execute, proto: postgresql, msg: select '\xb3\x5c''1'::text\r"),
             line1);
    QVERIFY2(line2.contains("msg: select * from nothere, errcode: 7, error: ERROR:  relation "
                            "\"nothere\" does not exist"),
             line2);
    QVERIFY2(line3.contains("cat: Disconnect"), line3);
    QVERIFY(QDateTime::fromString(QString::fromLatin1(line1.left(19)), "yyyy-MM-dd HH:mm:ss")
                .isValid());
}

void TestConnection::passwordNeverTraced() {
    const QString secret = QStringLiteral("Zq9secretW");
    testdb::admin(QStringLiteral("drop role if exists tracer"));
    testdb::admin(QStringLiteral("create role tracer login password '%1'").arg(secret));
    QTemporaryDir dir;
    SqlMonitor monitor;
    monitor.setFileName(dir.filePath("M20261210"));
    monitor.setAutoSave(true);
    monitor.setActive(true);
    cn->setMonitor(&monitor);
    cn->settings().user = "tracer";
    cn->settings().password = secret;
    cn->exec("select 1");
    cn->settings().password = "wrong";
    cn->disconnect();
    QVERIFY_THROWS_EXCEPTION(DbError, cn->connect());
    QFile f(monitor.fileName());
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray all = f.readAll();
    QVERIFY(all.contains("AS USER \"tracer\""));
    QVERIFY(all.contains("errcode: 1, error:")); // the refused second connect is traced
    QVERIFY(!all.contains(secret.toLatin1()));
    QVERIFY(!all.contains("wrong"));
}

void TestConnection::failedConnectSaysWhy() {
    cn->settings().port = 1; // nothing listens there
    try {
        cn->connect();
        QFAIL("connected");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains("refused") || e.message().contains("connect"),
                 qPrintable(e.message()));
    }
    QVERIFY(!cn->connected());
}

void TestConnection::pingNeverThrows() {
    QVERIFY(!cn->ping());
    cn->connect();
    QVERIFY(cn->ping());
    testdb::admin(
        "select pg_terminate_backend(pid) from pg_stat_activity where application_name = 'TOLVAR' "
        "and datname = 'pos_data'");
    QTest::qWait(100);
    QVERIFY(!cn->ping());
    QVERIFY(!cn->connected()); // found lost: the next statement connects again
    QCOMPARE(cn->exec("select 1"), qint64(1));
}

void TestConnection::lostConnectionRaisesOnceThenReconnects() {
    Query q(*cn);
    q.setSql("select 1 as n");
    q.open();
    testdb::admin(
        "select pg_terminate_backend(pid) from pg_stat_activity where application_name = 'TOLVAR' "
        "and datname = 'pos_data'");
    QTest::qWait(100);
    try {
        q.open();
        QFAIL("the lost connection went unnoticed");
    } catch (const DbError& e) {
        QVERIFY(!e.message().isEmpty());
    }
    q.open(); // connects again
    QCOMPARE(q.field("n").asInteger(), qint64(1));
}

void TestConnection::serverRestart() {
    const QString restart = testdb::restartCommand();
    QVERIFY2(!restart.isEmpty(), "TOLVAR_TEST_RESTART is not set");
    cn->connect();
    QCOMPARE(QProcess::execute("bash", {"-c", restart}), 0);
    QVERIFY_THROWS_EXCEPTION(DbError, cn->exec("select 1"));
    QCOMPARE(cn->exec("select 1"), qint64(1));
}

void TestConnection::clientEncodingStaysRaw() {
    // A client encoding of BIG5 would make the server reject every high byte.
    qputenv("PGCLIENTENCODING", "BIG5");
    Query q(*cn);
    q.setSql("select :MName::text as name, current_setting('client_encoding') as enc");
    q.param("MName").setText(QString::fromUtf8("許功蓋"));
    q.open();
    QCOMPARE(q.field("enc").asText(), QString("SQL_ASCII"));
    QCOMPARE(q.field("name").asText(), QString::fromUtf8("許功蓋"));
}

void TestConnection::utf8Database() {
    testdb::recreateWithEncoding("pos_utf8", "UTF8");
    Connection utf8;
    testdb::configure(utf8, "pos_utf8");
    Query q(utf8);
    q.setSql("insert into set_system values ('st_name', :MName)");
    q.param("MName").setText(QString::fromUtf8("許厝港加油站"));
    q.execute();
    QCOMPARE(utf8.serverEncoding(), QString("UTF8"));
    QCOMPARE(utf8.codec().encoding(), TextCodec::Encoding::Utf8);
    q.setSql("select set_value from set_system");
    q.open();
    QCOMPARE(q.field("set_value").asText(), QString::fromUtf8("許厝港加油站"));
    QCOMPARE(testdb::adminValue(
                 "select encode(convert_to(set_value, 'UTF8'), 'hex') from set_system", "pos_utf8"),
             QString::fromLatin1(QString::fromUtf8("許厝港加油站").toUtf8().toHex()));
}

void TestConnection::transactionStandsOrFalls() {
    {
        Transaction t(*cn);
        cn->exec("insert into shift values ('1')");
        // no commit: rolled back when it goes
    }
    QCOMPARE(testdb::adminValue("select count(*) from shift"), QString("0"));
    Transaction t(*cn);
    cn->exec("insert into shift values ('2')");
    t.commit();
    QCOMPARE(testdb::adminValue("select count(*) from shift"), QString("1"));
    QVERIFY_THROWS_EXCEPTION(DbError, cn->commit());
}

// A build's reads in one REPEATABLE READ transaction see the data as of its first read, even
// while the point-of-sale system commits; a transaction opened inside it joins it.
void TestConnection::snapshotHidesLaterCommits() {
    Query q(*cn);
    q.setSql("select count(*) from shift");
    {
        Transaction snapshot(*cn, Connection::Isolation::RepeatableRead);
        q.open();
        QCOMPARE(q.fieldAt(0).asText(), QString("0"));
        testdb::admin("insert into shift values ('1')", "pos_data");
        {
            Transaction inner(*cn); // joins: no second BEGIN
            cn->exec("create temporary table tX (a int)");
            inner.commit();
        }
        QVERIFY(cn->inTransaction());
        q.close();
        q.open();
        QCOMPARE(q.fieldAt(0).asText(), QString("0"));
        snapshot.commit();
    }
    QVERIFY(!cn->inTransaction());
    q.close();
    q.open();
    QCOMPARE(q.fieldAt(0).asText(), QString("1"));
    // The joined transaction's work stood with the outer one.
    QCOMPARE(cn->exec("insert into tX values (1)"), qint64(1));
}

void TestConnection::bulkLoadKeepsBytes() {
    CopyLoader loader(*cn, 64); // tiny batches: several COPY statements
    const int t = loader.declare("set_system", {"set_id", "set_value"});
    loader.row(t, {"a", QString::fromUtf8("許\\功\t蓋")});
    loader.row(t, {"b", QString()});
    loader.row(t, {"c", ""});
    loader.row(t, {"d", "line1\nline2\r"});
    for (int i = 0; i < 20; ++i)
        loader.row(t, {QString("n%1").arg(i), QString::number(i)});
    loader.finish();
    QCOMPARE(testdb::adminValue("select encode(convert_to(set_value, 'SQL_ASCII'), 'hex') from "
                                "set_system where set_id = 'a'"),
             QString("b35c5ca55c09bb5c"));
    QCOMPARE(testdb::adminValue("select count(*) from set_system where set_value is null"),
             QString("1"));
    QCOMPARE(testdb::adminValue("select count(*) from set_system where set_value = ''"),
             QString("1"));
    QCOMPARE(testdb::adminValue("select set_value from set_system where set_id = 'd'"),
             QString("line1\nline2\r"));
    QCOMPARE(testdb::adminValue("select count(*) from set_system"), QString("24"));
}

void TestConnection::statementsSentCountRoundTrips() {
    cn->connect();
    const qint64 start = cn->statementsSent();
    Query q(*cn);
    q.setSql("select * from shift");
    q.open();
    QCOMPARE(cn->statementsSent(), start + 1);
    {
        Transaction t(*cn);
        cn->exec("insert into shift values ('1')");
        t.commit();
    }
    QCOMPARE(cn->statementsSent(), start + 4); // BEGIN, INSERT, COMMIT
    QVERIFY_THROWS_EXCEPTION(DbError, cn->exec("select * from no_such_table"));
    QCOMPARE(cn->statementsSent(), start + 5); // a refused statement was sent all the same
    QVERIFY(cn->ping());
    QCOMPARE(cn->statementsSent(), start + 5); // the keep-alive is no statement
}

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"
