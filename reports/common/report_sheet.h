// The spreadsheet of a printed report, laid out again from the bands it printed: the detail
// band's controls become the columns, every printed line a row, each figure a number with the
// format of its mask. The cells of a report that lays out a sheet of its own come from here
// too.
#pragma once

#include "reports/common/report_renderer.h"
#include "reports/common/sheet.h"

#include <optional>

namespace rpt {

// The sheet of `report`, named `name` ("BR040 總營業月統計表"): its first page's header as the
// heading rows, then every band in printing order, the last page's footer at the end. A report
// that printed nothing gives a sheet without rows.
Sheet sheetFromPrint(const RenderedReport& report, const QString& name);

// The cell showing what `control` printed: a figure as the number printed, with a format
// that shows it as printed; a date as a date; anything else (codes too) as text.
SheetCell printedCell(const Control& control, const PrintedText& printed);

// The number format that shows a number as `mask` prints it ("#,###,##0" → "#,##0",
// "$##,###,##0" → "\"$\"#,##0", ".00" → "#.00").
QString numberFormat(const QString& mask);

// The number a printed figure stands for ("-$1,234.50", "12.5%", ".50") with the number
// format that prints it the same way; none when `text` is no figure.
std::optional<SheetCell> figureCell(const QString& text);

// The texts a band printed, by control name, for a report's own sheet: the first printing
// of each control of the bands named `bands` (all bands when empty).
struct NamedText {
    Control control;
    PrintedText printed;
};
QHash<QString, NamedText> printedTexts(const RenderedReport& report, const QStringList& bands = {});

// The font size in points of a control sized in pixels at 96 per inch.
double pointsOf(const Control& control);
// A column's width in characters that holds `text` (a Chinese character is two).
double textWidth(const QString& text);

} // namespace rpt
