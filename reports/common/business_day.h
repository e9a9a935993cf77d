// Business-day keys: the first seven characters of a shift code, the day's year in the
// Republic-of-China calendar as three digits, then month and day. Keys compare as text in
// date order.
#pragma once

#include <QDate>
#include <QString>

// The key of `date`: 2012/03/05 gives "1010305", 2010/12/31 gives "0991231".
QString businessDayKey(const QDate& date);
// The date of a seven-digit key; an invalid date when `key` is none.
QDate dateOfBusinessDayKey(const QString& key);
