// Fits the texts of a printed page so that no two overlap and none loses a character it can
// show: a text wider than its box extends into empty space beside it (a right-aligned one to
// the left, a left-aligned one to the right, a centred one both ways), is condensed where it
// would reach another text or a vertical rule, and is cut at its box only where condensing
// would leave it narrower than 60%.
#pragma once

#include "reports/common/report_renderer.h"

namespace rpt {

// The narrowest a text is condensed to before it is cut.
constexpr double narrowestStretch = 0.6;
// The space kept between two texts on a line, in millimetres.
constexpr double textGap = 0.8;

// Sets `painted`, `stretch` and, where cut, `text` of every text of `page`. Texts grow no
// further than `left` and `right` (the printable width, millimetres from the paper's edge).
void fitTexts(PageItems& page, double left, double right);

// The extent `item` is painted in: its fitted extent, or its box before fitting.
QRectF paintedRect(const TextItem& item);

} // namespace rpt
