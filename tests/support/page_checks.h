// Checks of printed pages that every report test runs: no two texts painted over each other.
#pragma once

#include "reports/common/report_renderer.h"

// Empty when no two texts of any page of `report` have painted extents that intersect;
// otherwise names the first such pair, its page and where they meet.
QString overlappingTexts(const rpt::RenderedReport& report);

// Empty when every text of `report` is printed whole; otherwise names the first text that was
// cut because even condensed it had no room (a figure that lost digits).
QString cutTexts(const rpt::RenderedReport& report);

// Fails the running test with the first overlap found in `report`.
#define QVERIFY_NO_OVERLAP(report)                                                                 \
    do {                                                                                           \
        const QString overlap_ = overlappingTexts(report);                                         \
        QVERIFY2(overlap_.isEmpty(), qPrintable(overlap_));                                        \
    } while (false)
