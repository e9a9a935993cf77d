#include "charge/charge_layout.h"

#include "app/product_codes.h"
#include "reports/common/number_mask.h"
#include "reports/common/report_renderer.h"

using namespace rpt;

namespace chargeLayout {

PageSetup portraitPage() {
    PageSetup page;
    page.width = 210.06;
    page.length = 279.4;
    page.top = 5;
    page.bottom = 20;
    page.left = 5;
    page.right = 5;
    return page;
}

Band groupBand() {
    Band group = band(QStringLiteral("QRGroup1"), BandKind::GroupHeader, 0);
    group.footer = QStringLiteral("GrooupFooter1");
    return group;
}

void setGrouping(ReportRun& run, const QString& order, const QString& pageBreak,
                 const std::array<QString, 3>& columns) {
    const int choice = order.isEmpty() ? 0 : order.at(0).unicode() - '0';
    Band& g = run.band("QRGroup1");
    g.expression = choice >= 1 && choice <= 3 ? columns[std::size_t(choice - 1)] : QString();
    const bool newPage = pageBreak == QLatin1String("Y");
    g.forceNewPage = newPage;
    run.band("QRBand3").forceNewPage = newPage;
}

Band titleBand(const QString& title, const QList<Control>& headings) {
    Band b = band(QStringLiteral("QRBand1"), BandKind::PageHeader, 29.6);
    b.frame.bottom = true;
    b.controls = {
        centredLabel("QRL1", {}, 4.0, 94.4),
        label("QRLabel1", title, 10.6, 79.6, 29.9, Align::Centre),
        label("QRLabel2", QStringLiteral("印表日期 :"), 10.6, 154.0, 19.3),
        printDate("QRSysData1", 10.6, 173.0, 10.6, 16),
        label("QRLabel3", QStringLiteral("資料日期 :"), 17.2, 2.9, 19.3),
        label("QRL2", {}, 17.2, 24.1, 19.3),
        label("QRLabel4", QStringLiteral("至"), 17.2, 51.1, 4.5),
        label("QRL3", {}, 17.2, 57.1, 19.3),
        label("QRL4", {}, 17.2, 86.3, 13.0),
        label("QRLabel5", QStringLiteral("頁        次 :"), 17.2, 154.0, 19.3),
        pageNumber("QRSysData2", 17.2, 172.8, 13.0, Align::Right, 16),
        line("QRShape2", 22.5, 0.0, 200.0),
    };
    b.controls << headings;
    return b;
}

QList<Control> figureHeadings() {
    return {
        label("QRLabel9", QStringLiteral("產品名稱"), 23.8, 97.6, 17.2),
        label("QRLabel16", QStringLiteral("單價"), 23.8, 119.6, 8.7),
        label("QRLabel10", QStringLiteral("數量"), 23.8, 137.3, 8.7),
        label("QRLabel11", QStringLiteral("金額"), 23.8, 153.7, 8.7),
        label("QRLabel32", QStringLiteral("折扣"), 23.8, 169.6, 8.7),
        label("QRLabel13", QStringLiteral("應收金額"), 23.8, 181.5, 17.2),
    };
}

QList<Control> figureFields(const QString& productName, const QString& discount) {
    constexpr Align R = Align::Right;
    return {
        field("QRDBText6", productName, 1.1, 97.6, 20.4),
        field("QRDBText10", "price", 1.1, 119.6, 8.7, R, "##,##0.00"),
        field("QRDBText7", "qty", 1.1, 129.9, 16.1, R, "##,##0.00"),
        field("QRDBText8", "amt", 1.1, 147.4, 15.3, R, "###,##0"),
        field("QRDBText11", discount, 1.1, 164.0, 14.3, R, "###,###"),
        field("QRDBText2", "payamt", 1.1, 179.9, 19.1, R, "#,###,##0"),
    };
}

void fillTitle(ReportRun& run, const QString& station, const QString& start, const QString& end,
               const QString& basis) {
    run.setCaption("QRL1", station);
    run.setCaption("QRL2", start);
    run.setCaption("QRL3", end);
    run.setCaption("QRL4",
                   basis.startsWith(QLatin1Char('1')) ? QString() : QStringLiteral("交易日"));
}

Band subtotalBand(const QString& discount) {
    Band b = band(QStringLiteral("GrooupFooter1"), BandKind::GroupFooter, 8.5);
    b.frame.top = true;
    b.controls = {
        label("QRLabel14", QStringLiteral("小        計 :"), 2.1, 53.4, 25.0, Align::Left, 13),
        sum("QRExpr1", "qty", 2.1, 125.7, 20.4, "###,##0.00"),
        sum("QRExpr2", "amt", 2.1, 147.4, 16.1, "#,###,##0"),
        sum("QRExpr3", discount, 2.1, 164.0, 14.0, "#,###,##0"),
        sum("QRExpr4", "payamt", 2.1, 179.9, 19.3, "#,###,##0"),
    };
    return b;
}

void LineSums::add(const LineSums& line) {
    count += line.count;
    qty += line.qty;
    amt += line.amt;
    discount += line.discount;
    payamt += line.payamt;
}

FuelTotals::Group fuelGroup(const QString& product) {
    if (product == products::Prod92) return FuelTotals::U92;
    if (product == products::ProdDiesel) return FuelTotals::Diesel;
    if (product == products::Prod95) return FuelTotals::U95;
    if (product == products::Prod98) return FuelTotals::U98;
    return FuelTotals::Other;
}

void FuelTotals::add(const QString& product, const LineSums& line) {
    all.add(line);
    group[std::size_t(fuelGroup(product))].add(line);
}

void addTotalsRow(Band& band, double top, const QString& captionName, const QString& caption,
                  double captionLeft, const QString& prefix) {
    const double columns[] = {125.7, 147.4, 164.0, 180.4};
    const double widths[] = {20.4, 16.1, 14.8, 18.3};
    band.controls << label(captionName, caption, top, captionLeft, 24.0, Align::Left, 13);
    for (int c = 0; c < 4; ++c)
        band.controls << label(prefix + QString::number(c + 1), {}, top, columns[c], widths[c],
                               Align::Right, 13);
}

void showSums(ReportRun& run, const QString& prefix, const LineSums& s) {
    run.setCaption(prefix + "1", formatMask(s.qty, "###,##0.00"));
    run.setCaption(prefix + "2", formatMask(double(s.amt), "##,###,##0"));
    run.setCaption(prefix + "3", formatMask(double(s.discount), "##,###,##0"));
    run.setCaption(prefix + "4", formatMask(double(s.payamt), "##,###,##0"));
}

} // namespace chargeLayout
