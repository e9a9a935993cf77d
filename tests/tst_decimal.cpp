// The reports' exact decimal figure: readings, litres, prices and amounts read from database
// values, texts and doubles by their shortest decimal form; sums, products and quotients
// without binary noise; rounding halves away from zero and truncation toward zero; the range
// it holds and the error beyond it.
#include "db/db_error.h"
#include "db/value.h"
#include "reports/common/decimal.h"

#include <QTest>
#include <cmath>
#include <functional>
#include <limits>

namespace {

// `digits` nines, and after the point `decimals` more.
QString nines(int digits, int decimals = 0) {
    QString text(digits, QLatin1Char('9'));
    if (decimals > 0) text += QLatin1Char('.') + QString(decimals, QLatin1Char('9'));
    return text;
}

} // namespace

using Work = std::function<void()>;
using Figure = std::function<Decimal()>;
Q_DECLARE_METATYPE(Work)
Q_DECLARE_METATYPE(Figure)

class TestDecimal : public QObject {
    Q_OBJECT
private slots:
    void arithmetic_data();
    void arithmetic();
    void valuesRead_data();
    void valuesRead();
    void productsAndRatios_data();
    void productsAndRatios();
    void quotients_data();
    void quotients();
    void wholeNumbers_data();
    void wholeNumbers();
    void comparison_data();
    void comparison();
    void tenthsAddUpToOne();
    void doublesAndTexts();
    void rangeHolds_data();
    void rangeHolds();
    void refused_data();
    void refused();
};

void TestDecimal::arithmetic_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("op"); // + - * round
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
    row("a thirteenth place rounds the twelfth", "0.0000000000005", "+", "0", "0.000000000001");
}

void TestDecimal::arithmetic() {
    QFETCH(QString, a);
    QFETCH(QString, op);
    QFETCH(QString, b);
    QFETCH(QString, result);
    const Decimal x = Decimal::fromText(a);
    QString got;
    if (op == "round") {
        got = x.rounded(b.toInt()).toText(b.toInt());
    } else {
        const Decimal y = Decimal::fromText(b);
        got = (op == "+" ? x + y : op == "-" ? x - y : x * y).toText(Decimal::places);
    }
    QCOMPARE(got, result);
}

void TestDecimal::valuesRead_data() {
    // A column value read to `decimals` places: the shortest decimal text of a double, a
    // numeric text as it stands, rounded once, halves away from zero. fromValue has none where
    // the value is no figure; fromColumn, the goods and revenue reports' reading, takes null,
    // NaN and infinities as 0 and refuses what is no number.
    QTest::addColumn<Value>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("read");   // fromValue's figure, or "none"
    QTest::addColumn<QString>("column"); // fromColumn's figure, or "refused"
    auto row = [](const char* name, const Value& value, int decimals, const char* read,
                  const char* column) {
        QTest::newRow(name) << value << decimals << QString(read) << QString(column);
    };
    row("the double nearest 31.2", Value(31.2), 12, "31.2", "31.2");
    row("a sum with binary noise", Value(0.1 + 0.2), 12, "0.3", "0.3");
    row("whole number", Value(qint64(99950)), 12, "99950", "99950");
    row("numeric text", Value(QString("-12.345")), 12, "-12.345", "-12.345");
    row("null", Value(), 12, "none", "0");
    row("words", Value(QString("abc")), 12, "none", "refused");
    row("a yes-no value", Value::boolean(true), 12, "none", "refused");
    row("infinity", Value(std::numeric_limits<double>::infinity()), 12, "none", "0");
    row("NaN", Value(std::nan("")), 4, "none", "0");
    // The revenue reports keep litres and money to four decimals as they read them.
    row("a fifth decimal of 5 rounds up", Value(2.67465), 4, "2.6747", "2.6747");
    row("negative halves away from zero", Value(-0.00005), 4, "-0.0001", "-0.0001");
    row("below half a ten-thousandth is nought", Value(0.0000499), 4, "0", "0");
    row("binary noise is gone", Value(0.9999999999999999), 4, "1", "1");
    row("a half dropped after kept zeros", Value(1.00005), 4, "1.0001", "1.0001");
    row("a sixth decimal does not carry into the fifth", Value(1.000049999), 4, "1", "1");
    row("negative whole number", Value(qint64(-53350)), 4, "-53350", "-53350");
    row("numeric text with blanks", Value(QString(" 550.15005 ")), 4, "550.1501", "550.1501");
}

void TestDecimal::valuesRead() {
    QFETCH(Value, value);
    QFETCH(int, decimals);
    QFETCH(QString, read);
    QFETCH(QString, column);
    const std::optional<Decimal> d = Decimal::fromValue(value, decimals);
    QCOMPARE(d ? d->toText() : QString("none"), read);
    QString got;
    try {
        got = Decimal::fromColumn(value, decimals).toText();
    } catch (const DbError&) {
        got = QStringLiteral("refused");
    }
    QCOMPARE(got, column);
}

void TestDecimal::productsAndRatios_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("product"); // a × b rounded to a whole number
    QTest::addColumn<QString>("ratio");   // a × 10 ÷ b rounded to a whole number
    QTest::newRow("1.15 × 10 is 11.5, not 11.4999…") << "1.15"
                                                     << "10"
                                                     << "12"
                                                     << "1";
    QTest::newRow("23 × 10 ÷ 20 is 11.5") << "23"
                                          << "20"
                                          << "460"
                                          << "12";
    QTest::newRow("negative halves away from zero") << "-2.5"
                                                    << "1"
                                                    << "-3"
                                                    << "-25";
    QTest::newRow("float text and exponent") << "1.5e3"
                                             << "0.001"
                                             << "2"
                                             << "15000000";
    QTest::newRow("blanks, plus sign, trailing zeros") << " +12.3400 "
                                                       << "3"
                                                       << "37"
                                                       << "41";
    QTest::newRow("more than twelve decimals round at the twelfth") << "0.0000000000005"
                                                                    << "1000000000000"
                                                                    << "1"
                                                                    << "0";
}

void TestDecimal::productsAndRatios() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, product);
    QFETCH(QString, ratio);
    const Decimal x = Decimal::fromText(a), y = Decimal::fromText(b);
    QCOMPARE((x * y).rounded(0).toText(), product);
    QCOMPARE((x * Decimal::whole(10)).dividedBy(y, 0).toText(), ratio);
    QCOMPARE((x + y - y), x);
}

void TestDecimal::quotients_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("quotient");
    QTest::newRow("a third to the hundredth") << "1"
                                              << "3" << 2 << "0.33";
    QTest::newRow("two thirds round up") << "2"
                                         << "3" << 2 << "0.67";
    QTest::newRow("an exact half of a cent away from zero") << "-1"
                                                            << "8" << 2 << "-0.13";
    QTest::newRow("negative divisor") << "5"
                                      << "-2" << 0 << "-3";
    QTest::newRow("a product share in percent") << "3120000"
                                                << "7" << 2 << "445714.29";
    QTest::newRow("a month's average litres") << "123456.78"
                                              << "31" << 2 << "3982.48";
    QTest::newRow("divisor with decimals") << "10"
                                           << "0.4" << 0 << "25";
    QTest::newRow("more decimals than the dividend has") << "0.000001"
                                                         << "3" << 12 << "0.000000333333";
    QTest::newRow("nothing divided") << "0"
                                     << "7" << 2 << "0";
    QTest::newRow("far below half the last place") << "1"
                                                   << "1e30" << 2 << "0";
}

void TestDecimal::quotients() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, decimals);
    QFETCH(QString, quotient);
    QCOMPARE(Decimal::fromText(a).dividedBy(Decimal::fromText(b), decimals).toText(), quotient);
}

void TestDecimal::wholeNumbers_data() {
    QTest::addColumn<QString>("figure");
    QTest::addColumn<qint64>("whole");     // rounded halves away from zero
    QTest::addColumn<qint64>("truncated"); // cut toward zero
    QTest::newRow("below a half") << "2.4999" << qint64(2) << qint64(2);
    QTest::newRow("a half") << "2.5" << qint64(3) << qint64(2);
    QTest::newRow("a negative half") << "-2.5" << qint64(-3) << qint64(-2);
    QTest::newRow("whole already") << "-53350" << qint64(-53350) << qint64(-53350);
    QTest::newRow("truncation toward zero, positive") << "2.9" << qint64(3) << qint64(2);
    QTest::newRow("truncation toward zero, negative") << "-2.9" << qint64(-3) << qint64(-2);
    QTest::newRow("the largest 64-bit number")
        << "9223372036854775807" << std::numeric_limits<qint64>::max()
        << std::numeric_limits<qint64>::max();
}

void TestDecimal::wholeNumbers() {
    QFETCH(QString, figure);
    QFETCH(qint64, whole);
    QFETCH(qint64, truncated);
    const Decimal d = Decimal::fromText(figure);
    QCOMPARE(d.toWhole(), whole);
    QCOMPARE(d.truncated(), truncated);
    QCOMPARE(Decimal::whole(whole).toWhole(), whole);
}

void TestDecimal::comparison_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("order"); // -1 a < b, 0 equal, 1 a > b
    QTest::newRow("trailing zeros are the same figure") << "3.1400"
                                                        << "3.14" << 0;
    QTest::newRow("more decimals, larger") << "3.14"
                                           << "3.1401" << -1;
    QTest::newRow("negatives") << "-2.5"
                               << "-2.49" << -1;
    QTest::newRow("sign first") << "-1000000"
                                << "0.000001" << -1;
    QTest::newRow("nought and minus nought") << "0"
                                             << "-0.0" << 0;
    QTest::newRow("largest against finest")
        << nines(36) << "0." + QString(36, QLatin1Char('9')) << 1;
    QTest::newRow("finest against largest, negative") << "-0.000000000001"
                                                      << "-" + nines(36) << 1;
}

void TestDecimal::comparison() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, order);
    const Decimal x = Decimal::fromText(a, 36), y = Decimal::fromText(b, 36);
    QCOMPARE(x == y, order == 0);
    QCOMPARE(x < y, order < 0);
    QCOMPARE(x > y, order > 0);
    QCOMPARE(x <= y, order <= 0);
    QCOMPARE(x >= y, order >= 0);
}

void TestDecimal::tenthsAddUpToOne() {
    // Ten sales of 0.1 litre are one litre, and what they leave of it is nought.
    Decimal sum;
    for (int i = 0; i < 10; ++i)
        sum += Decimal::fromDouble(0.1);
    QCOMPARE(sum, Decimal::whole(1));
    QVERIFY((sum - Decimal::whole(1)).isZero());
    QCOMPARE((sum - Decimal::fromDouble(1.5)).sign(), -1);
    QCOMPARE((-sum).toText(2), QString("-1.00"));
}

void TestDecimal::doublesAndTexts() {
    // The double of a figure is the one nearest it, whose shortest text is the figure again.
    QCOMPARE(Decimal::fromText("2.675").toDouble(), 2.675);
    QCOMPARE(Decimal::fromText("-550.15").toDouble(), -550.15);
    QCOMPARE(Decimal::fromDouble(1e-5).toText(), QString("0.00001"));
    QCOMPARE(Decimal::fromDouble(1.5e20).toText(), QString("150000000000000000000"));
    QCOMPARE(Decimal::fromDouble(-0.0).toText(), QString("0"));
    QCOMPARE(Decimal::fromText("12.3400").toText(), QString("12.34"));
    QCOMPARE(Decimal::fromText("0.05").toText(4), QString("0.0500"));
    QCOMPARE(Decimal::fromText("7").toText(2), QString("7.00"));
    QCOMPARE(Decimal::fromText("7.5").toText(0), QString("8"));
}

void TestDecimal::rangeHolds_data() {
    QTest::addColumn<Figure>("figure");
    QTest::addColumn<QString>("text");
    QTest::newRow("thirty-six digits")
        << Figure([] { return Decimal::fromText(nines(36)); }) << nines(36);
    QTest::newRow("a number below 10^24 with twelve decimals")
        << Figure([] { return Decimal::fromText(nines(24, 12)); }) << nines(24, 12);
    QTest::newRow("a sum that comes back into range")
        << Figure([] { return Decimal::fromText("1e35") - Decimal::fromText("0.1"); })
        << nines(35, 1);
    QTest::newRow("a product whose trailing zeros fall away")
        << Figure([] { return Decimal::fromText("0.5") * Decimal::fromText("2e35"); })
        << "1" + QString(35, QLatin1Char('0'));
    QTest::newRow("a tiny product")
        << Figure([] { return Decimal::fromText("1e-12") * Decimal::fromText("1e-12"); })
        << "0." + QString(23, QLatin1Char('0')) + "1";
}

void TestDecimal::rangeHolds() {
    QFETCH(Figure, figure);
    QFETCH(QString, text);
    QCOMPARE(figure().toText(), text);
}

void TestDecimal::refused_data() {
    // What is no number, a division by nought and work out of range throw DbError with the
    // text the station's user is shown.
    QTest::addColumn<Work>("work");
    QTest::addColumn<QString>("message");
    const QString range = QStringLiteral("數值超出範圍，無法計算");
    const Decimal largest = Decimal::fromText(nines(36));
    const Decimal finest = Decimal::fromText("1e-36", 36);
    auto row = [](const char* name, Work work, const QString& message) {
        QTest::newRow(name) << work << message;
    };
    row(
        "letters after the digits", [] { Decimal::fromText("12a"); }, "'12a' 不是數值");
    row(
        "an empty text", [] { Decimal::fromText(""); }, "'' 不是數值");
    row(
        "a point alone", [] { Decimal::fromText("."); }, "'.' 不是數值");
    row(
        "an exponent without digits", [] { Decimal::fromText("1e"); }, "'1e' 不是數值");
    row(
        "full-width digits", [] { Decimal::fromText(QString::fromUtf8("１２")); },
        QString::fromUtf8("'１２' 不是數值"));
    row(
        "NaN", [] { Decimal::fromDouble(std::nan("")); }, "'NaN' 不是數值");
    row(
        "minus infinity", [] { Decimal::fromDouble(-std::numeric_limits<double>::infinity()); },
        "'-Infinity' 不是數值");
    row(
        "a column of words", [] { Decimal::fromColumn(Value(QString("abc"))); }, "'abc' 不是數值");
    row(
        "a division by nought", [] { (void)Decimal::whole(1).dividedBy(Decimal(), 2); },
        "除數為零，無法計算");
    row(
        "37 digits read", [] { Decimal::fromText(nines(37)); }, range);
    row(
        "10^36 as a double", [] { Decimal::fromDouble(1e36); }, range);
    row(
        "a double column of 1e40", [] { Decimal::fromValue(Value(1e40)); }, range);
    row(
        "an exponent far out", [] { Decimal::fromText("1e400"); }, range);
    row(
        "a sum", [largest] { (void)(largest + Decimal::whole(1)); }, range);
    row(
        "a difference", [largest] { (void)(-largest - Decimal::whole(1)); }, range);
    row(
        "a sum needing 37 decimals' room", [largest, finest] { (void)(largest + finest); }, range);
    row(
        "a product", [largest] { (void)(largest * Decimal::whole(10)); }, range);
    row(
        "a product past 128 bits", [largest] { (void)(largest * largest); }, range);
    row(
        "a product of more than 36 decimals",
        [finest] { (void)(finest * Decimal::fromText("0.1")); }, range);
    row(
        "a quotient", [largest] { (void)largest.dividedBy(Decimal::fromText("0.5"), 0); }, range);
    row(
        "a quotient far out",
        [] { (void)Decimal::fromText("1e30").dividedBy(Decimal::fromText("1e-12"), 0); }, range);
    row(
        "a whole number past 64 bits",
        [] { (void)Decimal::fromText("9223372036854775807.5").toWhole(); }, range);
    row(
        "a truncation past 64 bits",
        [] { (void)Decimal::fromText("-9223372036854775809").truncated(); }, range);
}

void TestDecimal::refused() {
    QFETCH(Work, work);
    QFETCH(QString, message);
    try {
        work();
    } catch (const DbError& e) {
        QCOMPARE(e.message(), message);
        return;
    }
    QFAIL("the work was done");
}

QTEST_MAIN(TestDecimal)
#include "tst_decimal.moc"
