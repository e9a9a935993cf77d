#include "charge/charge_sale.h"

#include "db/connection.h"
#include "db/db_error.h"
#include "db/input_refused.h"
#include "db/query.h"
#include "reports/common/rounding.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace {

constexpr PgOid TextOid = 25; // unbounded text, which the zero fill leaves empty

const QString Duplicate = QStringLiteral("資料重複...");

bool readNumber(const QString& text, double* out) {
    bool ok = false;
    *out = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(*out);
}

QString wholeText(double value) {
    return QString::number(qint64(roundHalfAway(value, 0)));
}

QString tranTimeText(const ChargeSaleEntry& entry) {
    return entry.e03.trimmed() + QLatin1Char(' ') + entry.e04.trimmed();
}

// Every column of the row still empty gets its type's zero: 0 for numbers (64-bit integers
// excepted), the empty text for char and varchar. Dates, truth values, bigint and unbounded
// text stay empty.
void fillZeroValues(Query& row) {
    for (int i = 0; i < row.fieldCount(); ++i) {
        Field field = row.fieldAt(i);
        if (!field.isNull()) continue;
        switch (field.kind()) {
        case FieldKind::Float:
        case FieldKind::Decimal:
        case FieldKind::SmallInt:
        case FieldKind::Integer:
            field.setValue(Value(qint64(0)));
            break;
        case FieldKind::Text:
            if (field.column().type != TextOid) field.setText(QString());
            break;
        default:
            break;
        }
    }
}

// An empty row of `table` to fill and post.
void beginRow(Query& row, const QString& table) {
    row.setSql(QStringLiteral("SELECT * FROM %1 WHERE false").arg(table));
    row.open();
    row.insert();
}

void writeHeader(Connection& cn, const ChargeSaleEntry& e) {
    Query row(cn);
    beginRow(row, QStringLiteral("tran"));
    const qint64 amount = Value(e.e10.trimmed()).toInt();
    row.field("island").setText(e.e01.trimmed());
    row.field("gun_no").setText(e.e02.trimmed());
    row.field("tran_time").setText(tranTimeText(e));
    row.field("tax_type").setText(QStringLiteral("TX"));
    row.field("tran_amt").setInteger(amount);
    row.field("real_amt").setInteger(amount);
    // A keyed-in charge sale carries no invoice: no tax is worked out.
    row.field("inv_amt").setInteger(0);
    row.field("tax").setInteger(0);
    row.field("discount").setInteger(0);
    row.field("payment").setText(QStringLiteral("903"));
    row.field("tran_tp").setText(QStringLiteral("800"));
    row.field("car_no").setText(e.e06.trimmed());
    row.field("shift").setText(e.e05.trimmed());
    row.field("ref_no1").setText(e.e11.trimmed());
    row.field("ref_no2").setText(e.e11.trimmed());
    row.field("ser_no").setInteger(-1);
    row.field("tran_mode").setText(QStringLiteral("1"));
    fillZeroValues(row);
    row.post();
}

void writeLine(Connection& cn, const ChargeSaleEntry& e) {
    Query row(cn);
    beginRow(row, QStringLiteral("tran_detl"));
    row.field("island").setText(e.e01.trimmed());
    row.field("gun_no").setText(e.e02.trimmed());
    row.field("tran_time").setText(tranTimeText(e));
    row.field("seq").setInteger(1);
    row.field("tax_type").setText(QStringLiteral("TX"));
    row.field("product_id").setText(e.e07.trimmed());
    row.field("class").setText(e.e12.trimmed());
    row.field("price").setFloat(Value(e.e08.trimmed()).toDouble());
    row.field("amt").setInteger(Value(e.e10.trimmed()).toInt());
    row.field("qty").setFloat(Value(e.e09.trimmed()).toDouble());
    row.field("unit").setText(QStringLiteral("LE"));
    row.field("shift").setText(e.e05.trimmed());
    fillZeroValues(row);
    row.post();
}

void bindSale(Query& q, const Value& island, const Value& gunNo, const Value& tranTime) {
    q.param("MLand") = island;
    q.param("MGun") = gunNo;
    q.param("MOldTime") = tranTime;
}

const QString SaleChanged = QStringLiteral("這筆交易已被其他使用者變更或刪除，請重新查詢");

} // namespace

void openChargeSales(Query& tb1, const QString& day) {
    tb1.close();
    tb1.setSql(QStringLiteral("SELECT * FROM tran Where Date(tran_time)=:MDate and payment = "
                              "'903' and an_mark < '200' ORDER BY tran_time "));
    tb1.param("MDate").setText(day);
    tb1.open();
}

void openSaleLines(Query& tb2, Query& tb1) {
    tb2.close();
    tb2.setSql(QStringLiteral("SELECT * FROM tran_detl Where island=:MLand and gun_no=:MGun and "
                              "tran_time=:MDTime "));
    const bool sale = tb1.active() && !tb1.isEmpty();
    tb2.param("MLand") = sale ? tb1.field("island").value() : Value();
    tb2.param("MGun") = sale ? tb1.field("gun_no").value() : Value();
    tb2.param("MDTime") = sale ? tb1.field("tran_time").value() : Value();
    tb2.open();
}

bool gotoSale(Query& tb1, const QString& island, const QString& gunNo, const QString& tranTime) {
    if (!tb1.active()) return false;
    const int i = tb1.fieldIndex(QStringLiteral("island"));
    const int g = tb1.fieldIndex(QStringLiteral("gun_no"));
    const int t = tb1.fieldIndex(QStringLiteral("tran_time"));
    if (i < 0 || g < 0 || t < 0) return false;
    for (int row = 0; row < tb1.recordCount(); ++row)
        if (tb1.value(row, i).toText().trimmed() == island.trimmed() &&
            tb1.value(row, g).toText().trimmed() == gunNo.trimmed() &&
            tb1.value(row, t).toText() == tranTime.trimmed()) {
            tb1.moveTo(row);
            return true;
        }
    return false;
}

QString timeOfDay(const QString& typed) {
    static const QRegularExpression form(QStringLiteral("^(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?$"));
    const QRegularExpressionMatch m = form.match(typed.trimmed());
    if (!m.hasMatch()) return {};
    const QTime time(m.captured(1).toInt(), m.captured(2).toInt(),
                     m.captured(3).isEmpty() ? 0 : m.captured(3).toInt());
    return time.isValid() ? time.toString(QStringLiteral("HH:mm:ss")) : QString();
}

void checkChargeSale(Connection& cn, ChargeSaleEntry& e) {
    struct Required {
        const QString& text;
        const char* message;
        const char* focus;
    };
    const Required required[] = {
        {e.e01, "島號 錯誤...", "e01"}, {e.e02, "槍號 錯誤...", "e02"}, {e.e03, "日期 錯誤...", ""},
        {e.e04, "時間 錯誤...", "e04"}, {e.e05, "班別 錯誤...", "e05"}, {e.e06, "車號 錯誤...", ""},
        {e.e07, "產品 錯誤...", ""},    {e.e08, "單價 錯誤...", "e08"},
    };
    for (const Required& r : required)
        if (r.text.trimmed().isEmpty())
            throw InputRefused(QString::fromUtf8(r.message), QString::fromLatin1(r.focus));

    Query qy(cn);
    if (e.e02.trimmed() != QLatin1String("00")) {
        // A pump gun sells what its nozzle is set up for.
        qy.setSql(
            QStringLiteral("SELECT *  FROM set_island WHERE island=:MLand and gun_no=:MGun "));
        qy.param("MLand").setText(e.e01.trimmed());
        qy.param("MGun").setText(e.e02.trimmed());
        qy.open();
        if (qy.isEmpty()) throw InputRefused(QStringLiteral("島號 槍號 錯誤..."));
        if (qy.field("product_id").asText().trimmed() != e.e07.trimmed())
            throw InputRefused(QStringLiteral("槍號與產品不符 錯誤..."));
    } else if (e.e12.trimmed() != QLatin1String("102")) {
        // The shop counter sells only sub-products.
        throw InputRefused(QStringLiteral("槍號與產品不符 槍號 00 應為副產品 錯誤..."));
    }

    const QString time = timeOfDay(e.e04);
    if (time.isEmpty()) throw InputRefused(QStringLiteral("時間錯誤..."), QStringLiteral("e04"));
    e.e04 = time;

    qy.close();
    qy.setSql(QStringLiteral("SELECT *  FROM shift_02_oil WHERE shift=:Mshift "));
    qy.param("Mshift").setText(e.e05.trimmed());
    qy.open();
    if (qy.isEmpty()) throw InputRefused(QStringLiteral("班別 錯誤..."), QStringLiteral("e05"));
}

void workOutQuantityAndAmount(ChargeSaleEntry& e) {
    double quantity = 0, price = 0, amount = 0;
    if (!readNumber(e.e09, &quantity)) {
        e.e09 = QStringLiteral("0");
    } else if (quantity > 0) {
        if (readNumber(e.e08, &price))
            // Price and quantity carry two decimals each: their product to six places is
            // exact, so only the whole-dollar rounding decides a half.
            e.e10 = wholeText(roundHalfAway(price * quantity, 6));
        else
            e.e09 = QStringLiteral("0");
    }
    const QString priceWrong = QStringLiteral("單價 錯誤...");
    if (!readNumber(e.e10, &amount)) throw InputRefused(priceWrong, QStringLiteral("e08"));
    readNumber(e.e09, &quantity);
    if (amount > 0 && quantity == 0) {
        if (!readNumber(e.e08, &price) || price == 0)
            throw InputRefused(priceWrong, QStringLiteral("e08"));
        e.e09 = QString::number(roundHalfAway(amount / price, 2), 'f', 2);
    }
}

void insertChargeSale(Connection& cn, const ChargeSaleEntry& entry) {
    Transaction transaction(cn);
    try {
        writeHeader(cn, entry);
    } catch (const DbError& e) {
        // A lost connection is no duplicate: the office must see that nothing was saved and
        // why, or it may not key the sale in again.
        if (e.connectionLost()) throw;
        // The key of an existing sale, or an amount that is no whole number.
        throw InputRefused(Duplicate);
    }
    writeLine(cn, entry);
    transaction.commit();
}

bool modifyChargeSale(Connection& cn, const ChargeSaleSnapshot& before, const ChargeSaleEntry& e) {
    if (e.e03.trimmed() == before.e03 && e.e04.trimmed() == before.e04 &&
        e.e05.trimmed() == before.e05 && e.e06.trimmed() == before.e06)
        return false;
    Transaction transaction(cn);
    Query header(cn);
    header.setSql(QStringLiteral(
        "UPDATE tran SET tran_time=:MDTime, ref_no2=:MRef, car_no=:MCar, shift=:MShift "
        "WHERE island=:MLand and gun_no=:MGun and tran_time=:MOldTime "));
    header.param("MDTime").setText(tranTimeText(e));
    header.param("MRef").setText(e.e11.trimmed());
    header.param("MCar").setText(e.e06.trimmed());
    header.param("MShift").setText(e.e05.trimmed());
    bindSale(header, before.island, before.gunNo, before.tranTime);
    qint64 updated = 0;
    try {
        updated = header.execute();
    } catch (const DbError& e) {
        if (e.connectionLost()) throw;
        throw InputRefused(Duplicate);
    }
    if (updated != 1) throw DbError(SaleChanged);
    // Every line of the sale follows its header, so none stays behind under the old time.
    Query lines(cn);
    lines.setSql(QStringLiteral("UPDATE tran_detl SET tran_time=:MDTime, shift=:MShift "
                                "WHERE island=:MLand and gun_no=:MGun and tran_time=:MOldTime "));
    lines.param("MDTime").setText(tranTimeText(e));
    lines.param("MShift").setText(e.e05.trimmed());
    bindSale(lines, before.island, before.gunNo, before.tranTime);
    lines.execute();
    transaction.commit();
    return true;
}

void voidChargeSale(Connection& cn, const Value& island, const Value& gunNo,
                    const Value& tranTime) {
    Query q(cn);
    q.setSql(QStringLiteral("UPDATE tran SET an_mark='200' WHERE island=:MLand and "
                            "gun_no=:MGun and tran_time=:MOldTime "));
    bindSale(q, island, gunNo, tranTime);
    if (q.execute() == 0) throw DbError(SaleChanged);
}

QString shiftsTouched(const QString& origShift, const QString& savedShift) {
    if (origShift == savedShift) return QLatin1Char(' ') + origShift;
    return QLatin1Char(' ') + origShift + QLatin1Char(' ') + savedShift;
}
