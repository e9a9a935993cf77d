// The printed layout TFrmBR030Prn of the daily revenue summary: one page with the revenue
// grid, the income line, the notes and the day's tank table.
#pragma once

#include "reports/business/br030_build.h"
#include "reports/common/report_layout.h"

#include <QHash>

// The layout over the rows of tBR030, its captions filled from the built `report`.
rpt::Layout br030Layout(const Br030Report& report);

// The captions of the revenue grid, the income line and the notes, by label name ("amt210",
// "qty301", "rate5", "amtt08", "amts10", "t1" ... "t10", "tOther", "QRDBText1", "totqty",
// "avgamt", "dayqty" ...), formatted with the page's masks.
QHash<QString, QString> br030Captions(const Br030Figures& figures);
