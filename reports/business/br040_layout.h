// The printed layout TFrmBR040Prn of the monthly business statistics: a two-line row per
// business day and the range's totals.
#pragma once

#include "reports/business/br040_build.h"
#include "reports/common/report_layout.h"

// The layout over the rows of tBR040, its title and totals from the built `report`.
rpt::Layout br040Layout(const Br040Report& report);
