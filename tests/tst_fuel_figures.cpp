// The figures of the fuel reports worked out on decimal numbers: readings, litres and prices
// as keyed in, the meters' wraps, the amount meter's correction and its error on a nozzle line.
#include "db/value.h"
#include "fuel/decimal.h"
#include "fuel/meter_line.h"

#include <QTest>

using fuel::Decimal;

namespace {

Decimal dec(const char* text) {
    const std::optional<Decimal> d = Decimal::fromValue(Value(QString::fromLatin1(text)));
    if (!d) qFatal("not a decimal: %s", text);
    return *d;
}

// "" is a reading the database holds no value for.
std::optional<Decimal> reading(const QString& text) {
    if (text.isEmpty()) return std::nullopt;
    return dec(text.toLatin1().constData());
}

} // namespace

class TestFuelFigures : public QObject {
    Q_OBJECT
private slots:
    void decimalArithmetic_data();
    void decimalArithmetic();
    void valuesRead_data();
    void valuesRead();
    void meterAdvance_data();
    void meterAdvance();
    void meterLine_data();
    void meterLine();
};

void TestFuelFigures::decimalArithmetic_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("op"); // + - * round trunc
    QTest::addColumn<QString>("b");  // the second operand, or the places of round
    QTest::addColumn<QString>("result");
    auto row = [](const char* name, const char* a, const char* op, const char* b,
                  const char* result) {
        QTest::newRow(name) << QString(a) << QString(op) << QString(b) << QString(result);
    };
    // Products and differences that binary doubles get wrong.
    row("80 × 31.2 is 2496 exactly", "80", "*", "31.2", "2496.000000000000");
    row("0.1 + 0.2 is 0.3", "0.1", "+", "0.2", "0.300000000000");
    row("1.1 − 2.2", "1.1", "-", "2.2", "-1.100000000000");
    row("10000.5 × 25.1234", "10000.5", "*", "25.1234", "251246.561700000000");
    row("large readings keep every digit", "999999999.99", "*", "99.99",
        "99989999999.000100000000");
    row("negative products", "-3.5", "*", "2.25", "-7.875000000000");
    row("half away from zero, positive", "2.675", "round", "2", "2.68");
    row("half away from zero, negative", "-0.005", "round", "2", "-0.01");
    row("rounding to zero has no sign", "-0.004", "round", "2", "0.00");
    row("to whole dollars", "73524.5", "round", "0", "73525");
    row("truncation toward zero, positive", "2.9", "trunc", "", "2");
    row("truncation toward zero, negative", "-2.9", "trunc", "", "-2");
    row("a thirteenth place rounds the twelfth", "0.0000000000005", "+", "0", "0.000000000001");
}

void TestFuelFigures::decimalArithmetic() {
    QFETCH(QString, a);
    QFETCH(QString, op);
    QFETCH(QString, b);
    QFETCH(QString, result);
    const Decimal x = dec(a.toLatin1());
    QString got;
    if (op == "round")
        got = x.rounded(b.toInt()).toText(b.toInt());
    else if (op == "trunc")
        got = QString::number(x.truncated());
    else {
        const Decimal y = dec(b.toLatin1());
        got = (op == "+" ? x + y : op == "-" ? x - y : x * y).toText(Decimal::places);
    }
    QCOMPARE(got, result);
}

void TestFuelFigures::valuesRead_data() {
    QTest::addColumn<Value>("value");
    QTest::addColumn<QString>("text"); // to four places; "none" when it is no figure
    QTest::newRow("the double nearest 31.2") << Value(31.2) << "31.2000";
    QTest::newRow("a sum with binary noise") << Value(0.1 + 0.2) << "0.3000";
    QTest::newRow("whole number") << Value(qint64(99950)) << "99950.0000";
    QTest::newRow("numeric text") << Value(QString("-12.345")) << "-12.3450";
    QTest::newRow("null") << Value() << "none";
    QTest::newRow("words") << Value(QString("abc")) << "none";
    QTest::newRow("infinity") << Value(std::numeric_limits<double>::infinity()) << "none";
}

void TestFuelFigures::valuesRead() {
    QFETCH(Value, value);
    QFETCH(QString, text);
    const std::optional<Decimal> d = Decimal::fromValue(value);
    QCOMPARE(d ? d->toText(4) : QString("none"), text);
}

void TestFuelFigures::meterAdvance_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("now");
    QTest::addColumn<QString>("advance");
    QTest::newRow("no wrap") << "1200.50"
                             << "1300.25"
                             << "99.75";
    QTest::newRow("unchanged") << "500"
                               << "500"
                               << "0.00";
    QTest::newRow("volume wrapped at 100000") << "99950.00"
                                              << "30.00"
                                              << "80.00";
    QTest::newRow("single digits wrap at 10") << "5"
                                              << "3"
                                              << "8.00";
    QTest::newRow("amount wrapped at 1000000") << "150000"
                                               << "20000"
                                               << "870000.00";
    QTest::newRow("exactly 10 wraps at 100") << "10"
                                             << "4"
                                             << "94.00";
    QTest::newRow("from 100000000 on at 1000000000") << "100000000"
                                                     << "5"
                                                     << "900000005.00";
    QTest::newRow("largest meter") << "999999999"
                                   << "1"
                                   << "2.00";
}

void TestFuelFigures::meterAdvance() {
    QFETCH(QString, start);
    QFETCH(QString, now);
    QFETCH(QString, advance);
    QCOMPARE(fuel::meterAdvance(dec(start.toLatin1()), dec(now.toLatin1())).toText(2), advance);
}

void TestFuelFigures::meterLine_data() {
    // Readings and prices as text, "" where the database holds none; expected A, Q, R.
    QTest::addColumn<QStringList>("readings"); // start_qty start_amt now_qty now_amt price price1
    QTest::addColumn<bool>("complete");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("volume");
    QTest::addColumn<qint64>("error");
    QTest::newRow("exact: no error")
        << QStringList{"1000", "30000", "1080", "32496", "31.2", "31.2"} << true << "2496"
        << "80.00" << qint64(0);
    QTest::newRow("one dollar over 80 × 31.2, not lost to binary noise")
        << QStringList{"1000", "30000", "1080", "32497", "31.2", "31.2"} << true << "2497"
        << "80.00" << qint64(1);
    QTest::newRow("fractions cut toward zero, short")
        << QStringList{"0", "0", "10.33", "300", "29.1", "29.1"} << true << "300"
        << "10.33" << qint64(0); // 300 − 300.603 = −0.603 → 0
    QTest::newRow("fractions cut toward zero, long")
        << QStringList{"0", "0", "10.33", "302", "29.1", "29.1"} << true << "302"
        << "10.33" << qint64(1); // 302 − 300.603 = 1.397 → 1
    QTest::newRow("meter wrapped below 100000, corrected once")
        << QStringList{"0", "10000", "4000", "20000", "27.5", "27.5"} << true << "110000"
        << "4000.00" << qint64(0);
    QTest::newRow("readings not below 100000: no correction")
        << QStringList{"0", "150000", "4000", "160000", "27.5", "27.5"} << true << "10000"
        << "4000.00" << qint64(-100000);
    QTest::newRow("a shortfall past 180000 turns the meter twice")
        << QStringList{"0", "10000", "8000", "20000", "25", "25"} << true << "210000"
        << "8000.00" << qint64(10000);
    QTest::newRow("a shortfall of exactly 80000 is no wrap")
        << QStringList{"0", "10000", "3600", "20000", "25", "25"} << true << "10000"
        << "3600.00" << qint64(-80000);
    QTest::newRow("amount meter wrapped at 1000000")
        << QStringList{"0", "150000", "34800", "20000", "25", "25"} << true << "870000"
        << "34800.00" << qint64(0);
    QTest::newRow("price changed between the shifts: no error")
        << QStringList{"1000", "30000", "1080", "33000", "31.2", "32.0"} << true << "3000"
        << "80.00" << qint64(0);
    QTest::newRow("no price: nothing expected")
        << QStringList{"1000", "30000", "1080", "32496", "", ""} << true << "2496"
        << "80.00" << qint64(2496);
    QTest::newRow("no closing readings: no figures")
        << QStringList{"1000", "30000", "", "", "31.2", ""} << false << "0"
        << "0.00" << qint64(0);
    QTest::newRow("no opening reading: no figures")
        << QStringList{"", "30000", "1080", "32496", "31.2", "31.2"} << false << "0"
        << "0.00" << qint64(0);
}

void TestFuelFigures::meterLine() {
    QFETCH(QStringList, readings);
    QFETCH(bool, complete);
    QFETCH(QString, amount);
    QFETCH(QString, volume);
    QFETCH(qint64, error);
    const fuel::MeterLine line =
        fuel::meterLine({reading(readings[0]), reading(readings[1]), reading(readings[2]),
                         reading(readings[3]), reading(readings[4]), reading(readings[5])});
    QCOMPARE(line.complete, complete);
    QCOMPARE(line.amount.toText(0), amount);
    QCOMPARE(line.volume.toText(2), volume);
    QCOMPARE(line.error, error);
}

QTEST_MAIN(TestFuelFigures)
#include "tst_fuel_figures.moc"
