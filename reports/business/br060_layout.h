// The printed layout TFrmBR060Prn of the sub-product stock report.
#pragma once

#include "reports/business/br060_build.h"
#include "reports/common/report_layout.h"

// The layout over the rows of tBR060, its title band filled from `titles`.
rpt::Layout br060Layout(const Br060Titles& titles);
