// The pieces the printed layouts of the charge and U-card reports share: the portrait title
// band with its column headings, the handler that fills its captions, the subtotal line and
// the totals per fuel that the summary prints.
#pragma once

#include "reports/common/report_layout.h"

#include <QtGlobal>
#include <array>

class ReportRun;

namespace chargeLayout {

// The portrait page: 210.06 mm × 279.4 mm, margins top 5, bottom 20, left and right 5.
rpt::PageSetup portraitPage();
// The group header QRGroup1 (prints nothing), whose footer is GrooupFooter1.
rpt::Band groupBand();
// Sets QRGroup1's group expression by the first character of `order`: "1", "2" and "3" give
// the three `columns`, anything else none (the whole report is one group); with `pageBreak`
// exactly "Y" every group and the summary QRBand3 begin a new page.
void setGrouping(ReportRun& run, const QString& order, const QString& pageBreak,
                 const std::array<QString, 3>& columns);
// The page header QRBand1 (29.6 mm, a line at the bottom) of the portrait reports: station,
// `title`, printing date, data dates, page number, a rule across at 22.5 and `headings`.
rpt::Band titleBand(const QString& title, const QList<rpt::Control>& headings);
// The headings of the figures at the right of the portrait reports, at top 23.8: product
// name, unit price, litres, amount, discount and receivable.
QList<rpt::Control> figureHeadings();
// The detail fields under figureHeadings(), at top 1.1: the product name in `productName`,
// then price, qty, amt, `discount` (blank for 0) and payamt.
QList<rpt::Control> figureFields(const QString& productName, const QString& discount);
// Fills QRL1 to QRL4: the station, the two date texts, and "交易日" unless the date basis
// text begins with "1".
void fillTitle(ReportRun& run, const QString& station, const QString& start, const QString& end,
               const QString& basis);
// The group footer GrooupFooter1 (8.5 mm, a line at the top): "小        計 :" and the
// group's sums of litres, amount, `discount` and receivable.
rpt::Band subtotalBand(const QString& discount);

// Running totals of printed lines: their number, litres, amount, discount and receivable.
struct LineSums {
    qint64 count = 0;
    double qty = 0;
    qint64 amt = 0, discount = 0, payamt = 0;
    void add(const LineSums& line);
};

// The totals by product, diesel, 92, 95, 98 and every other product, and of all lines.
struct FuelTotals {
    enum Group { Diesel, U92, U95, U98, Other };
    std::array<LineSums, 5> group;
    LineSums all;
    // Adds `line` of `product` (exact product id) to its group and to all lines.
    void add(const QString& product, const LineSums& line);
};
FuelTotals::Group fuelGroup(const QString& product);

// A line of a totals block at `top`: the caption, then four right-aligned figures named
// `prefix` + 1 to 4 for litres, amount, discount and receivable.
void addTotalsRow(rpt::Band& band, double top, const QString& captionName, const QString& caption,
                  double captionLeft, const QString& prefix);
// Sets the four figures of a totals row from `sums`.
void showSums(ReportRun& run, const QString& prefix, const LineSums& sums);

} // namespace chargeLayout
