// The transaction filter of the reports with a date basis, and the default date range of
// the report screens. Dates are the "yyyy/MM/dd" texts of the screens.
#pragma once

#include "db/value.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>

class Query;

struct DateBasisFilter {
    QString sql; // conditions on m.tran_time and m.shift, ending in a blank
    QList<QPair<QString, QString>> params; // ME01, ME02 (and ME011, ME021 for basis 1)
    // Sets the filter's parameters on `query`.
    void apply(Query& query) const;
};

// Basis '1' (by shift date): calendar dates one day wider on each side, bounded by the
// business-day keys of the two dates; any other basis ('2', by fuelling date): the dates as
// they stand. Throws InputRefused naming `startField`/`endField` for a text that is no date.
DateBasisFilter dateBasisFilter(QChar basis, const QString& start, const QString& end,
                                const QString& startField = QStringLiteral("e01"),
                                const QString& endField = QStringLiteral("e02"));

// The date of a "yyyy/MM/dd" text, blanks around it ignored; invalid when it is none.
QDate parseDayText(const QString& text);
// The date of a "yyyy/MM/dd" text typed into the screen's `field`; throws InputRefused
// naming the field ("日期錯誤: ... 不是正確的日期...") for a text that is no date.
QDate checkedDay(const QString& text, const QString& field);
QString dayText(const QDate& date);
// The screens' defaults: the first day of `today`'s month, and the day before `today`.
QString firstOfMonthText(const QDate& today);
QString yesterdayText(const QDate& today);
