// The command line's "report": a report built through the same start-up as the screens and
// written as a PDF file, a SYLK spreadsheet or sent to the default printer.
#pragma once

#include "reports/common/report_renderer.h"

#include <QStringList>
#include <functional>

// Prints `report` on the default printer as `document`; returns the reason when it could
// not, empty on success. Set by the program, which has the printer support.
using ReportPrinter =
    std::function<QString(const rpt::RenderedReport& report, const QString& document)>;
void setReportPrinter(ReportPrinter printer);
