// BR020 charge-customer statistics: per company the litres and the amounts net of its
// discount of the four fuels, the amount of everything else and the totals, in tBR020.
#pragma once

#include "reports/common/export_column.h"

#include <QList>
#include <QString>

class DataModule;
class Progress;
class Query;

// The screen's parameter texts as the user sees them.
struct Br020Params {
    QString start, end; // yyyy/MM/dd
    QString basis = QStringLiteral("1:交班日期");
};

// The texts the printed layout's title band shows.
struct Br020Titles {
    QString station;
    Br020Params params;
};

// Recreates tBR020 on `work` and fills it with one row per company code met in the charge
// sales of the range (blanks around the code removed; a sale without one makes the row of
// the empty code), each line's discount rounded on its own before it is added. Then opens
// the rows in comp_no order on `rows` (the data module's qy for the layout, `work` itself
// for the export). Sends the same number of statements whatever the number of lines.
// Throws DbError; InputRefused for a date that is none.
Br020Titles buildBr020(DataModule& dm, Query& work, Query& rows, const Br020Params& params,
                       Progress& progress);
// The columns of ".\BR020.XLS".
QList<ExportColumn> br020ExportColumns();
