// A report saved as a workbook: the sheet of a printed report (its own, or laid out from its
// printed bands), the name it is offered under, and writing it.
#pragma once

#include "reports/common/report_def.h"

class Progress;

// The sheet of `pages`, printed from `job`, named after `title` ("BR040 總營業月統計表").
rpt::Sheet reportSheet(const PrintJob& job, const rpt::RenderedReport& pages, const QString& title);

// The file name a report's workbook is offered under: the code and the dates it covers,
// "BR040_20240501_20240531.xlsx", or the one day of a one-day report, "BR030_20241215.xlsx".
QString workbookName(const ReportDef& report, const ReportOptions& options);

// Writes the sheet of `pages` to the workbook `path`. Throws FileError (an older file of that
// name is then left as it was). Writes nothing for a report without pages: returns false.
bool writeReportWorkbook(const PrintJob& job, const rpt::RenderedReport& pages,
                         const QString& title, const QString& path, Progress* progress = nullptr);
