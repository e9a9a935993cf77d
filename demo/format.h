// Field texts of the demo station's rows as PostgreSQL reads them: fixed-point numbers,
// timestamps and the business-day key. Written by hand because they run for every field of
// every row of a year's sales.
#pragma once

#include <QDate>
#include <QString>

namespace demo {

// `units` with `decimals` implied decimals: (12345, 2) is "123.45", (-5, 2) is "-0.05",
// (7, 0) is "7".
QString fixedText(qint64 units, int decimals);
inline QString wholeText(qint64 value) {
    return fixedText(value, 0);
}

// The business-day key of `day`: ROC year as three digits, month, day ("1130507").
QString businessDayKey(QDate day);
// The ROC month code of a month: year as three digits and month ("11306").
QString rocMonthCode(int year, int month);

// "yyyy-MM-dd " of `day`, the fixed part of its timestamps.
QString timestampPrefix(QDate day);
// `prefix` (from timestampPrefix) followed by the time `secondOfDay` as "HH:mm:ss".
QString timestampText(const QString& prefix, int secondOfDay);

} // namespace demo
