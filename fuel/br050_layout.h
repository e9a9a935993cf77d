// The printed layout TFrmBR050Prn of the oil-meter start/end report.
#pragma once

#include "fuel/br050_build.h"
#include "reports/common/report_layout.h"

// The layout over the nozzle lines that buildBr050 opened, its title band filled from
// `titles`; each line's figures are worked out as it prints, the totals in its summary box.
rpt::Layout br050Layout(const Br050Titles& titles);
