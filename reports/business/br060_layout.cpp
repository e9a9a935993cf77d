#include "reports/business/br060_layout.h"

#include "reports/common/number_mask.h"
#include "reports/common/report_renderer.h"

#include <memory>

using namespace rpt;

namespace {

constexpr Align L = Align::Left, R = Align::Right;
constexpr int text11 = 15;        // 11 points
constexpr int caption12 = 16;     // 12 points
constexpr double bodyWidth = 196; // between the margins

Band pageHeader() {
    Band b = band(QStringLiteral("QRBand1"), BandKind::PageHeader, 19.1);
    b.controls = {
        centredLabel("QRL1", {}, 4.0, bodyWidth / 2, caption12),
        centredLabel("QRLabel1", QStringLiteral("副產品進銷存明細表"), 11.9, bodyWidth / 2,
                     caption12),
        label("QRLabel2", QStringLiteral("資料月份:"), 11.9, 2.1, 20.0, L, caption12),
        label("QRL2", {}, 11.9, 22.8, 20.0, L, caption12),
        label("QRLabel3", QStringLiteral("印表日期:"), 11.9, 152.4, 19.3, L, caption12),
        printDate("QRSysData1", 11.9, 171.7, 24.0, caption12),
    };
    return b;
}

Band headings() {
    Band b = band(QStringLiteral("ChildBand1"), BandKind::Child, 12.7);
    b.parent = QStringLiteral("QRBand1");
    b.frame = {true, true, true, true};
    b.controls = {
        label("QRLabel4", QStringLiteral("產品名稱"), 4.8, 18.8, 20.0, L, text11),
        label("QRLabel5", QStringLiteral("期初存貨"), 1.6, 54.2, 16.0, L, text11),
        label("QRLabel6", QStringLiteral("進        貨"), 1.6, 80.7, 22.0, L, text11),
        label("QRLabel7", QStringLiteral("銷      貨"), 1.6, 127.8, 20.0, L, text11),
        label("QRLabel8", QStringLiteral("期末存貨"), 1.6, 163.5, 16.0, L, text11),
        label("QRLabel9", QStringLiteral("數      量"), 7.4, 54.8, 16.0, L, text11),
        label("QRLabel10", QStringLiteral("數    量"), 7.4, 73.0, 14.0, L, text11),
        label("QRLabel11", QStringLiteral("金    額"), 7.4, 88.6, 14.0, L, text11),
        label("QRLabel12", QStringLiteral("數    量"), 7.4, 104.8, 14.0, L, text11),
        label("QRLabel13", QStringLiteral("金    額"), 7.4, 120.7, 14.0, L, text11),
        label("QRLabel14", QStringLiteral("毛    利"), 7.4, 136.5, 14.0, L, text11),
        label("QRLabel15", QStringLiteral("調整"), 7.4, 153.2, 9.0, L, text11),
        label("QRLabel16", QStringLiteral("數    量"), 7.4, 165.1, 13.0, L, text11),
        label("QRLabel17", QStringLiteral("金    額"), 7.4, 181.5, 14.0, L, text11),
        line("QRShape1", 6.3, 52.9, bodyWidth - 52.9),
    };
    int n = 0;
    for (double x : {52.9, 71.4, 103.2, 150.8})
        b.controls << verticalLine(QStringLiteral("QRShapeH%1").arg(++n), 0, x, 12.7);
    return b;
}

Band detail() {
    Band b = band(QStringLiteral("QRBand2"), BandKind::Detail, 7.4);
    b.frame.bottom = b.frame.left = b.frame.right = true;
    const double top = 1.2;
    b.controls = {
        field("QRDBText1", "product_name", top, 1.9, 48.7, L, {}, text11),
        field("QRDBText2", "bqty", top, 54.8, 15.3, R, "###,###", text11),
        field("QRDBText3", "iqty", top, 72.8, 13.2, R, "###,###", text11),
        field("QRDBText4", "iamt", top, 88.6, 13.2, R, "#,###,###", text11),
        field("QRDBText5", "oqty", top, 104.5, 13.2, R, "###,###", text11),
        field("QRDBText6", "oamt", top, 120.4, 13.2, R, "#,###,###", text11),
        field("QRDBText7", "eamt", top, 136.3, 13.2, R, "#,###,###", text11),
        field("QRDBText8", "dqty", top, 152.1, 9.5, R, "#,###,###", text11),
        field("QRDBText9", "sqty", top, 164.0, 13.2, R, "###,###", text11),
        field("QRDBText10", "samt", top, 179.4, 15.3, R, "#,###,###", text11),
    };
    int n = 0;
    for (double x : {52.9, 71.4, 87.3, 103.2, 119.1, 134.9, 150.8, 162.7, 178.6})
        b.controls << verticalLine(QStringLiteral("QRShapeD%1").arg(++n), 0, x, 7.4);
    return b;
}

Control bold(Control c) {
    c.bold = true;
    return c;
}

Band summary() {
    Band b = band(QStringLiteral("QRBand3"), BandKind::Summary, 7.4);
    b.frame.bottom = b.frame.left = b.frame.right = true;
    const double top = 1.2;
    b.controls = {
        label("QRLabel18", QStringLiteral("合        計"), top, 18.8, 30.0, L, text11),
        bold(label("tiamt", {}, top, 72.8, 29.1, R, text11)),
        bold(label("toamt", {}, top, 105.8, 27.8, R, text11)),
        bold(label("teamt", {}, top, 136.3, 13.2, R, text11)),
        bold(label("tsamt", {}, top, 152.1, 42.6, R, text11)),
    };
    int n = 0;
    for (double x : {52.9, 71.4, 103.2, 150.8})
        b.controls << verticalLine(QStringLiteral("QRShapeS%1").arg(++n), 0, x, 7.4);
    return b;
}

// The running totals of the purchase value, the sales, the gross profit and the closing value.
struct Totals {
    qint64 iamt = 0, oamt = 0, eamt = 0, samt = 0;
};

// A total as the summary prints it: only when it is above zero.
QString positive(qint64 total) {
    return total > 0 ? formatMask(double(total), QStringLiteral("#,###,###")) : QString();
}

} // namespace

Layout br060Layout(const Br060Titles& titles) {
    Layout layout;
    layout.page.width = 210;
    layout.page.length = 279.4;
    layout.page.top = 10;
    layout.page.bottom = 5;
    layout.page.left = 7;
    layout.page.right = 7;
    Band title = pageHeader();
    Band lines = detail();
    Band totalsBand = summary();
    auto totals = std::make_shared<Totals>();

    layout.beforeStart = [totals](ReportRun&) { *totals = Totals(); };
    title.beforePrint = [titles](ReportRun& run) {
        run.setCaption("QRL1", titles.station);
        run.setCaption("QRL2", titles.params.start.left(7));
        return true;
    };
    lines.afterPrint = [totals](ReportRun& run) {
        totals->iamt += run.field("iamt").toInt();
        totals->oamt += run.field("oamt").toInt();
        totals->eamt += run.field("eamt").toInt();
        totals->samt += run.field("samt").toInt();
    };
    totalsBand.beforePrint = [totals](ReportRun& run) {
        run.setCaption("tiamt", positive(totals->iamt));
        run.setCaption("toamt", positive(totals->oamt));
        run.setCaption("teamt", positive(totals->eamt));
        run.setCaption("tsamt", positive(totals->samt));
        return true;
    };
    layout.bands = {title, headings(), lines, totalsBand};
    return layout;
}
