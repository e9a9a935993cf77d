#include "reports/common/business_day.h"

namespace {

constexpr int rocYearOffset = 1911;

} // namespace

QString businessDayKey(const QDate& date) {
    return QStringLiteral("%1%2%3")
        .arg(date.year() - rocYearOffset, 3, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

QDate dateOfBusinessDayKey(const QString& key) {
    if (key.size() != 7) return {};
    for (QChar c : key)
        if (!c.isDigit()) return {};
    return QDate(key.left(3).toInt() + rocYearOffset, key.mid(3, 2).toInt(), key.mid(5, 2).toInt());
}
