// Number format masks of the printed reports and their captions: "0" a digit always shown,
// "#" a digit shown when significant, "." the decimal point, a "," in the integer part
// groups by three, other characters copied; halves rounded away from zero.
#pragma once

#include <QString>

// `value` formatted with `mask` ("#,###,##0", "##,##0.00", ".00", "$##,###,##0", "000" ...).
// A mask without any "0" gives empty text for a value that rounds to zero.
QString formatMask(double value, const QString& mask);
