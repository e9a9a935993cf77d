// The printed layout TFrmBR020Prn of the charge-customer statistics, A4 landscape.
#pragma once

#include "charge/br020_build.h"
#include "reports/common/report_layout.h"

// The layout over the rows of tBR020, its title band filled from `titles`.
rpt::Layout br020Layout(const Br020Titles& titles);
