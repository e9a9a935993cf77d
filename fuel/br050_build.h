// BR050 oil-meter start/end: every nozzle of a start shift with its opening volume and amount
// readings, beside its closing readings in an end shift, read straight from shift_01_gun.
#pragma once

#include <QString>

class DataModule;
class Progress;

// The screen's parameter texts as the user sees them.
struct Br050Params {
    QString start, end;                      // yyyy/MM/dd
    QString fromShift = QStringLiteral("1"); // shift numbers, one character each
    QString toShift;
};

// The texts the printed layout's title band shows.
struct Br050Titles {
    QString station;
    Br050Params params;
};

// The end shift the screen offers: the highest shift of the station's shift table, trimmed;
// "1" when the table is empty. Reads on the data module's qy2 and leaves it closed. Throws
// DbError.
QString br050LastShift(DataModule& dm);

// Checks the shifts and opens the nozzle lines on the data module's qy, in island and nozzle
// order. Throws InputRefused, naming the field, for an empty shift ("班別不可空白..."), one
// longer than a character, a date that is none, or an end before the start
// ("日期班別範圍錯誤..."); DbError when the database fails.
Br050Titles buildBr050(DataModule& dm, const Br050Params& params, Progress& progress);
