// The fonts of the printed reports: the layouts name 新細明體, which this system supplies as
// AR PL UMing TW, and texts are measured with the very font they are painted with.
#pragma once

#include <QFont>

// Makes 新細明體, 細明體, PMingLiU and MingLiU resolve to AR PL UMing TW where the system has
// none of them. Safe to call more than once; needs a GUI application.
void installReportFontSubstitutes();
// The font a report text of `pixelSize` device units is painted with.
QFont reportFont(const QString& family, double pixelSize, bool bold);
// The width in millimetres that `text` takes, unscaled, in `family` at `pixels` pixels at 96
// per inch. Zero without a GUI application, which has no fonts.
double naturalWidthMm(const QString& text, const QString& family, int pixels, bool bold);
