// The printed layout TFrmBR010Prn of the charge-customer detail report.
#pragma once

#include "charge/br010_build.h"
#include "reports/common/report_layout.h"

// The layout over the rows of tBR010, its title band filled from `titles`.
rpt::Layout br010Layout(const Br010Titles& titles);
