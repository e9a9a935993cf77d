// BR070 tank stock: for every tank and business day of a range, the day's opening stock, oil
// received and sold, closing stock, last gauge reading and the difference, condensed from the
// per-shift rows of shift_03_tank into the work table tBR070.
#pragma once

#include <QString>

class DataModule;
class Progress;
class Query;

// The screen's parameter texts as the user sees them.
struct Br070Params {
    QString start, end;                           // yyyy/MM/dd
    QString tank;                                 // "01" to "08", empty for all tanks
    QString stock = QStringLiteral("1:計算存量"); // "1..." book basis, anything else gauge basis
};

// The texts the printed layout's title band shows.
struct Br070Titles {
    QString station;
    Br070Params params;
    bool gaugeBasis = false; // 液面計量: the opening stock is the gauge reading
};

// Recreates tBR070 on `work`, reads the range's tank rows once, condenses each tank's shifts of
// a day into one row in memory and writes the rows with one COPY; then opens them on the
// data module's qy by tank and day. Steps `progress` once per tank row read. Throws
// InputRefused for a date that is none or a tank that is not 01 to 08; DbError.
Br070Titles buildBr070(DataModule& dm, Query& work, const Br070Params& params, Progress& progress);
