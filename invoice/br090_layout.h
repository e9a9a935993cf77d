// The printed layout TFrmBR090Prn of the blank-invoice report.
#pragma once

#include "invoice/br090_build.h"
#include "reports/common/report_layout.h"

// The layout over the rows of tBR090, its title band filled from `titles`.
rpt::Layout br090Layout(const Br090Titles& titles);
