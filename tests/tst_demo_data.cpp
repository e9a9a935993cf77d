// The demo station generator: deterministic, every field fits the station tables, and the
// per-shift figures agree with the sales and with each other as the reports read them.
#include "app/product_codes.h"
#include "app/progress.h"
#include "db/row_sink.h"
#include "db/trial_schema.h"
#include "demo/station_generator.h"

#include <QDate>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTest>
#include <QTime>
#include <map>
#include <set>
#include <stdexcept>

namespace {

struct Table {
    QStringList columns;
    QList<QStringList> rows;
    int declarations = 0;

    int column(const char* name) const {
        const qsizetype i = columns.indexOf(QLatin1String(name));
        if (i < 0) throw std::runtime_error(std::string("no column ") + name);
        return int(i);
    }
};

class CollectingSink : public RowSink {
public:
    int declare(const QString& table, const QStringList& columns) override {
        Table& t = tables[table];
        t.columns = columns;
        ++t.declarations;
        handles_.append(table);
        return int(handles_.size() - 1);
    }
    void row(int handle, const QStringList& fields) override {
        Table& t = tables[handles_.at(handle)];
        if (fields.size() != t.columns.size()) misshapenRows.append(handles_.at(handle));
        t.rows.append(fields);
    }
    void finish() override {}

    const Table& operator[](const char* name) const {
        const auto it = tables.find(QLatin1String(name));
        if (it == tables.end()) throw std::runtime_error(std::string("no table ") + name);
        return it->second;
    }

    std::map<QString, Table> tables;
    QStringList misshapenRows;

private:
    QStringList handles_;
};

class CountingProgress : public Progress {
public:
    int steps = 0;

protected:
    void shown(int) override { ++steps; }
};

// A seed whose six days hold every case checked below, a twice-keyed receipt among them.
constexpr quint64 fixtureSeed = 3;
const QDate fixtureLastDay(2024, 5, 2); // Sat 27 April to Thu 2 May: a Monday, a new period
constexpr int fixtureDays = 6;

DemoOptions fixtureOptions(quint64 seed) {
    DemoOptions o;
    o.seed = seed;
    o.days = fixtureDays;
    o.salesPerDay = 300;
    o.lastDay = fixtureLastDay;
    return o;
}

// A decimal text in hundredths ("12.5" is 1250, "-0.05" is -5); more decimals are an error.
qint64 hundredths(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^(-?)(\\d+)(?:\\.(\\d{1,2}))?$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch()) throw std::runtime_error("not a two-decimal number: " + text.toStdString());
    const qint64 value = m.captured(2).toLongLong() * 100 +
                         m.captured(3).leftJustified(2, QLatin1Char('0')).toLongLong();
    return m.captured(1).isEmpty() ? value : -value;
}

qint64 whole(const QString& text) {
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok) throw std::runtime_error("not a whole number: " + text.toStdString());
    return value;
}

// `numerator` / `denominator` rounded half away from zero.
qint64 rounded(qint64 numerator, qint64 denominator) {
    const qint64 magnitude = (std::abs(numerator) * 2 + denominator) / (2 * denominator);
    return numerator < 0 ? -magnitude : magnitude;
}

// Seconds since the epoch of a "yyyy-MM-dd HH:mm:ss" text, read as a wall-clock time.
qint64 secondsOf(QDate day, QTime time) {
    return day.toJulianDay() * 86400 + time.msecsSinceStartOfDay() / 1000;
}

// ROC year and the last month of the two-month invoice period of `day`.
QString invoicePeriodCode(QDate day) {
    const int endMonth = (day.month() + 1) / 2 * 2;
    return QStringLiteral("%1%2")
        .arg(day.year() - 1911, 3, 10, QLatin1Char('0'))
        .arg(endMonth, 2, 10, QLatin1Char('0'));
}

struct Line {
    QString product, cls;
    qint64 price, qty, amt; // hundredths, hundredths, dollars
};

struct Sale {
    QString island, gun, time, shift, carNo, ref1, ref2, ref4, payment, taxType, anMark, invoice,
        invoiceTp, uid, voidMark, printed;
    qint64 tranAmt, realAmt, invAmt, tax, discount;
    QList<Line> lines;
    QList<int> seqs;

    bool live() const { return anMark < QLatin1String("200"); }
    QString key() const { return island + u'|' + gun + u'|' + time; }
    QString nozzle() const { return island + u'|' + gun; }
    const Line* fuelLine() const {
        for (const Line& l : lines)
            if (l.cls == QLatin1String("101")) return &l;
        return nullptr;
    }
};

QList<Sale> readSales(const CollectingSink& sink) {
    const Table& t = sink["tran"];
    const int island = t.column("island"), gun = t.column("gun_no"), time = t.column("tran_time"),
              shift = t.column("shift"), car = t.column("car_no"), ref1 = t.column("ref_no1"),
              ref2 = t.column("ref_no2"), ref4 = t.column("ref_no4"), payment = t.column("payment"),
              taxType = t.column("tax_type"), mark = t.column("an_mark"),
              invoice = t.column("invoice"), invoiceTp = t.column("invoice_tp"),
              uid = t.column("uid"), voidMark = t.column("void"), printed = t.column("prt_invoice"),
              tranAmt = t.column("tran_amt"), realAmt = t.column("real_amt"),
              invAmt = t.column("inv_amt"), tax = t.column("tax"), discount = t.column("discount");
    QList<Sale> sales;
    std::map<QString, int> byKey;
    for (const QStringList& r : t.rows) {
        sales.append({r[island],
                      r[gun],
                      r[time],
                      r[shift],
                      r[car],
                      r[ref1],
                      r[ref2],
                      r[ref4],
                      r[payment],
                      r[taxType],
                      r[mark],
                      r[invoice],
                      r[invoiceTp],
                      r[uid],
                      r[voidMark],
                      r[printed],
                      whole(r[tranAmt]),
                      whole(r[realAmt]),
                      whole(r[invAmt]),
                      whole(r[tax]),
                      whole(r[discount]),
                      {},
                      {}});
        byKey[sales.last().key()] = int(sales.size() - 1);
    }
    const Table& d = sink["tran_detl"];
    const int dIsland = d.column("island"), dGun = d.column("gun_no"),
              dTime = d.column("tran_time"), seq = d.column("seq"), dShift = d.column("shift"),
              product = d.column("product_id"), cls = d.column("class"), price = d.column("price"),
              qty = d.column("qty"), amt = d.column("amt");
    for (const QStringList& r : d.rows) {
        const auto it = byKey.find(r[dIsland] + u'|' + r[dGun] + u'|' + r[dTime]);
        if (it == byKey.end()) throw std::runtime_error("line without sale");
        Sale& s = sales[it->second];
        if (r[dShift] != s.shift) throw std::runtime_error("line of another shift");
        s.lines.append(
            {r[product], r[cls], hundredths(r[price]), hundredths(r[qty]), whole(r[amt])});
        s.seqs.append(int(whole(r[seq])));
    }
    return sales;
}

// Columns of the station tables with their declared types, from the trial schema.
struct ColumnType {
    QString type;
    int width = 0; // varchar/char length, numeric precision
    int scale = 0;
};
std::map<QString, std::map<QString, ColumnType>> schemaColumns() {
    static const QRegularExpression table(QStringLiteral("^create table (\\w+) \\("));
    static const QRegularExpression column(
        QStringLiteral("(?:\\(|, )(\\w+) (varchar|char|numeric|float8|integer|smallint|timestamp)"
                       "(?:\\((\\d+)(?:,(\\d+))?\\))?"));
    std::map<QString, std::map<QString, ColumnType>> result;
    for (const QString& statement : trialSchemaStatements()) {
        auto& columns = result[table.match(statement).captured(1)];
        for (auto it = column.globalMatch(statement); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            columns[m.captured(1)] = {m.captured(2), m.captured(3).toInt(), m.captured(4).toInt()};
        }
    }
    return result;
}

// Empty when `value` is a valid field of a column of type `type`, else what is wrong.
QString misfit(const QString& value, const ColumnType& type) {
    if (type.type == QLatin1String("varchar") || type.type == QLatin1String("char")) {
        static QStringEncoder big5("windows-950");
        const QByteArray bytes = big5.encode(value);
        if (big5.hasError()) return QStringLiteral("not Big5");
        if (bytes.size() > type.width)
            return QStringLiteral("%1 Big5 bytes in %2").arg(bytes.size()).arg(type.width);
        return {};
    }
    if (type.type == QLatin1String("numeric")) {
        const QRegularExpression form(
            QStringLiteral("^-?\\d{1,%1}%2$")
                .arg(type.width - type.scale)
                .arg(type.scale ? QStringLiteral("(\\.\\d{1,%1})?").arg(type.scale) : QString()));
        return form.match(value).hasMatch() ? QString() : QStringLiteral("bad numeric");
    }
    if (type.type == QLatin1String("timestamp")) {
        const bool valid =
            value.size() == 19 && value[10] == u' ' &&
            QDate::fromString(value.left(10), QStringLiteral("yyyy-MM-dd")).isValid() &&
            QTime::fromString(value.mid(11), QStringLiteral("HH:mm:ss")).isValid();
        return valid ? QString() : QStringLiteral("bad timestamp");
    }
    bool ok = false;
    if (type.type == QLatin1String("float8"))
        value.toDouble(&ok);
    else
        value.toInt(&ok);
    return ok ? QString() : QStringLiteral("bad number");
}

std::map<QString, QString> productClasses(const CollectingSink& sink) {
    const Table& t = sink["product"];
    std::map<QString, QString> classes;
    for (const QStringList& r : t.rows)
        classes[r[t.column("product_id")]] = r[t.column("class")];
    return classes;
}

// The shift codes of the fixture, in time order.
QStringList fixtureShifts() {
    QStringList codes;
    for (QDate d = fixtureLastDay.addDays(1 - fixtureDays); d <= fixtureLastDay; d = d.addDays(1))
        for (int n = 1; n <= 3; ++n)
            codes.append(QStringLiteral("%1%2%3_%4")
                             .arg(d.year() - 1911, 3, 10, QLatin1Char('0'))
                             .arg(d.month(), 2, 10, QLatin1Char('0'))
                             .arg(d.day(), 2, 10, QLatin1Char('0'))
                             .arg(n));
    return codes;
}

} // namespace

class TestDemoData : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void seedDecidesTheStation_data();
    void seedDecidesTheStation();
    void everyColumnFilledAndFits();
    void summaryAndProgress();
    void mastersHangTogether();
    void salesHangTogether();
    void lineAndSaleAmounts();
    void salesLieInTheirShift();
    void fuelPricesFollowTheShift();
    void metersFollowTheSales();
    void tankStockChain();
    void paymentFiguresAgree();
    void goodsStockChain();
    void invoiceNumbersLieInActiveRanges();
    void invoiceRangesAreWholeBlocks();
    void chargeAndCardSales();

private:
    CollectingSink sink_;
    DemoSummary summary_;
    int progressSteps_ = 0;
    QList<Sale> sales_;
};

void TestDemoData::initTestCase() {
    CountingProgress progress;
    summary_ = generateDemoStation(fixtureOptions(fixtureSeed), sink_, progress);
    progressSteps_ = progress.steps;
    sales_ = readSales(sink_);
    QVERIFY(sales_.size() > 1000);
}

void TestDemoData::seedDecidesTheStation_data() {
    QTest::addColumn<quint64>("seed");
    QTest::addColumn<bool>("same");
    QTest::newRow("same seed") << fixtureSeed << true;
    QTest::newRow("other seed") << fixtureSeed + 1 << false;
}

void TestDemoData::seedDecidesTheStation() {
    QFETCH(quint64, seed);
    QFETCH(bool, same);
    CollectingSink again;
    SilentProgress progress;
    generateDemoStation(fixtureOptions(seed), again, progress);
    QCOMPARE(again.tables.size(), sink_.tables.size());
    for (const auto& [name, table] : sink_.tables) {
        QCOMPARE(again[name.toLatin1().constData()].columns, table.columns);
        if (same) QVERIFY2(again[name.toLatin1().constData()].rows == table.rows, qPrintable(name));
    }
    if (!same) QVERIFY(again["tran"].rows != sink_["tran"].rows);
}

void TestDemoData::everyColumnFilledAndFits() {
    QVERIFY2(sink_.misshapenRows.isEmpty(), qPrintable(sink_.misshapenRows.join(u' ')));
    const auto schema = schemaColumns();
    QCOMPARE(schema.size(), std::size_t(trialTableNames().size()));
    for (const auto& [name, columns] : schema) {
        const Table& table = sink_[name.toLatin1().constData()];
        QCOMPARE(table.declarations, 1);
        QVERIFY2(!table.rows.isEmpty(), qPrintable(name));
        QStringList expected;
        for (const auto& [column, type] : columns)
            expected.append(column);
        QStringList declared = table.columns;
        declared.sort();
        QCOMPARE(declared, expected);
        for (const QStringList& row : table.rows)
            for (int c = 0; c < row.size(); ++c) {
                QVERIFY2(!row[c].isNull(), qPrintable(name + u'.' + table.columns[c]));
                const QString wrong = misfit(row[c], columns.at(table.columns[c]));
                QVERIFY2(wrong.isEmpty(),
                         qPrintable(QStringLiteral("%1.%2 \"%3\": %4")
                                        .arg(name, table.columns[c], row[c], wrong)));
            }
    }
}

void TestDemoData::summaryAndProgress() {
    qint64 rows = 0;
    for (const auto& [name, table] : sink_.tables)
        rows += table.rows.size();
    QCOMPARE(summary_.rows, rows);
    QCOMPARE(summary_.sales, qint64(sink_["tran"].rows.size()));
    QCOMPARE(summary_.salesLines, qint64(sink_["tran_detl"].rows.size()));
    QCOMPARE(summary_.shifts, qint64(3 * fixtureDays));
    QCOMPARE(progressSteps_, fixtureDays);
    // About salesPerDay a day.
    QVERIFY(summary_.sales > 300 * fixtureDays * 8 / 10 &&
            summary_.sales < 300 * fixtureDays * 12 / 10);
}

void TestDemoData::mastersHangTogether() {
    const Table& settings = sink_["set_system"];
    std::map<QString, QString> setting;
    for (const QStringList& r : settings.rows)
        setting[r[0]] = r[1];
    QVERIFY(setting["st_name"].contains(u'許'));
    QVERIFY(QRegularExpression(QStringLiteral("^\\d{8}$")).match(setting["uid"]).hasMatch());
    QVERIFY(QRegularExpression(QStringLiteral("^\\d{9}$")).match(setting["tax_id"]).hasMatch());
    QCOMPARE(setting["tax_rate"], QStringLiteral("0.05"));

    const auto classes = productClasses(sink_);
    for (const QString& fuel :
         {products::Prod92, products::ProdDiesel, products::Prod95, products::Prod98})
        QCOMPARE(classes.at(fuel), QStringLiteral("101"));
    QCOMPARE(classes.at(products::Prod700LT), QStringLiteral("132"));
    QCOMPARE(classes.at(products::Prod700CT), QStringLiteral("132"));
    // Names whose Big5 second byte is a backslash, which the reports must survive.
    const Table& product = sink_["product"];
    QStringEncoder big5("windows-950");
    bool backslashByte = false;
    for (const QStringList& r : product.rows)
        backslashByte =
            backslashByte || QByteArray(big5.encode(r[product.column("name")])).contains('\\');
    QVERIFY(backslashByte);

    const Table& units = sink_["cust_unit"];
    std::set<QString> companies;
    for (const QStringList& r : units.rows)
        companies.insert(r[units.column("cust_id")]);
    const Table& cars = sink_["car_data"];
    std::set<QString> plates;
    for (const QStringList& r : cars.rows) {
        QVERIFY(companies.count(r[cars.column("cust_id")]));
        QVERIFY(plates.insert(r[cars.column("car_no")]).second);
    }
    const Table& islands = sink_["set_island"];
    QCOMPARE(islands.rows.size(), 16);
    for (const QStringList& r : islands.rows) {
        QCOMPARE(classes.at(r[islands.column("product_id")]), QStringLiteral("101"));
        QVERIFY(r[islands.column("gun_no")] != QLatin1String("00"));
    }
    const Table& tanks = sink_["tank_data"];
    QCOMPARE(tanks.rows.size(), 8);
    for (const QStringList& r : tanks.rows)
        QCOMPARE(classes.at(r[tanks.column("productno")]), QStringLiteral("101"));
}

void TestDemoData::salesHangTogether() {
    const Table& islands = sink_["set_island"];
    std::map<QString, QString> nozzleProduct;
    for (const QStringList& r : islands.rows)
        nozzleProduct[r[0] + u'|' + r[1]] = r[islands.column("product_id")];
    std::set<QString> keys;
    for (const Sale& s : sales_) {
        QVERIFY2(keys.insert(s.key()).second, qPrintable(s.key()));
        QVERIFY(!s.lines.isEmpty());
        for (int i = 0; i < s.seqs.size(); ++i)
            QCOMPARE(s.seqs[i], i + 1);
        if (s.gun == QLatin1String("00")) {
            for (const Line& l : s.lines)
                QCOMPARE(l.cls, QStringLiteral("102"));
        } else {
            int fuelLines = 0;
            for (const Line& l : s.lines)
                fuelLines += l.cls == QLatin1String("101");
            QCOMPARE(fuelLines, 1);
            QCOMPARE(s.fuelLine()->product, nozzleProduct.at(s.nozzle()));
        }
    }
}

void TestDemoData::lineAndSaleAmounts() {
    int taxFree = 0;
    for (const Sale& s : sales_) {
        qint64 gross = 0, discount = 0;
        for (const Line& l : s.lines) {
            QCOMPARE(l.amt, rounded(l.price * l.qty, 10000));
            if (l.cls == QLatin1String("131"))
                discount -= l.amt;
            else if (l.amt > 0)
                gross += l.amt;
        }
        QCOMPARE(s.tranAmt, gross);
        QCOMPARE(s.discount, discount);
        QCOMPARE(s.realAmt, gross - discount);
        QCOMPARE(s.invAmt, s.realAmt);
        if (s.taxType == QLatin1String("TF")) {
            ++taxFree;
            QCOMPARE(s.tax, qint64(0));
        } else {
            QCOMPARE(s.taxType, QStringLiteral("TX"));
            QCOMPARE(s.tax, s.invAmt - rounded(s.invAmt * 100, 105));
        }
    }
    QVERIFY(taxFree < sales_.size() / 100);
}

void TestDemoData::salesLieInTheirShift() {
    const QStringList shifts = fixtureShifts();
    int afterMidnight = 0;
    for (const Sale& s : sales_) {
        QVERIFY2(shifts.contains(s.shift), qPrintable(s.shift));
        const QDate businessDay(s.shift.left(3).toInt() + 1911, s.shift.mid(3, 2).toInt(),
                                s.shift.mid(5, 2).toInt());
        const qint64 start =
            secondsOf(businessDay, QTime(6, 0)) + 8 * 3600 * (s.shift.right(1).toInt() - 1);
        const QDate date = QDate::fromString(s.time.left(10), Qt::ISODate);
        const qint64 time = secondsOf(date, QTime::fromString(s.time.mid(11), Qt::ISODate));
        QVERIFY2(time >= start && time < start + 8 * 3600, qPrintable(s.shift + u' ' + s.time));
        afterMidnight += date != businessDay;
    }
    QVERIFY(afterMidnight > 0);
}

void TestDemoData::fuelPricesFollowTheShift() {
    const Table& guns = sink_["shift_01_gun"];
    std::map<QString, qint64> price;                   // shift|island|gun
    std::map<QString, std::set<qint64>> productPrices; // shift|product: one price a shift
    for (const QStringList& r : guns.rows) {
        const QString shift = r[guns.column("shift")];
        price[shift + u'|' + r[guns.column("island")] + u'|' + r[guns.column("gun_no")]] =
            hundredths(r[guns.column("price")]);
        productPrices[shift + u'|' + r[guns.column("product_id")]].insert(
            hundredths(r[guns.column("price")]));
    }
    for (const Sale& s : sales_)
        if (const Line* fuel = s.fuelLine())
            QCOMPARE(fuel->price, price.at(s.shift + u'|' + s.nozzle()));
    for (const auto& [key, prices] : productPrices)
        QCOMPARE(prices.size(), std::size_t(1));
    // The fixture spans a Monday, when prices change from its first shift on.
    const QStringList shifts = fixtureShifts();
    const QString prod92 = u'|' + products::Prod92;
    QVERIFY(*productPrices.at(shifts.first() + prod92).begin() !=
            *productPrices.at(shifts.last() + prod92).begin());
    const Table& product = sink_["product"];
    for (const QStringList& r : product.rows)
        if (r[product.column("product_id")] == products::Prod92)
            QCOMPARE(hundredths(r[product.column("price")]),
                     *productPrices.at(shifts.last() + prod92).begin());
}

void TestDemoData::metersFollowTheSales() {
    std::map<QString, std::pair<qint64, qint64>> sold; // shift|island|gun: litres, amount
    for (const Sale& s : sales_)
        if (const Line* fuel = s.fuelLine(); fuel && s.live()) {
            auto& [qty, amt] = sold[s.shift + u'|' + s.nozzle()];
            qty += fuel->qty;
            amt += fuel->amt;
        }
    const Table& g = sink_["shift_01_gun"];
    QCOMPARE(g.rows.size(), fixtureShifts().size() * sink_["set_island"].rows.size());
    std::map<QString, std::pair<qint64, qint64>> last; // island|gun: now_qty, now_amt
    int volumeWraps = 0, amountWraps = 0;
    for (const QStringList& r : g.rows) { // written in shift order
        const QString nozzle = r[g.column("island")] + u'|' + r[g.column("gun_no")];
        const auto [qty, amt] = sold[r[g.column("shift")] + u'|' + nozzle];
        const qint64 test = hundredths(r[g.column("test_qty")]),
                     walk = hundredths(r[g.column("walk_qty")]);
        const qint64 price = hundredths(r[g.column("price")]);
        QCOMPARE(whole(r[g.column("test_amt")]), rounded(test * price, 10000));
        QCOMPARE(whole(r[g.column("walk_amt")]), rounded(walk * price, 10000));
        const qint64 outQty = hundredths(r[g.column("out_qty")]);
        const qint64 outAmt = whole(r[g.column("out_amt")]);
        QCOMPARE(outQty, qty + test + walk);
        QCOMPARE(outAmt, amt + whole(r[g.column("test_amt")]) + whole(r[g.column("walk_amt")]));
        const qint64 startQty = hundredths(r[g.column("start_qty")]),
                     startAmt = whole(r[g.column("start_amt")]),
                     nowQty = hundredths(r[g.column("now_qty")]),
                     nowAmt = whole(r[g.column("now_amt")]);
        if (const auto it = last.find(nozzle); it != last.end()) {
            QCOMPARE(startQty, it->second.first);
            QCOMPARE(startAmt, it->second.second);
        }
        QCOMPARE(nowQty, (startQty + outQty) % 100000000);
        QCOMPARE(nowAmt, (startAmt + outAmt) % 1000000);
        volumeWraps += nowQty < startQty;
        amountWraps += nowAmt < startAmt;
        last[nozzle] = {nowQty, nowAmt};
    }
    QVERIFY(volumeWraps > 0);
    QVERIFY(amountWraps > 0);
}

void TestDemoData::tankStockChain() {
    const Table& tankData = sink_["tank_data"];
    std::map<QString, QString> tankProduct; // tank code "0n"
    for (const QStringList& r : tankData.rows)
        tankProduct[u'0' + r[tankData.column("tankno")]] = r[tankData.column("productno")];

    const Table& receipts = sink_["oil_change"];
    std::map<QString, qint64> received; // shift|tank code
    int deleted = 0;
    for (const QStringList& r : receipts.rows) {
        const QString tank = u'0' + r[receipts.column("target_tank")];
        QCOMPARE(r[receipts.column("prod_id")], tankProduct.at(tank));
        const qint64 volume = hundredths(r[receipts.column("gasoline_vol")]);
        QVERIFY(volume >= 1000000 && volume <= 1600000);
        received[r[receipts.column("shift")] + u'|' + tank] += volume;
        deleted += !r[receipts.column("del_mark")].isEmpty();
    }
    QVERIFY(deleted > 0);

    std::map<QString, qint64> soldByProduct; // shift|product
    for (const Sale& s : sales_)
        if (const Line* fuel = s.fuelLine(); fuel && s.live())
            soldByProduct[s.shift + u'|' + fuel->product] += fuel->qty;

    const Table& t = sink_["shift_03_tank"];
    QCOMPARE(t.rows.size(), fixtureShifts().size() * 8);
    std::map<QString, std::pair<qint64, qint64>> last; // tank: account2, real2
    std::map<QString, qint64> tankSales;               // shift|product
    for (const QStringList& r : t.rows) {
        const QString shift = r[t.column("shift")], tank = r[t.column("tank")];
        auto v = [&](const char* column) { return hundredths(r[t.column(column)]); };
        QCOMPARE(v("in_stock"), received[shift + u'|' + tank]);
        if (const auto it = last.find(tank); it != last.end()) {
            QCOMPARE(v("account1"), it->second.first);
            QCOMPARE(v("real_stock1"), it->second.second);
        }
        QCOMPARE(v("account2"), v("account1") + v("in_stock") - v("sale") + v("checkstock"));
        QCOMPARE(v("count"), v("real_stock1") + v("in_stock") - v("sale") + v("checkstock"));
        QCOMPARE(v("surplus_4"), v("count") - v("real2"));
        QCOMPARE(v("diff_vol"), v("surplus_4"));
        last[tank] = {v("account2"), v("real2")};
        tankSales[shift + u'|' + tankProduct.at(tank)] += v("sale");
    }
    for (const auto& [key, litres] : tankSales)
        QCOMPARE(litres, soldByProduct[key]);
}

void TestDemoData::paymentFiguresAgree() {
    // Where a payment's amounts are totalled: shift_05 (amount due) and shift_02_oil (fuel).
    struct PaymentColumns {
        const char* payment;
        const char* due;
        const char* qty;
        const char* amt;
    };
    static const PaymentColumns paymentColumns[] = {
        {"901", "cdc1_amt", "cdc_qty", "cdc_amt"},
        {"902", "ticket_amt", "ticket_qty", "ticket_amt"},
        {"903", "credit_amt", "credit_qty", "credit_amt"},
        {"904", "cdc2_amt", "cdc_qty2", "cdc_amt2"},
    };
    const Table& stock = sink_["shift_04_stock"];
    std::set<QString> stockedGoods;
    for (const QStringList& r : stock.rows)
        stockedGoods.insert(r[stock.column("product_id")]);

    // What each figure must be, from the sales.
    std::map<QString, qint64> expected; // shift|table.column[|product]
    for (const Sale& s : sales_) {
        if (!s.live()) continue;
        const QString f05 = s.shift + QStringLiteral("|shift_05.");
        const PaymentColumns* paid = nullptr;
        for (const PaymentColumns& p : paymentColumns)
            if (s.payment == QLatin1String(p.payment)) paid = &p;
        if (paid) expected[f05 + QLatin1String(paid->due)] += s.realAmt;
        for (const Line& l : s.lines) {
            if (l.cls == QLatin1String("101")) {
                expected[f05 + QStringLiteral("oil_amt_2")] += l.amt;
                if (!paid) continue;
                const QString f02 = s.shift + QStringLiteral("|shift_02_oil.%1|") + l.product;
                expected[f02.arg(QLatin1String(paid->qty))] += l.qty;
                expected[f02.arg(QLatin1String(paid->amt))] += l.amt;
            } else if (l.cls == QLatin1String("131")) {
                expected[f05 + QStringLiteral("oil_disc")] -= l.amt;
            } else if (l.cls == QLatin1String("102")) {
                if (stockedGoods.count(l.product)) {
                    expected[f05 + QStringLiteral("goods_amt")] += l.amt;
                } else {
                    expected[f05 + QStringLiteral("diff_amt1")] += l.amt;
                    expected[s.shift + QStringLiteral("|shift_06.amt|") + l.product] += l.amt;
                }
            } else if (l.cls == QLatin1String("132")) {
                expected[s.shift + QStringLiteral("|shift_06.amt|") + l.product] += l.amt;
            }
        }
    }
    const Table& guns = sink_["shift_01_gun"];
    for (const QStringList& r : guns.rows) {
        const QString key = r[guns.column("shift")] + QStringLiteral("|shift_02_oil.%1|") +
                            r[guns.column("product_id")];
        expected[key.arg(QStringLiteral("test_amt"))] += whole(r[guns.column("test_amt")]);
        expected[key.arg(QStringLiteral("walk_amt"))] += whole(r[guns.column("walk_amt")]);
    }

    auto check = [&](const char* name, const QStringList& columns, bool perProduct) {
        const Table& t = sink_[name];
        for (const QStringList& r : t.rows)
            for (const QString& column : columns) {
                QString key = r[t.column("shift")] + u'|' + QLatin1String(name) + u'.' + column;
                if (perProduct) key += u'|' + r[t.column("product_id")];
                const QString& text = r[t.column(column.toLatin1().constData())];
                const qint64 value =
                    column.contains(QLatin1String("qty")) ? hundredths(text) : whole(text);
                QVERIFY2(value == expected[key], qPrintable(key));
            }
    };
    check("shift_02_oil",
          {"ticket_qty", "ticket_amt", "cdc_qty", "cdc_amt", "cdc_qty2", "cdc_amt2", "credit_qty",
           "credit_amt", "test_amt", "walk_amt"},
          true);
    check("shift_05",
          {"goods_amt", "diff_amt1", "cdc1_amt", "cdc2_amt", "credit_amt", "ticket_amt",
           "oil_amt_2", "oil_disc"},
          false);
    check("shift_06", {"amt"}, true);
    QCOMPARE(sink_["shift_02_oil"].rows.size(), fixtureShifts().size() * 4);
    QCOMPARE(sink_["shift_05"].rows.size(), fixtureShifts().size());

    // Every sold car wash and card deduction has its shift_06 row.
    const Table& s06 = sink_["shift_06"];
    std::set<QString> rows06;
    for (const QStringList& r : s06.rows)
        rows06.insert(r[s06.column("shift")] + QStringLiteral("|shift_06.amt|") +
                      r[s06.column("product_id")]);
    for (const auto& [key, value] : expected)
        if (key.contains(QLatin1String("shift_06"))) QVERIFY2(rows06.count(key), qPrintable(key));

    const Table& s05 = sink_["shift_05"];
    for (const QStringList& r : s05.rows)
        QCOMPARE(whole(r[s05.column("tot_amt_2")]),
                 whole(r[s05.column("oil_amt_2")]) + whole(r[s05.column("goods_amt")]));
}

void TestDemoData::goodsStockChain() {
    std::map<QString, std::pair<qint64, qint64>> sold; // shift|product: pieces (hundredths), amount
    for (const Sale& s : sales_)
        if (s.live() && s.gun == QLatin1String("00"))
            for (const Line& l : s.lines) {
                sold[s.shift + u'|' + l.product].first += l.qty;
                sold[s.shift + u'|' + l.product].second += l.amt;
            }
    const Table& t = sink_["shift_04_stock"];
    std::map<QString, qint64> last;
    int restocks = 0;
    for (const QStringList& r : t.rows) {
        auto v = [&](const char* column) { return hundredths(r[t.column(column)]); };
        const QString product = r[t.column("product_id")];
        const auto [qty, amt] = sold[r[t.column("shift")] + u'|' + product];
        QCOMPARE(v("sale_qty"), qty);
        QCOMPARE(whole(r[t.column("sale_amt")]), amt);
        if (const auto it = last.find(product); it != last.end())
            QCOMPARE(v("bef_stock"), it->second);
        QCOMPARE(v("stock"),
                 v("bef_stock") + v("in_qty") - v("sale_qty") - v("abert_qty") + v("check_qty"));
        QVERIFY(v("stock") >= 0);
        QVERIFY(v("in_price") > 0);
        restocks += v("in_qty") > 0;
        last[product] = v("stock");
    }
    QVERIFY(restocks > 0);
}

void TestDemoData::invoiceNumbersLieInActiveRanges() {
    struct Range {
        QString period, start, end, form;
        bool active;
    };
    const Table& r = sink_["inv_range"];
    QList<Range> ranges;
    for (const QStringList& row : r.rows)
        ranges.append({row[r.column("inv_date")], row[r.column("inv_start")],
                       row[r.column("inv_end")], row[r.column("code")],
                       row[r.column("void")] == QLatin1String("0")});

    static const QRegularExpression number(QStringLiteral("^[A-Z]{2}\\d{8}$"));
    std::set<QString> issued;
    std::map<QString, QString> lastOfTrack;
    std::set<QString> periods;
    for (const Sale& s : sales_) { // in time order within each shift, shifts in order
        if (s.printed != QLatin1String("-1")) {
            QCOMPARE(s.printed, QStringLiteral("0"));
            QCOMPARE(s.invoice, QString());
            continue;
        }
        QVERIFY2(number.match(s.invoice).hasMatch(), qPrintable(s.invoice));
        QVERIFY2(issued.insert(s.invoice).second, qPrintable(s.invoice));
        QCOMPARE(s.voidMark, s.live() ? QStringLiteral("0") : QStringLiteral("1"));
        if (s.invoiceTp == QLatin1String("2"))
            QCOMPARE(s.uid, QStringLiteral("00000000"));
        else
            QVERIFY(s.invoiceTp == QLatin1String("3") && s.uid.size() == 8 &&
                    s.uid != QLatin1String("00000000"));
        const QString period = invoicePeriodCode(QDate::fromString(s.time.left(10), Qt::ISODate));
        periods.insert(period);
        int containing = 0;
        for (const Range& range : ranges)
            if (s.invoice >= range.start && s.invoice <= range.end) {
                ++containing;
                QVERIFY2(range.active, qPrintable(s.invoice));
                QCOMPARE(range.form, s.invoiceTp);
                QCOMPARE(range.period, period);
            }
        QVERIFY2(containing == 1, qPrintable(s.invoice));
        const QString track = s.invoice.left(2);
        if (lastOfTrack.count(track)) QVERIFY(s.invoice > lastOfTrack[track]);
        lastOfTrack[track] = s.invoice;
    }
    QVERIFY(periods.size() >= 2); // the fixture crosses into May's period
    // Charge sales are mostly invoiced monthly by the office.
    int charged = 0, chargedWithInvoice = 0;
    for (const Sale& s : sales_)
        if (s.payment == QLatin1String("903") || s.payment == QLatin1String("904")) {
            ++charged;
            chargedWithInvoice += s.printed == QLatin1String("-1");
        }
    QVERIFY(charged > 0 && chargedWithInvoice < charged / 2);
}

void TestDemoData::invoiceRangesAreWholeBlocks() {
    const Table& r = sink_["inv_range"];
    std::map<QString, std::set<QString>> tracksOfForm; // period|form: tracks
    std::set<QString> allTracks;
    for (const QStringList& row : r.rows) {
        const QString start = row[r.column("inv_start")], end = row[r.column("inv_end")];
        QCOMPARE(start.left(2), end.left(2));
        QCOMPARE(start.mid(2).toLongLong() % 250, 0);
        QCOMPARE((end.mid(2).toLongLong() + 1) % 250, 0);
        QVERIFY(end > start);
        QVERIFY(QStringList({"2", "3"}).contains(row[r.column("code")]));
        QVERIFY(QRegularExpression(QStringLiteral("^\\d{3}(02|04|06|08|10|12)$"))
                    .match(row[r.column("inv_date")])
                    .hasMatch());
        QVERIFY(QStringList({"0", "1"}).contains(row[r.column("void")]));
        tracksOfForm[row[r.column("inv_date")] + u'|' + row[r.column("code")]].insert(
            start.left(2));
        for (const QStringList& other : r.rows)
            if (&other != &row)
                QVERIFY2(other[r.column("inv_end")] < start || other[r.column("inv_start")] > end,
                         qPrintable(start));
    }
    // One track per period and form, never used again.
    for (const auto& [key, tracks] : tracksOfForm) {
        QCOMPARE(tracks.size(), std::size_t(1));
        QVERIFY(allTracks.insert(*tracks.begin()).second);
    }
    // Over a few days a period is not used up: its last range still has blank numbers.
    std::set<QString> issued;
    for (const Sale& s : sales_)
        issued.insert(s.invoice);
    int blankEnds = 0;
    for (const QStringList& row : r.rows)
        blankEnds +=
            row[r.column("void")] == QLatin1String("0") && !issued.count(row[r.column("inv_end")]);
    QVERIFY(blankEnds > 0);
}

void TestDemoData::chargeAndCardSales() {
    const Table& units = sink_["cust_unit"];
    std::map<QString, bool> ratedCompany; // company: has cust_unit discounts
    for (const QStringList& r : units.rows)
        ratedCompany[r[units.column("cust_id")]] = hundredths(r[units.column("discount_d")]) != 0 ||
                                                   hundredths(r[units.column("discount_g")]) != 0;
    const Table& cars = sink_["car_data"];
    std::map<QString, QString> carCompany;
    for (const QStringList& r : cars.rows)
        carCompany[r[cars.column("car_no")]] = r[cars.column("cust_id")];
    const Table& members = sink_["dcard_mbr"];
    std::map<QString, QString> cardCar;
    for (const QStringList& r : members.rows)
        cardCar[r[members.column("dcard_no")]] = r[members.column("car_no")];

    int pumpDiscounts = 0, cardSales = 0, unknownCards = 0;
    std::set<QString> payments;
    for (const Sale& s : sales_) {
        int discountLines = 0;
        QString deduction;
        for (const Line& l : s.lines) {
            discountLines += l.cls == QLatin1String("131");
            if (l.cls == QLatin1String("131")) QVERIFY(l.amt < 0);
            if (l.cls == QLatin1String("132")) {
                QVERIFY(l.amt < 0 && -l.amt <= s.fuelLine()->amt);
                deduction = l.product;
            }
        }
        const bool charge = s.payment == QLatin1String("903") || s.payment == QLatin1String("904");
        if (charge) {
            QCOMPARE(s.ref1, s.ref2);
            QCOMPARE(carCompany.at(s.carNo), s.ref2);
            QVERIFY(s.ref4.isEmpty());
            if (discountLines) {
                QVERIFY2(!ratedCompany.at(s.ref2), qPrintable(s.ref2));
                ++pumpDiscounts;
            }
        } else {
            QVERIFY(s.ref1.isEmpty() && s.ref2.isEmpty());
        }
        if (!s.ref4.isEmpty()) {
            ++cardSales;
            QCOMPARE(s.payment, QStringLiteral("900"));
            QCOMPARE(discountLines, 1);
            if (cardCar.count(s.ref4))
                QCOMPARE(s.carNo, cardCar.at(s.ref4));
            else
                ++unknownCards;
        } else if (!charge) {
            QCOMPARE(discountLines, 0);
        }
        if (s.payment == QLatin1String("905"))
            QCOMPARE(deduction, products::Prod700LT);
        else if (s.payment == QLatin1String("906"))
            QCOMPARE(deduction, products::Prod700CT);
        else
            QVERIFY(deduction.isEmpty());
        payments.insert(s.payment);
    }
    QVERIFY(pumpDiscounts > 0);
    QVERIFY(cardSales > 0);
    QVERIFY(unknownCards > 0);
    for (const char* code : {"900", "901", "902", "903", "904", "905", "906"})
        QVERIFY2(payments.count(QLatin1String(code)), code);
}

QTEST_GUILESS_MAIN(TestDemoData)
#include "tst_demo_data.moc"
