// Number masks of the printed reports, the date-basis filter and the default dates.
#include "db/input_refused.h"
#include "reports/common/date_basis.h"
#include "reports/common/number_mask.h"

#include <QTest>

class TestNumberMask : public QObject {
    Q_OBJECT
private slots:
    void masks_data();
    void masks();
    void basisFilter_data();
    void basisFilter();
    void basisRefusesANonDate();
    void defaults_data();
    void defaults();
};

void TestNumberMask::masks_data() {
    QTest::addColumn<QString>("mask");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    auto row = [](const char* mask, double value, const char* text) {
        QTest::addRow("%s of %g", mask, value) << QString(mask) << value << QString(text);
    };
    row("#", 0, "");
    row("#", 12.5, "13");
    row("#", -3, "-3");
    row("#,###,##0", 0, "0");
    row("#,###,##0", 1234567, "1,234,567");
    row("#,###,##0", -1234.5, "-1,235");
    row("#,###,##0.00", 1234.5, "1,234.50");
    row("##,##0.00", 0, "0.00");
    row("##,##0.00", 31.745, "31.75");
    row("###,##0.00", 999999.999, "1,000,000.00");
    row("###,###", 0, "");
    row("###,###", 0.4, "");
    row("###,###", 48.3, "48");
    row("#,###,###", 1000, "1,000");
    row(".00", 0, ".00");
    row(".00", 0.5, ".50");
    row(".00", 12.345, "12.35");
    row("$##,###,##0", 1234, "$1,234");
    row("$##,###,##0", -1234, "-$1,234");
    row("##,##0", 22.5, "23");
    row("###,##0", -22.5, "-23");
    row("##,###,##0.00", 2.675, "2.68");
    row("##,###,##0", 9524.0, "9,524");
    row("0.00", 2.675, "2.68");
    row("0.00", 0, "0.00");
    row("0.00", -0.001, "0.00");
    row("##,##0.0000", 23.80952380952381, "23.8095");
    row("0", 48.3, "48");
    row("0", 0.5, "1");
    row("0", -0.5, "-1");
    row("000", 99, "099");
    row("000", 113, "113");
}

void TestNumberMask::masks() {
    QFETCH(QString, mask);
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(formatMask(value, mask), text);
}

void TestNumberMask::basisFilter_data() {
    QTest::addColumn<QString>("basis");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QStringList>("params");
    QTest::addColumn<bool>("byKeys");
    QTest::newRow("basis 1 over March 2012, a leap year")
        << "1"
        << "2012/03/01"
        << "2012/03/31" << QStringList{"2012/02/29", "2012/04/01", "1010301", "1010331"} << true;
    QTest::newRow("basis 1 across the year turn")
        << "1"
        << "2011/12/31"
        << "2012/01/01" << QStringList{"2011/12/30", "2012/01/02", "1001231", "1010101"} << true;
    QTest::newRow("basis 1 before 2011: the key begins with a zero")
        << "1"
        << "2010/12/31"
        << "2010/12/31" << QStringList{"2010/12/30", "2011/01/01", "0991231", "0991231"} << true;
    QTest::newRow("basis 2: the dates as they stand")
        << "2"
        << "2012/03/01"
        << "2012/03/31" << QStringList{"2012/03/01", "2012/03/31"} << false;
}

void TestNumberMask::basisFilter() {
    QFETCH(QString, basis);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QStringList, params);
    QFETCH(bool, byKeys);
    const DateBasisFilter f = dateBasisFilter(basis.at(0), start, end);
    QStringList values;
    for (const auto& p : f.params)
        values << p.second;
    QCOMPARE(values, params);
    QCOMPARE(f.sql.contains("substr(m.shift,1,7) >= :ME011"), byKeys);
    QVERIFY(f.sql.startsWith("Date(m.tran_time) >= :ME01 and Date(m.tran_time) <= :ME02 "));
}

void TestNumberMask::basisRefusesANonDate() {
    try {
        dateBasisFilter('1', "2024/05/01", "    /  /  ");
        QFAIL("a blank date must be refused");
    } catch (const InputRefused& refused) {
        QCOMPARE(refused.field(), QString("e02"));
    }
}

void TestNumberMask::defaults_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("yesterday");
    QTest::newRow("mid month") << QDate(2024, 5, 7) << "2024/05/01"
                               << "2024/05/06";
    // On the first of a month the range ends before it starts; the screens leave it so.
    QTest::newRow("first of the month") << QDate(2024, 3, 1) << "2024/03/01"
                                        << "2024/02/29";
}

void TestNumberMask::defaults() {
    QFETCH(QDate, today);
    QFETCH(QString, first);
    QFETCH(QString, yesterday);
    QCOMPARE(firstOfMonthText(today), first);
    QCOMPARE(yesterdayText(today), yesterday);
}

QTEST_GUILESS_MAIN(TestNumberMask)
#include "tst_number_mask.moc"
