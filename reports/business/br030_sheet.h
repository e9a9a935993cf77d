// The daily revenue summary as a spreadsheet laid out like its printed grid: the products by
// rows (litres, then dollars), the payment columns by columns, the totals, the income line,
// the notes and the day's tank table.
#pragma once

#include "reports/common/report_renderer.h"
#include "reports/common/sheet.h"

// The sheet of a printed BR030 page, from the texts the page printed.
rpt::Sheet br030Sheet(const rpt::RenderedReport& pages);
