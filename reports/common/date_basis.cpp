#include "reports/common/date_basis.h"

#include "db/input_refused.h"
#include "db/query.h"
#include "reports/common/business_day.h"

QDate checkedDay(const QString& text, const QString& field) {
    const QDate date = parseDayText(text);
    if (!date.isValid())
        throw InputRefused(QStringLiteral("日期錯誤: '%1' 不是正確的日期...").arg(text), field);
    return date;
}

void DateBasisFilter::apply(Query& query) const {
    for (const auto& [name, value] : params)
        query.param(name).setText(value);
}

DateBasisFilter dateBasisFilter(QChar basis, const QString& start, const QString& end,
                                const QString& startField, const QString& endField) {
    const QDate from = checkedDay(start, startField);
    const QDate to = checkedDay(end, endField);
    DateBasisFilter f;
    f.sql = QStringLiteral("Date(m.tran_time) >= :ME01 and Date(m.tran_time) <= :ME02 ");
    if (basis == QLatin1Char('1')) {
        f.sql +=
            QStringLiteral("and substr(m.shift,1,7) >= :ME011 and substr(m.shift,1,7) <= :ME021 ");
        f.params = {{QStringLiteral("ME01"), dayText(from.addDays(-1))},
                    {QStringLiteral("ME02"), dayText(to.addDays(1))},
                    {QStringLiteral("ME011"), businessDayKey(from)},
                    {QStringLiteral("ME021"), businessDayKey(to)}};
    } else {
        f.params = {{QStringLiteral("ME01"), start.trimmed()},
                    {QStringLiteral("ME02"), end.trimmed()}};
    }
    return f;
}

QDate parseDayText(const QString& text) {
    return QDate::fromString(text.trimmed(), QStringLiteral("yyyy/MM/dd"));
}

QString dayText(const QDate& date) {
    return date.toString(QStringLiteral("yyyy/MM/dd"));
}

QString firstOfMonthText(const QDate& today) {
    return dayText(today).left(8) + QStringLiteral("01");
}

QString yesterdayText(const QDate& today) {
    return dayText(today.addDays(-1));
}
