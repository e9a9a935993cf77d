// Query objects on a real station database: parameters that arrive byte for byte, walking,
// locating, sorting and temporary work tables.
#include "db/connection.h"
#include "db/db_error.h"
#include "db/query.h"
#include "support/test_database.h"

#include <QTest>

Q_DECLARE_METATYPE(Value)

class TestQuery : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void parameterArrivesByteForByte_data();
    void parameterArrivesByteForByte();
    void parametersByContext_data();
    void parametersByContext();
    void parameterNamesIgnoreCase();
    void unknownParameterIsAnError();
    void valuesKeepTheirKind();
    void walkingTheRows();
    void locatePartialKey();
    void locateCaseInsensitiveAndPadded();
    void sortByColumn();
    void sortUnknownColumnRaises();
    void fieldsByNameAndPosition();
    void temporaryTableGoneAfterDisconnect();
    void serverErrorCarriesItsMessage();
    void bookmarkSurvivesSorting();
    void oneStatementOnly();

private:
    std::unique_ptr<Connection> cn;
};

void TestQuery::init() {
    testdb::recreate();
    cn = std::make_unique<Connection>();
    testdb::configure(*cn);
}

void TestQuery::cleanup() {
    cn.reset();
}

void TestQuery::parameterArrivesByteForByte_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("quote") << "O'Brien" << QByteArray("O'Brien");
    QTest::newRow("backslash") << "C:\\Export\\" << QByteArray("C:\\Export\\");
    QTest::newRow("semicolon and comment")
        << "x'; delete from tran; --" << QByteArray("x'; delete from tran; --");
    QTest::newRow("許功蓋") << QString::fromUtf8("許功蓋") << QByteArray::fromHex("b35ca55cbb5c");
    QTest::newRow("許 then quote") << QString::fromUtf8("許'") << QByteArray::fromHex("b35c27");
    QTest::newRow("colon word") << ":MShift" << QByteArray(":MShift");
}

void TestQuery::parameterArrivesByteForByte() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    Query q(*cn);
    q.setSql("insert into set_system (set_id, set_value) values ('k', :MValue)");
    q.param("MValue").setText(text);
    QCOMPARE(q.execute(), qint64(1));
    // Read back as raw bytes, not through our own decoding.
    QCOMPARE(testdb::adminValue(
                 "select encode(convert_to(set_value, 'SQL_ASCII'), 'hex') from set_system"),
             QString::fromLatin1(bytes.toHex()));
    q.setSql("select set_value from set_system where set_value = :MValue");
    q.open();
    QCOMPARE(q.recordCount(), 1);
    QCOMPARE(q.field("set_value").asText(), text);
}

void TestQuery::parametersByContext_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<Value>("value");
    QTest::addColumn<QString>("result");
    QTest::newRow("null") << "select coalesce(:MP::text, 'null')" << Value() << "null";
    QTest::newRow("decimal point") << "select (:MP * 2)::text" << Value(40.25) << "80.50";
    QTest::newRow("negative after minus") << "select (10-:MP)::text" << Value(-5) << "15";
    QTest::newRow("text date against a date")
        << "select (date '2012-03-05' >= :MP)::text" << Value("2012/03/04") << "true";
    QTest::newRow("date value") << "select (:MP::date + 1)::text" << Value(QDate(2012, 2, 28))
                                << "2012-02-29";
    QTest::newRow("year text against DATE_PART")
        << "select (DATE_PART('year', timestamp '2024-05-07') = :MP)::text" << Value("2024")
        << "true";
    QTest::newRow("key against substr")
        << "select (substr('1010305_2',1,7) >= :MP)::text" << Value("1010305") << "true";
    QTest::newRow("colon in string stays") << "select ':MNot' || :MP" << Value("x") << ":MNotx";
    QTest::newRow("double colon cast")
        << "select :MP::integer + now()::date - now()::date" << Value("41") << "41";
}

void TestQuery::parametersByContext() {
    QFETCH(QString, sql);
    QFETCH(Value, value);
    QFETCH(QString, result);
    Query q(*cn);
    q.setSql(sql);
    q.param("MP").setValue(value);
    q.open();
    QCOMPARE(q.fieldAt(0).asText(), result);
}

void TestQuery::parameterNamesIgnoreCase() {
    Query q(*cn);
    q.setSql("select :MShift || '-' || :mshift");
    q.param("MSHIFT").setText("1");
    QCOMPARE(q.params().size(), 1);
    q.open();
    QCOMPARE(q.fieldAt(0).asText(), QString("1-1"));
    // The value survives a new statement with the same parameter.
    q.close();
    q.setSql("select :MShift");
    q.open();
    QCOMPARE(q.fieldAt(0).asText(), QString("1"));
}

void TestQuery::unknownParameterIsAnError() {
    Query q(*cn);
    q.setSql("select 1");
    QVERIFY_THROWS_EXCEPTION(DbError, q.param("MShift"));
}

void TestQuery::valuesKeepTheirKind() {
    Query q(*cn);
    q.setSql(
        "select 12::int2 as s, 40.25::numeric(12,2) as n, 1.5::float8 as f, null::numeric as z, "
        "'abc'::varchar(10) as t, 'ab'::char(4) as c, date '2012-03-05' as d, "
        "timestamp '2012-03-05 08:30:01' as ts, true as b");
    q.open();
    QCOMPARE(q.field("s").value().type(), Value::Type::Integer);
    QCOMPARE(q.field("s").kind(), FieldKind::SmallInt);
    QCOMPARE(q.field("n").value().type(), Value::Type::Float);
    QCOMPARE(q.field("n").kind(), FieldKind::Decimal);
    QCOMPARE(q.field("n").asFloat(), 40.25);
    QVERIFY(q.field("z").isNull());
    QCOMPARE(q.field("z").asFloat(), 0.0);
    QCOMPARE(q.field("t").column().size, 10);
    QCOMPARE(q.field("c").asText(), QString("ab  "));
    QCOMPARE(q.field("d").asText(), QString("2012/03/05"));
    QCOMPARE(q.field("ts").asDateTime(), QDateTime(QDate(2012, 3, 5), QTime(8, 30, 1)));
    QVERIFY(q.field("b").asBool());
}

void TestQuery::walkingTheRows() {
    Query q(*cn);
    q.setSql("select generate_series(1, 3) as n");
    q.open();
    QList<int> seen;
    while (!q.eof()) {
        seen << int(q.field("n").asInteger());
        q.next();
    }
    QCOMPARE(seen, (QList<int>{1, 2, 3}));
    QCOMPARE(q.recordCount(), 3);
    q.close();
    q.setSql("select 1 where false");
    q.open();
    QVERIFY(q.eof() && q.isEmpty());
    QVERIFY(q.field("?column?").isNull());
}

void TestQuery::locatePartialKey() {
    cn->exec(
        "insert into shift_03_tank (shift, tank) values ('1121231_3','01'), ('1130101_1','01'), "
        "('1130101_2','01'), ('1140101_1','01')");
    Query q(*cn);
    q.setSql("select * from shift_03_tank order by shift");
    q.open();
    q.last();
    LocateOptions partial;
    partial.partialKey = true;
    QVERIFY(q.locate("shift", Value("113"), partial));
    QCOMPARE(q.field("shift").asText(), QString("1130101_1"));
    QVERIFY(!q.locate("shift", Value("115"), partial));
    QCOMPARE(q.field("shift").asText(), QString("1130101_1")); // stayed put
    QVERIFY(!q.locate("shift", Value("113"), {}));             // exact needs the whole code
    QVERIFY(q.locate("SHIFT", Value("1140101_1"), {}));
    QCOMPARE(q.recNo(), 3);
}

void TestQuery::locateCaseInsensitiveAndPadded() {
    Query q(*cn);
    q.setSql("select 'st_name'::char(20) as set_id union all select 'ST_NAME'::char(20) union all "
             "select 'Tax_Rate'::char(20)");
    q.open();
    LocateOptions ci;
    ci.caseInsensitive = true;
    QVERIFY(q.locate("set_id", Value("tax_rate"), ci));
    QCOMPARE(q.recNo(), 2);
    QVERIFY(q.locate("set_id", Value("ST_NAME"), {}));
    QCOMPARE(q.recNo(), 1);
}

void TestQuery::sortByColumn() {
    // Texts sort as the database sorts them, by their Big5 bytes: 乙 (A441) before 丁 (A442),
    // although U+4E01 丁 comes before U+4E59 乙 in Unicode. Null comes first.
    Query q(*cn);
    q.setSql(QString::fromUtf8(
        "select * from (values (3, '許'), (1, '丁'), (2, '乙'), (4, null)) v(n, name)"));
    q.open();
    q.setSortedFields("name");
    QStringList names;
    for (q.first(); !q.eof(); q.next())
        names << q.field("name").asText();
    QCOMPARE(names, (QStringList{"", QString::fromUtf8("乙"), QString::fromUtf8("丁"),
                                 QString::fromUtf8("許")}));
    q.close();
    q.setSql(QString::fromUtf8(
        "select * from (values (3, '許'), (1, '丁'), (2, '乙')) v(n, name) order by name"));
    q.open();
    QCOMPARE(q.field("name").asText(), QString::fromUtf8("乙")); // the server agrees
    q.setSortedFields("n");
    q.first();
    QCOMPARE(q.field("n").asInteger(), qint64(1));
    q.setSortedFields("n"); // again: ascending again
    q.last();
    QCOMPARE(q.field("n").asInteger(), qint64(3));
}

void TestQuery::sortUnknownColumnRaises() {
    Query q(*cn);
    q.setSql("select 1 as a");
    q.open();
    QVERIFY_THROWS_EXCEPTION(DbError, q.setSortedFields("b"));
}

void TestQuery::fieldsByNameAndPosition() {
    Query q(*cn);
    q.setSql("select 1 as Code, 'x' as name");
    q.open();
    QCOMPARE(q.fieldCount(), 2);
    QCOMPARE(q.fieldAt(1).name(), QString("name"));
    QCOMPARE(q.field("CODE").asInteger(), qint64(1));
    QCOMPARE(q.fieldIndex("missing"), -1);
    QVERIFY_THROWS_EXCEPTION(DbError, q.field("missing"));
}

void TestQuery::temporaryTableGoneAfterDisconnect() {
    Query q(*cn);
    for (int run = 0; run < 2; ++run) {
        // The report sequence: drop (errors ignored), create, fill, read.
        try {
            q.setSql("drop table IF EXISTS tBR040 ");
            q.execute();
        } catch (const DbError&) {
        }
        q.setSql(
            "create TEMPORARY table tBR040 (shift varchar(7), oamtt decimal(18,0) DEFAULT '0')");
        q.execute();
        q.setSql("insert into tBR040 (shift) values ('1130507')");
        q.execute();
        q.setSql("select * from tBR040");
        q.open();
        QCOMPARE(q.recordCount(), 1); // recreated, not appended to
        QCOMPARE(q.field("oamtt").asInteger(), qint64(0));
    }
    cn->disconnect();
    QVERIFY(!q.active());                        // disconnect closes the queries
    QVERIFY_THROWS_EXCEPTION(DbError, q.open()); // the table went with the connection
    QVERIFY(cn->connected());                    // ... and the statement connected again
}

void TestQuery::serverErrorCarriesItsMessage() {
    Query q(*cn);
    q.setSql("select * from nothere");
    try {
        q.open();
        QFAIL("no error");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains("nothere"), qPrintable(e.message()));
        QCOMPARE(e.sqlState(), QString("42P01"));
    }
    QVERIFY(!q.active());
}

void TestQuery::bookmarkSurvivesSorting() {
    Query q(*cn);
    q.setSql("select * from (values (1, 'c'), (2, 'a'), (3, 'b')) v(n, t)");
    q.open();
    q.moveTo(2);
    const Bookmark mark = q.bookmark();
    q.setSortedFields("t");
    q.first();
    QVERIFY(q.gotoBookmark(mark));
    QCOMPARE(q.field("n").asInteger(), qint64(3));
    q.close();
    q.open();
    QVERIFY(!q.gotoBookmark(mark)); // rows of an earlier run are gone
}

void TestQuery::oneStatementOnly() {
    Query q(*cn);
    q.setSql("select 1; delete from tran");
    QVERIFY_THROWS_EXCEPTION(DbError, q.open());
}

QTEST_GUILESS_MAIN(TestQuery)
#include "tst_query.moc"
