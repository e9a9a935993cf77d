// Sends a rendered report to the system's default printer: one copy, no printer dialog.
#pragma once

#include "reports/common/report_renderer.h"

class QWidget;

// Prints `report` as `document`; returns why it could not (no printer set up, the printer
// refused), empty when every page went out.
QString printReport(const rpt::RenderedReport& report, const QString& document);

// The screens' print: prints, and when no printer can take it says so and offers to keep
// the report as a PDF file instead, so nothing is lost.
void printOrKeepAsPdf(const rpt::RenderedReport& report, const QString& document,
                      const QString& pdfName, QWidget* parent);
