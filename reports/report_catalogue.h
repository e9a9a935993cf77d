// The reports the program prints, by code. Each entry is defined beside its report's files;
// this only lists them. The screens and the command line share it.
#pragma once

#include "reports/common/report_def.h"

const QList<ReportDef>& reportCatalogue();
// The report of `code` (letter case ignored), null when there is none.
const ReportDef* findReport(const QString& code);
