// The printed layout TFrmBR070Prn of the tank stock report.
#pragma once

#include "fuel/br070_build.h"
#include "reports/common/report_layout.h"

// The layout over the rows of tBR070 by tank and day, each tank on pages of its own, its
// title band filled from `titles`.
rpt::Layout br070Layout(const Br070Titles& titles);
