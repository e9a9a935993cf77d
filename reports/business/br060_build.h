// BR060 sub-product stock: per shop good the opening stock, the goods received and sold with
// their gross profit, the stock-count adjustments and the closing stock with its value, for a
// range of business days, in the work table tBR060.
#pragma once

#include <QString>

class DataModule;
class Progress;
class Query;

// The screen's parameter texts as the user sees them.
struct Br060Params {
    QString start, end; // yyyy/MM/dd
};

// The texts the printed layout's title band shows.
struct Br060Titles {
    QString station;
    Br060Params params;
};

// Recreates tBR060 on `work` and fills it from shift_04_stock and product, reading both in
// one snapshot, then opens its rows by product on the data module's qy. Throws DbError, and
// InputRefused for a date text that is no date.
Br060Titles buildBr060(DataModule& dm, Query& work, const Br060Params& params, Progress& progress);
