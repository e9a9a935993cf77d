// The tank book stock of shift_03_tank rebuilt after oil receipts were corrected: every
// receipt summed into its shift and tank, then the book and gauge stock carried from shift
// to shift, tank by tank.
#pragma once

#include <QString>

class DataModule;
class Progress;

struct TankStockSummary {
    qint64 receipts = 0;      // receipts added up, deleted ones included
    qint64 rowsRewritten = 0; // shift_03_tank rows saved with their recomputed figures
};

// Whether `key` is a business-day key: seven digits that name a real day.
bool isBusinessDayKey(const QString& key);

// Rebuilds shift_03_tank for every shift from the business day `startKey` to the newest, all
// tanks, on the data module's queries qy, qy1 and qy2, in one transaction: when any step
// fails the table is left exactly as it was and the DbError goes on to the caller. A figure
// the chain reads (in_stock, sale, checkstock, real2, and account1 and real_stock1 at a
// tank's first shift) that is empty ends the run with a message naming the shift and tank.
// Steps `progress` once at the start, once per receipt and once per row; its begin() and
// end() are the caller's. Throws DbError for a start key that is no business-day key. The
// shared queries are left closed.
TankStockSummary recomputeTankStock(DataModule& dm, const QString& startKey, Progress& progress);
