// Named parameters: which colons are parameters, and literals that no value can break out of.
#include "db/sql_params.h"
#include "db/text_codec.h"

#include <QTest>

Q_DECLARE_METATYPE(Value)

class TestSqlParams : public QObject {
    Q_OBJECT
private slots:
    void findParams_data();
    void findParams();
    void literal_data();
    void literal();
};

void TestSqlParams::findParams_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("plain") << "select * from tran where shift = :MShift and tank = :MTank"
                           << QStringList{"MShift", "MTank"};
    QTest::newRow("repeated") << "where a >= :ME01 or b <= :me01" << QStringList{"ME01", "me01"};
    QTest::newRow("cast") << "select now()::date, :MDate::date" << QStringList{"MDate"};
    QTest::newRow("in quotes") << "select ':MNot', 'it''s :MNot' from x where y = :MYes"
                               << QStringList{"MYes"};
    QTest::newRow("E string") << "select E'\\':MNot' , :MYes" << QStringList{"MYes"};
    QTest::newRow("quoted identifier") << "select \":MNot\" from t" << QStringList{};
    QTest::newRow("dollar quoted")
        << "select $x$ :MNot $x$, $$:MNot$$, :MYes" << QStringList{"MYes"};
    QTest::newRow("comments") << "select 1 -- :MNot\n/* :MNot /* nested */ :MNot */ + :MYes"
                              << QStringList{"MYes"};
    QTest::newRow("time of day") << "select '08:30:00', :M1" << QStringList{"M1"};
    QTest::newRow("array slice") << "select a[1:2] from t" << QStringList{};
    QTest::newRow("name with digits") << "values (:ME011, :ME021)" << QStringList{"ME011", "ME021"};
}

void TestSqlParams::findParams() {
    QFETCH(QString, sql);
    QFETCH(QStringList, names);
    QStringList found;
    for (const ParamRef& ref : ::findParams(sql)) {
        QCOMPARE(sql.mid(ref.start, ref.length), QLatin1Char(':') + ref.name);
        found << ref.name;
    }
    QCOMPARE(found, names);
}

void TestSqlParams::literal_data() {
    QTest::addColumn<Value>("value");
    QTest::addColumn<bool>("standardStrings");
    QTest::addColumn<QByteArray>("literal");
    QTest::newRow("null") << Value() << true << QByteArray("NULL");
    QTest::newRow("whole") << Value(42) << true << QByteArray("42");
    QTest::newRow("decimal point") << Value(40.25) << true << QByteArray("40.25");
    QTest::newRow("negative in parentheses") << Value(-1) << true << QByteArray("(-1)");
    QTest::newRow("not a number") << Value(qQNaN()) << true << QByteArray("'NaN'");
    QTest::newRow("quote doubled") << Value("O'Brien") << true << QByteArray("'O''Brien'");
    QTest::newRow("injection stays text")
        << Value("x'; drop table tran; --") << true << QByteArray("'x''; drop table tran; --'");
    QTest::newRow("backslash, standard strings") << Value("a\\b") << true << QByteArray("'a\\b'");
    QTest::newRow("backslash, old server") << Value("a\\'") << false << QByteArray("'a\\\\'''");
    QTest::newRow("許 standard") << Value(QString::fromUtf8("許'")) << true
                                 << QByteArray::fromHex("27b35c272727");
    // On a server without standard strings the trail byte 0x5C would escape the quote.
    QTest::newRow("許 old server")
        << Value(QString::fromUtf8("許'")) << false << QByteArray::fromHex("27b35c5c272727");
    QTest::newRow("date") << Value(QDate(2012, 3, 5)) << true << QByteArray("'2012-03-05'");
    QTest::newRow("date text as typed")
        << Value("2012/03/05") << true << QByteArray("'2012/03/05'");
    QTest::newRow("truth") << Value::boolean(false) << true << QByteArray("FALSE");
}

void TestSqlParams::literal() {
    QFETCH(Value, value);
    QFETCH(bool, standardStrings);
    QFETCH(QByteArray, literal);
    QByteArray out;
    appendLiteral(out, value, TextCodec(), standardStrings);
    QCOMPARE(out, literal);
}

QTEST_GUILESS_MAIN(TestSqlParams)
#include "tst_sql_params.moc"
