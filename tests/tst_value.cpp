// Generic values: what the screens show for them, how they convert, and the arithmetic rule
// that null with anything is null.
#include "db/db_error.h"
#include "db/value.h"

#include <QTest>

Q_DECLARE_METATYPE(Value)

class TestValue : public QObject {
    Q_OBJECT
private slots:
    void text_data();
    void text();
    void toInt_data();
    void toInt();
    void conversionErrors_data();
    void conversionErrors();
    void arithmetic_data();
    void arithmetic();
    void sqlTextReadsBackExactly_data();
    void sqlTextReadsBackExactly();
    void sortOrder();
};

void TestValue::text_data() {
    QTest::addColumn<Value>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("null") << Value() << "";
    QTest::newRow("whole") << Value(qint64(-42)) << "-42";
    QTest::newRow("decimal") << Value(1234.5) << "1234.5";
    QTest::newRow("no float noise") << Value(0.1 + 0.2) << "0.3";
    QTest::newRow("litres") << Value(40.25) << "40.25";
    QTest::newRow("zero float") << Value(0.0) << "0";
    QTest::newRow("date") << Value(QDate(2012, 3, 5)) << "2012/03/05";
    QTest::newRow("time") << Value(QTime(8, 30, 0)) << "08:30:00";
    QTest::newRow("date and time")
        << Value(QDateTime(QDate(2024, 1, 5), QTime(22, 5, 9))) << "2024/01/05 22:05:09";
    QTest::newRow("true") << Value::boolean(true) << "True";
}

void TestValue::text() {
    QFETCH(Value, value);
    QFETCH(QString, text);
    QCOMPARE(value.toText(), text);
}

void TestValue::toInt_data() {
    QTest::addColumn<Value>("value");
    QTest::addColumn<qint64>("number");
    QTest::newRow("null is 0") << Value() << qint64(0);
    QTest::newRow("text") << Value(" 120 ") << qint64(120);
    QTest::newRow("plus sign") << Value("+7") << qint64(7);
    QTest::newRow("half away from zero") << Value(2.5) << qint64(3);
    QTest::newRow("negative half away") << Value(-2.5) << qint64(-3);
    QTest::newRow("just below half") << Value(48.29999) << qint64(48);
}

void TestValue::toInt() {
    QFETCH(Value, value);
    QFETCH(qint64, number);
    QCOMPARE(value.toInt(), number);
}

void TestValue::conversionErrors_data() {
    QTest::addColumn<Value>("value");
    QTest::addColumn<QString>("to");
    QTest::newRow("letters to int") << Value("12a") << "int";
    QTest::newRow("decimal text to int") << Value("12.5") << "int";
    QTest::newRow("empty text to float") << Value("") << "float";
    QTest::newRow("comma decimal") << Value("1,5") << "float";
    QTest::newRow("no date") << Value("    /  /  ") << "date";
    QTest::newRow("31 February") << Value("2024/02/31") << "date";
}

void TestValue::conversionErrors() {
    QFETCH(Value, value);
    QFETCH(QString, to);
    try {
        if (to == "int")
            (void)value.toInt();
        else if (to == "float")
            (void)value.toDouble();
        else
            (void)value.toDate();
        QFAIL("converted without complaint");
    } catch (const DbError& e) {
        QVERIFY(e.message().contains(value.toText()));
    }
}

void TestValue::arithmetic_data() {
    QTest::addColumn<Value>("a");
    QTest::addColumn<Value>("b");
    QTest::addColumn<Value>("sum");
    QTest::addColumn<Value>("difference");
    QTest::newRow("whole numbers") << Value(5) << Value(3) << Value(8) << Value(2);
    QTest::newRow("mixed") << Value(5) << Value(0.5) << Value(5.5) << Value(4.5);
    QTest::newRow("null left") << Value() << Value(3) << Value() << Value();
    QTest::newRow("null right") << Value(2.5) << Value() << Value() << Value();
    QTest::newRow("numeric text") << Value("10") << Value(1) << Value(11) << Value(9);
}

void TestValue::arithmetic() {
    QFETCH(Value, a);
    QFETCH(Value, b);
    QFETCH(Value, sum);
    QFETCH(Value, difference);
    QCOMPARE((a + b).type(), sum.type());
    QVERIFY(a + b == sum);
    QVERIFY(a - b == difference);
}

void TestValue::sqlTextReadsBackExactly_data() {
    QTest::addColumn<Value>("value");
    QTest::addColumn<QString>("sql");
    QTest::newRow("tenth") << Value(0.1) << "0.1";
    QTest::newRow("tiny") << Value(1e-300) << "1e-300";
    QTest::newRow("date") << Value(QDate(2024, 5, 7)) << "2024-05-07";
    QTest::newRow("milliseconds kept")
        << Value(QDateTime(QDate(2024, 5, 7), QTime(8, 0, 1, 250))) << "2024-05-07 08:00:01.250";
    QTest::newRow("offset kept") << Value(QDateTime(QDate(2024, 5, 7), QTime(8, 0),
                                                    Qt::OffsetFromUTC, 8 * 3600))
                                 << "2024-05-07 08:00:00+08:00";
}

void TestValue::sqlTextReadsBackExactly() {
    QFETCH(Value, value);
    QFETCH(QString, sql);
    QCOMPARE(value.sqlText(), sql);
    if (value.type() == Value::Type::Float) QCOMPARE(sql.toDouble(), value.toDouble());
}

void TestValue::sortOrder() {
    QVERIFY(Value::compare(Value(), Value(-5)) < 0);
    QVERIFY(Value::compare(Value(2), Value(10.5)) < 0);
    QVERIFY(Value::compare(Value("10"), Value("9")) < 0); // texts compare as texts
    QCOMPARE(Value::compare(Value(3), Value(3.0)), 0);
}

QTEST_GUILESS_MAIN(TestValue)
#include "tst_value.moc"
