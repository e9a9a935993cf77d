// Rounding halves away from zero on the decimal value, and business-day keys of dates.
#include "reports/common/business_day.h"
#include "reports/common/rounding.h"

#include <QTest>

class TestRoundingAndKeys : public QObject {
    Q_OBJECT
private slots:
    void rounding_data();
    void rounding();
    void keys_data();
    void keys();
};

void TestRoundingAndKeys::rounding_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("expected");
    QTest::newRow("2.675, whose double lies below") << 2.675 << 2 << 2.68;
    QTest::newRow("0.125 to a rate") << 0.125 << 2 << 0.13;
    QTest::newRow("1.005") << 1.005 << 2 << 1.01;
    QTest::newRow("half up to a whole") << 94.5 << 0 << 95.0;
    QTest::newRow("half of a negative away from zero") << -2.5 << 0 << -3.0;
    QTest::newRow("below half") << 31.749 << 2 << 31.75;
    QTest::newRow("carry through nines") << 9.995 << 2 << 10.0;
    QTest::newRow("already short enough") << 1.5 << 2 << 1.5;
    QTest::newRow("litres from an amount") << 1000.0 / 31.5 << 2 << 31.75;
    QTest::newRow("zero") << 0.0 << 2 << 0.0;
}

void TestRoundingAndKeys::rounding() {
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(double, expected);
    QCOMPARE(roundHalfAway(value, decimals), expected);
}

void TestRoundingAndKeys::keys_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("key");
    QTest::newRow("2012/03/05") << QDate(2012, 3, 5) << "1010305";
    QTest::newRow("before 2011 begins with a zero") << QDate(2010, 12, 31) << "0991231";
    QTest::newRow("2024/01/31") << QDate(2024, 1, 31) << "1130131";
}

void TestRoundingAndKeys::keys() {
    QFETCH(QDate, date);
    QFETCH(QString, key);
    QCOMPARE(businessDayKey(date), key);
    QCOMPARE(dateOfBusinessDayKey(key), date);
}

QTEST_GUILESS_MAIN(TestRoundingAndKeys)
#include "tst_rounding_and_keys.moc"
