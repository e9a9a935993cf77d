// Charge sales (payment "903") of the station: the day's list and its lines, the checks and
// the quantity/amount arithmetic of a keyed-in sale, and its writes to tran and tran_detl.
#pragma once

#include "db/value.h"

#include <QString>

class Connection;
class Query;

// The texts of the charge-sale entry panel, as the user sees them.
struct ChargeSaleEntry {
    QString e01; // island
    QString e02; // gun number
    QString e03; // date, yyyy/MM/dd
    QString e04; // time of day
    QString e05; // shift code
    QString e06; // vehicle number
    QString e07; // product id
    QString e08; // unit price
    QString e09; // quantity
    QString e10; // amount
    QString e11; // charge company (ref_no2), filled by the vehicle picker
    QString e12; // product class, filled by the product picker
};

// The sale being modified, taken when modify begins: its stored key, its shift and the
// trimmed texts of the date, time, shift and vehicle fields.
struct ChargeSaleSnapshot {
    Value island, gunNo, tranTime;
    QString origShift;
    QString e03, e04, e05, e06;
};

// Opens `tb1` on the live charge sales of `day` ("yyyy/MM/dd"), in time order.
void openChargeSales(Query& tb1, const QString& day);
// Opens `tb2` on the lines of the current sale of `tb1`; none when `tb1` has no row.
void openSaleLines(Query& tb2, Query& tb1);
// Moves `tb1` to the sale of island, gun and time; false, staying put, when it is not listed.
bool gotoSale(Query& tb1, const QString& island, const QString& gunNo, const QString& tranTime);

// "08:05:00" for a time of day typed with one- or two-digit parts ("8:5", "8:05:30");
// empty for anything that is not a time of day.
QString timeOfDay(const QString& typed);

// The checks of a save, in order; the first that fails throws InputRefused with its message
// and the field to focus. Rewrites e04 as "HH:mm:ss". Throws DbError when a check cannot be
// read from the database.
void checkChargeSale(Connection& cn, ChargeSaleEntry& entry);

// A new sale's quantity and amount: a quantity above 0 makes the amount price × quantity
// (whole dollars, halves away from zero); an amount above 0 with quantity 0 makes the
// quantity amount ÷ price (two decimals). An unreadable quantity becomes 0. Throws
// InputRefused("單價 錯誤...", "e08") when the amount is unreadable or the price needed for
// the division is unreadable or 0.
void workOutQuantityAndAmount(ChargeSaleEntry& entry);

// Writes a new one-line sale: the header into tran and its line into tran_detl, in one
// transaction, every column left empty filled with its type's zero. A header that cannot be
// written throws InputRefused("資料重複..."), unless the connection was lost: that, and a
// line that cannot be written, throw the DbError of the database. Either way nothing is
// stored.
void insertChargeSale(Connection& cn, const ChargeSaleEntry& entry);

// Writes the changed date, time, shift and vehicle of the sale `before` in one transaction:
// the header, and every line of the sale to the same time and shift. Returns false, writing
// nothing, when none of the four differs from the snapshot. A header that cannot be written
// throws InputRefused("資料重複...") unless the connection was lost; a lost connection, a sale
// no longer stored as it was, or a line that cannot be written, throws DbError. Either way
// nothing is stored.
bool modifyChargeSale(Connection& cn, const ChargeSaleSnapshot& before,
                      const ChargeSaleEntry& entry);

// Marks the sale voided (an_mark "200"); its rows stay. Throws DbError when the sale is no
// longer stored as listed.
void voidChargeSale(Connection& cn, const Value& island, const Value& gunNo, const Value& tranTime);

// The text a saved sale adds to the shifts whose shift reports must be rebuilt: one blank
// and the original shift, then one blank and the saved shift when it differs.
QString shiftsTouched(const QString& origShift, const QString& savedShift);
