// The printed layout TFrmBR110Prn of the oil-supplier settlement report.
#pragma once

#include "fuel/br110_build.h"
#include "reports/common/report_layout.h"

// The layout over the deliveries that buildBr110 opened, its title band filled from `titles`,
// the total volume and value overall and per fuel in its summary.
rpt::Layout br110Layout(const Br110Titles& titles);
