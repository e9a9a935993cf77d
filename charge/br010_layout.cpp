#include "charge/br010_layout.h"

#include "charge/charge_layout.h"
#include "reports/common/number_mask.h"
#include "reports/common/report_renderer.h"

#include <memory>

using namespace rpt;

namespace {

using chargeLayout::FuelTotals;
using chargeLayout::LineSums;

constexpr Align L = Align::Left, R = Align::Right;

Band pageHeader() {
    return chargeLayout::titleBand(
        QStringLiteral("簽帳客戶明細表"),
        QList<Control>{
            label("QRLabel7", QStringLiteral("日期"), 23.8, 1.1, 8.7),
            label("QRLabel8", QStringLiteral("時間"), 23.8, 22.0, 8.7),
            label("QRLabel6", QStringLiteral("車號      公司名稱"), 23.8, 38.1, 32.0),
        } + chargeLayout::figureHeadings());
}

Band detail() {
    Band b = band(QStringLiteral("Detail"), BandKind::Detail, 6.3);
    b.controls = {
        field("QRDBText4", "wdate", 1.1, 1.1, 20.4),
        field("QRDBText5", "wtime", 1.1, 22.0, 15.3),
        field("QRDBText3", "car_no", 1.1, 38.1, 13.0),
        field("QRDBText9", "comp_no", 1.1, 52.9, 12.2),
        field("QRDBText1", "comp_name", 1.1, 66.1, 29.4),
    };
    b.controls << chargeLayout::figureFields("product_name", "disamt");
    return b;
}

Band summary() {
    Band b = band(QStringLiteral("QRBand3"), BandKind::Summary, 114.8);
    b.frame.top = true;
    struct Row {
        double top;
        const char* caption;
        double left;
        const char* prefix;
    };
    const Row rows[] = {{2.1, "總  合  計 :", 53.4, "q"},  {10.1, "超級柴油 :", 101.1, "q0"},
                        {15.3, "九二無鉛 :", 101.1, "q1"}, {20.6, "九五無鉛 :", 101.1, "q2"},
                        {25.9, "九八無鉛 :", 101.1, "q3"}, {31.2, "副產品/折扣 :", 95.8, "q4"}};
    int n = 0;
    for (const Row& r : rows)
        chargeLayout::addTotalsRow(b, r.top, QStringLiteral("QRLabelT%1").arg(++n),
                                   QString::fromUtf8(r.caption), r.left,
                                   QString::fromLatin1(r.prefix));
    b.controls << line("QRShape3", 39.7, 0.0, 200.0);
    b.controls << label("QRLabel40", QStringLiteral("[ 發票開立摘要 ]"), 45.8, 13.8, 40.0, L, 13)
               << label("QRLabel41", QStringLiteral("品名"), 53.7, 13.8, 20.0, L, 13)
               << label("QRLabel42", QStringLiteral("數量"), 53.7, 56.1, 12.0, L, 13)
               << label("QRLabel43", QStringLiteral("未稅單價"), 53.7, 72.0, 20.0, L, 13)
               << label("QRLabel44", QStringLiteral("未稅金額"), 53.7, 95.8, 20.0, L, 13)
               << line("QRShape4", 58.7, 13.2, 100.5);
    const char* names[] = {"超級柴油", "超級柴油  折讓", "九二無鉛", "九二無鉛  折讓",
                           "九五無鉛", "九五無鉛  折讓", "九八無鉛", "九八無鉛  折讓"};
    for (int i = 0; i < 8; ++i) {
        const double top = 60.3 + 5.3 * i;
        b.controls << label(QStringLiteral("QRLabelS%1").arg(i + 1), QString::fromUtf8(names[i]),
                            top, 13.8, 30.0, L, 13);
        for (int c = 0; c < 3; ++c)
            b.controls << label(QStringLiteral("t%1%2").arg(i + 1).arg(c + 1), {}, top,
                                45.0 + 23.8 * c, 20.4, R, 13);
    }
    b.controls << label("QRLabel50", QStringLiteral("銷售額合計"), 86.8, 134.1, 25.0, L, 13)
               << label("QRLabel51", QStringLiteral("營    業    稅"), 92.1, 134.1, 25.0, L, 13)
               << label("QRLabel52", QStringLiteral("總            計"), 97.4, 134.1, 25.0, L, 13)
               << label("t1", {}, 86.8, 161.4, 25.4, R, 13)
               << label("t2", {}, 92.1, 161.4, 25.4, R, 13)
               << label("t3", {}, 97.4, 161.4, 25.4, R, 13);
    return b;
}

// The invoice summary: per fuel its litres, unit price and amount before tax, and the same
// for its discount; then the sales before tax, the tax and the total of what is receivable.
void invoiceSummary(ReportRun& run, const FuelTotals& t, double taxRate) {
    const double gross = 1 + taxRate;
    for (int fuel = 0; fuel < 4; ++fuel) {
        const LineSums& s = t.group[std::size_t(fuel)];
        const QString row = QStringLiteral("t%1").arg(2 * fuel + 1);
        const QString discountRow = QStringLiteral("t%1").arg(2 * fuel + 2);
        if (s.qty > 0) {
            run.setCaption(row + "1", formatMask(s.qty, "###,##0.00"));
            run.setCaption(row + "2", formatMask(double(s.amt) / gross / s.qty, "###,##0.0000"));
            run.setCaption(row + "3", formatMask(double(s.amt) / gross, "###,##0"));
        }
        if (s.discount > 0) {
            run.setCaption(discountRow + "1", formatMask(s.qty, "###,##0.00"));
            run.setCaption(discountRow + "2",
                           formatMask(double(s.discount) / gross / s.qty, "###,##0.0000"));
            run.setCaption(discountRow + "3", formatMask(double(s.discount) / gross, "###,##0"));
        }
    }
    qint64 receivable = 0;
    for (const LineSums& s : t.group)
        receivable += s.payamt;
    const double total = formatMask(double(receivable), "0").toDouble();
    const double net = formatMask(double(receivable) / gross, "0").toDouble();
    run.setCaption("t3", formatMask(total, "#,###,##0"));
    run.setCaption("t2", formatMask(total - net, "#,###,##0"));
    run.setCaption("t1", formatMask(net, "#,###,##0"));
}

} // namespace

Layout br010Layout(const Br010Titles& titles) {
    Layout layout;
    layout.page = chargeLayout::portraitPage();
    Band title = pageHeader();
    Band lines = detail();
    Band totalsBand = summary();
    auto totals = std::make_shared<FuelTotals>();

    layout.beforeStart = [totals, titles](ReportRun& run) {
        *totals = FuelTotals();
        chargeLayout::setGrouping(run, titles.params.order, titles.params.pageBreak,
                                  {"wdate", "car_no", "comp_no"});
        for (int i = 1; i <= 8; ++i)
            for (int c = 1; c <= 3; ++c)
                run.setCaption(QStringLiteral("t%1%2").arg(i).arg(c), {});
        for (const char* t : {"t1", "t2", "t3"})
            run.setCaption(t, {});
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
        line.discount = run.field("disamt").toInt();
        line.payamt = run.field("payamt").toInt();
        totals->add(run.field("product_id").toText(), line);
    };
    totalsBand.beforePrint = [totals, titles](ReportRun& run) {
        chargeLayout::showSums(run, "q", totals->all);
        for (int g = 0; g < 5; ++g)
            chargeLayout::showSums(run, QStringLiteral("q%1").arg(g),
                                   totals->group[std::size_t(g)]);
        invoiceSummary(run, *totals, titles.taxRate);
        return true;
    };
    layout.bands = {title, chargeLayout::groupBand(), lines, chargeLayout::subtotalBand("disamt"),
                    totalsBand};
    return layout;
}
