// The printed layout TFrmBR080Prn of the gift detail and statistics report.
#pragma once

#include "reports/business/br080_build.h"
#include "reports/common/report_layout.h"

// The layout over the gift rows (the data module's qy) with the totals per gift (its qy1) in
// a sub-detail printed once after the last row; its title band filled from `titles`.
rpt::Layout br080Layout(const Br080Titles& titles);
