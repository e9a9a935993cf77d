// The figures of the fuel reports worked out on decimal numbers: the meters' wraps, the amount
// meter's correction and its error on a nozzle line.
#include "fuel/meter_line.h"
#include "reports/common/decimal.h"

#include <QTest>

namespace {

// "" is a reading the database holds no value for.
std::optional<Decimal> reading(const QString& text) {
    if (text.isEmpty()) return std::nullopt;
    return Decimal::fromText(text);
}

} // namespace

class TestFuelFigures : public QObject {
    Q_OBJECT
private slots:
    void meterAdvance_data();
    void meterAdvance();
    void meterLine_data();
    void meterLine();
};

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
    QCOMPARE(fuel::meterAdvance(Decimal::fromText(start), Decimal::fromText(now)).toText(2),
             advance);
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
    QTest::newRow("Q × price checked to twelve decimals")
        << QStringList{"0", "0", "0.2", "10", "45.000000000002", "45.000000000002"} << true << "10"
        << "0.20" << qint64(1); // 10 − 9.000000000000(4) = 1
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
