// One work shift of the demo station: its code, its eight hours and the fuel prices in force.
// Shift 1 runs 06:00-13:59:59, shift 2 14:00-21:59:59, shift 3 22:00 to 05:59:59 of the next
// calendar day, whose sales still carry the business day's shift code.
#pragma once

#include "demo/format.h"
#include "demo/masters.h"

#include <QDate>
#include <QString>

struct DemoShift {
    static constexpr int length = 8 * 3600; // seconds

    DemoShift(QDate businessDay, int shiftNumber, const DemoFuelPrices& fuelPrices)
        : day(businessDay), number(shiftNumber),
          code(demo::businessDayKey(businessDay) + u'_' + QChar(u'0' + shiftNumber)),
          prices(fuelPrices), tomorrow_(businessDay.addDays(1)),
          todayPrefix_(demo::timestampPrefix(businessDay)),
          tomorrowPrefix_(demo::timestampPrefix(tomorrow_)) {}

    // Day shifts take deliveries and restocks; the night shift does not.
    bool isDayShift() const { return number < 3; }

    // tran_time text of the moment `second` seconds after the shift began.
    QString timestamp(int second) const {
        const int ofDay = secondOfDay(second);
        return ofDay < daySeconds_ ? demo::timestampText(todayPrefix_, ofDay)
                                   : demo::timestampText(tomorrowPrefix_, ofDay - daySeconds_);
    }
    // Calendar day of that moment.
    QDate dateAt(int second) const { return secondOfDay(second) < daySeconds_ ? day : tomorrow_; }

    QDate day;
    int number;
    QString code;
    DemoFuelPrices prices;

private:
    static constexpr int daySeconds_ = 24 * 3600;
    int secondOfDay(int second) const { return 6 * 3600 + (number - 1) * length + second; }

    QDate tomorrow_;
    QString todayPrefix_;
    QString tomorrowPrefix_;
};
