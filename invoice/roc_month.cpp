#include "invoice/roc_month.h"

namespace {

bool digits(QStringView text) {
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return !text.isEmpty();
}

} // namespace

QString MonthField::rocCode() const {
    return rocMonthCode(year, month);
}

bool parseMonthField(const QString& text, MonthField& month) {
    const QString t = text.trimmed();
    if (t.size() != 7 || t.at(4) != QLatin1Char('/') || !digits(QStringView(t).left(4)) ||
        !digits(QStringView(t).mid(5, 2)))
        return false;
    MonthField m;
    m.yearText = t.left(4);
    m.monthText = t.mid(5, 2);
    m.year = m.yearText.toInt();
    m.month = m.monthText.toInt();
    if (m.month < 1 || m.month > 12 || m.year < 1912 || m.year > 2910) return false;
    month = m;
    return true;
}

QString rocMonthCode(int year, int month) {
    return QStringLiteral("%1%2")
        .arg(year - 1911, 3, 10, QLatin1Char('0'))
        .arg(month, 2, 10, QLatin1Char('0'));
}
