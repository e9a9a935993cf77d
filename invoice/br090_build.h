// BR090 blank invoices: for every 250-number block of the active ranges filed under the
// months of a date range, the numbers after the highest one issued in those dates, in the
// work tables tBR091 (the issued numbers) and tBR090 (the blocks).
#pragma once

#include <QString>

class DataModule;
class Progress;
class Query;

// The screen's parameter texts as the user sees them.
struct Br090Params {
    QString start, end; // yyyy/MM/dd
};

// The texts the printed layout's title band shows.
struct Br090Titles {
    QString station;
    Br090Params params;
};

// Recreates tBR091 and tBR090 on `work` and fills them, reading one snapshot, then opens the
// blocks that still have blank numbers, in block-key order, on the data module's qy. The
// statements sent do not depend on the number of ranges, blocks or sales. Throws
// InputRefused naming e01/e02 for a date that is none; DbError for a failed statement and
// for a range or an issued number that is not two letters and eight digits.
Br090Titles buildBr090(DataModule& dm, Query& work, const Br090Params& params, Progress& progress);
