#include "fuel/oil_receipts.h"

#include "db/input_refused.h"
#include "db/query.h"
#include "fuel/tank_stock.h"
#include "reports/common/typed_number.h"

void checkReceiptFigures(const QString& litresText, const QString& priceText) {
    if (!litresText.trimmed().isEmpty() && !typedNumber(litresText))
        throw InputRefused(QStringLiteral("數量欄位錯誤,請輸入數字..."), QStringLiteral("DBEdit3"));
    if (!priceText.trimmed().isEmpty() && !typedNumber(priceText))
        throw InputRefused(QStringLiteral("進油單價欄位錯誤,請輸入數字..."),
                           QStringLiteral("DBEdit4"));
}

QString checkReceiptShiftAndTank(Query& qy, const QString& shift, const QString& tank) {
    const auto found = [&qy](const QString& sql, const QString& param, const QString& value) {
        if (value.isEmpty()) return false; // a blank code names nothing
        qy.close();
        qy.setSql(sql);
        qy.param(param).setText(value);
        qy.open();
        return !qy.isEmpty();
    };
    if (!found(QStringLiteral("select * from shift_03_tank where shift = :MShift "),
               QStringLiteral("MShift"), shift.trimmed()))
        throw InputRefused(QStringLiteral("班別錯誤,請重新輸入..."), QStringLiteral("DBEdit1"));
    if (!found(QStringLiteral("select * from tank_data where tankno = :MTank "),
               QStringLiteral("MTank"), tank.trimmed()))
        throw InputRefused(QStringLiteral("油槽錯誤,請重新輸入..."), QStringLiteral("DBEdit2"));
    return qy.field(QStringLiteral("productno")).asText(); // of the first tank row found
}

QString earlierKey(const QString& earliest, const QString& shift) {
    const QString day = shift.left(7);
    if (!isBusinessDayKey(day)) return earliest; // names no day: nothing to recompute
    return day < earliest ? day : earliest;
}
