#include "charge/br100_layout.h"

#include "charge/charge_layout.h"
#include "reports/common/number_mask.h"
#include "reports/common/report_renderer.h"

#include <memory>

using namespace rpt;

namespace {

using chargeLayout::FuelTotals;
using chargeLayout::LineSums;

constexpr Align R = Align::Right;

Band pageHeader() {
    return chargeLayout::titleBand(
        QStringLiteral("團體 U 卡明細表"),
        QList<Control>{
            label("QRLabel7", QStringLiteral("日期     時間"), 23.8, 1.1, 33.0),
            label("QRLabel8", QStringLiteral("班 島"), 23.8, 35.2, 11.0),
            label("QRLabel6", QStringLiteral("車號"), 23.8, 47.4, 17.2),
            label("QRLabel12", QStringLiteral("團體 U 卡"), 23.8, 65.9, 29.4),
        } + chargeLayout::figureHeadings());
}

Band detail() {
    Band b = band(QStringLiteral("Detail"), BandKind::Detail, 6.3);
    b.controls = {
        field("QRDBText4", "tran_time", 1.1, 1.1, 32.3),
        field("QRDBText5", "class", 1.1, 35.7, 5.0),
        field("QRDBText3", "island", 1.1, 41.0, 6.0),
        field("QRDBText9", "car_no", 1.1, 47.4, 16.4),
        field("QRDBText1", "ref_no4", 1.1, 66.1, 29.4),
    };
    b.controls << chargeLayout::figureFields("name", "damt");
    return b;
}

// The grand total and the four fuels: their line count, litres, amount, discount, receivable.
struct TotalsRow {
    double top;
    const char* caption;
    double left;
    const char* count;
    const char* prefix;
    int group; // -1: all lines
};
const TotalsRow totalsRows[] = {
    {2.1, "總  合  計 :", 53.4, "ct", "q", -1},
    {10.1, "超級柴油 :", 78.6, "c300", "q0", FuelTotals::Diesel},
    {15.3, "九二無鉛 :", 78.6, "c200", "q1", FuelTotals::U92},
    {20.6, "九五無鉛 :", 78.6, "c500", "q2", FuelTotals::U95},
    {25.9, "九八無鉛 :", 78.6, "c800", "q3", FuelTotals::U98},
};

Band summary() {
    Band b = band(QStringLiteral("QRBand3"), BandKind::Summary, 34.1);
    b.frame.top = true;
    int n = 0;
    for (const TotalsRow& r : totalsRows) {
        chargeLayout::addTotalsRow(b, r.top, QStringLiteral("QRLabelT%1").arg(++n),
                                   QString::fromUtf8(r.caption), r.left,
                                   QString::fromLatin1(r.prefix));
        b.controls << label(QString::fromLatin1(r.count), {}, r.top, 101.1, 19.3, R, 13);
    }
    return b;
}

} // namespace

Layout br100Layout(const Br100Titles& titles) {
    Layout layout;
    layout.page = chargeLayout::portraitPage();
    Band title = pageHeader();
    Band lines = detail();
    Band totalsBand = summary();
    auto totals = std::make_shared<FuelTotals>();

    layout.beforeStart = [totals, titles](ReportRun& run) {
        *totals = FuelTotals();
        chargeLayout::setGrouping(run, titles.params.order, titles.params.pageBreak,
                                  {"tdate", "car_no", "ref_no4"});
    };
    title.beforePrint = [titles](ReportRun& run) {
        chargeLayout::fillTitle(run, titles.station, titles.params.start, titles.params.end,
                                titles.params.basis);
        return true;
    };
    lines.afterPrint = [totals](ReportRun& run) {
        LineSums line;
        line.count = 1;
        line.qty = run.number("qty");
        line.amt = run.field("amt").toInt();
        line.discount = run.field("damt").toInt(); // null adds nothing
        line.payamt = run.field("payamt").toInt();
        totals->add(run.field("product_id").toText(), line);
    };
    totalsBand.beforePrint = [totals](ReportRun& run) {
        for (const TotalsRow& r : totalsRows) {
            const LineSums& s = r.group < 0 ? totals->all : totals->group[std::size_t(r.group)];
            chargeLayout::showSums(run, QString::fromLatin1(r.prefix), s);
            run.setCaption(QString::fromLatin1(r.count), formatMask(double(s.count), "##,###,##0"));
        }
        return true;
    };
    layout.bands = {title, chargeLayout::groupBand(), lines, chargeLayout::subtotalBand("damt"),
                    totalsBand};
    return layout;
}
