// The printed layout TFrmBR100Prn of the group U-card detail report.
#pragma once

#include "charge/br100_build.h"
#include "reports/common/report_layout.h"

// The layout over the rows of tBR100, its title band and grouping taken from `titles`.
rpt::Layout br100Layout(const Br100Titles& titles);
