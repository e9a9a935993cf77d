// BR110 oil-supplier settlement: the live oil deliveries of a range of business days, one line
// each with its tank, unit price, volume and the value the database rounds, read straight from
// oil_change.
#pragma once

#include "reports/common/export_column.h"

#include <QList>
#include <QString>

class DataModule;
class Progress;
class Query;

// The screen's parameter texts as the user sees them.
struct Br110Params {
    QString start, end; // yyyy/MM/dd
    QString product;    // one fuel's product id, empty for all products
};

// The texts the printed layout's title band shows.
struct Br110Titles {
    QString station;
    Br110Params params;
};

// Opens the deliveries on `query` in shift order. Throws InputRefused for a date that is none;
// DbError.
void openBr110Rows(Query& query, const Br110Params& params, Progress& progress);
// The print build: the deliveries opened on the data module's qy.
Br110Titles buildBr110(DataModule& dm, const Br110Params& params, Progress& progress);
// The columns of ".\BR110.XLS".
QList<ExportColumn> br110ExportColumns();
