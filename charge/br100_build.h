// BR100 group U-card detail: every live sale made with a registered group U-card in a date
// range, with its fuel line and its discount line, in the work table tBR100.
#pragma once

#include "reports/common/export_column.h"

#include <QList>
#include <QString>

class DataModule;
class Progress;
class Query;

// The screen's parameter texts as the user sees them.
struct Br100Params {
    QString start, end;                       // yyyy/MM/dd
    QString car;                              // one vehicle exactly, empty for all
    QString card;                             // one card (dcard_mbr.dcard_no), empty for all
    QString order = QStringLiteral("1:日期"); // "1:日期", "2:車號", "3:團體 U 卡" or empty
    QString pageBreak = QStringLiteral("N");  // "Y": each group on a page of its own
    QString basis = QStringLiteral("1:交班日期");
};

// The texts the printed layout's title band shows, and its grouping.
struct Br100Titles {
    QString station;
    Br100Params params;
};

// Recreates tBR100 on `work` and fills it by an insert of the card sales and two updates
// that add each sale's fuel line and discount line, all read in one snapshot; then opens the
// layout's rows (with damt, class, tdate and payamt) in the chosen order on `rows` (the data
// module's qy for the layout, `work` itself for the export). The statements sent do not
// depend on the number of sales. Throws DbError; InputRefused for a date that is none.
Br100Titles buildBr100(DataModule& dm, Query& work, Query& rows, const Br100Params& params,
                       Progress& progress);
// The columns of ".\BR100.XLS".
QList<ExportColumn> br100ExportColumns();
