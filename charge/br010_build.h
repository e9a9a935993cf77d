// BR010 charge-customer detail: every charge-account sales line of a date range with the
// company's discount per litre and the amount receivable, in the work table tBR010.
#pragma once

#include "reports/common/export_column.h"

#include <QList>
#include <QString>

class DataModule;
class Progress;
class Query;

// The screen's parameter texts as the user sees them.
struct Br010Params {
    QString start, end;                       // yyyy/MM/dd
    QString car;                              // one vehicle exactly, empty for all
    QString company;                          // one company (cust_unit.cust_id), empty for all
    QString order = QStringLiteral("1:日期"); // "1:日期", "2:車號", "3:公司" or empty
    QString pageBreak = QStringLiteral("N");  // "Y": each group on a page of its own
    QString basis = QStringLiteral("1:交班日期");
};

// The texts the printed layout's title band shows.
struct Br010Titles {
    QString station;
    Br010Params params;
    double taxRate = 0;
};

// The print build: recreates tBR010 on `work` and fills it, then opens its rows, in the
// chosen order, on the data module's qy. Throws DbError; InputRefused for a date that is none.
Br010Titles buildBr010(DataModule& dm, Query& work, const Br010Params& params, Progress& progress);
// The export build: the same rows, the master rows looked up by the codes as stored; the
// rows are left open on `work`.
void buildBr010Export(Query& work, const Br010Params& params, Progress& progress);
// The columns of ".\BR010.XLS".
QList<ExportColumn> br010ExportColumns();
