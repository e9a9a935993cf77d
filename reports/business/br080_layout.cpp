#include "reports/business/br080_layout.h"

#include "db/query.h"
#include "reports/common/report_renderer.h"

#include <memory>

using namespace rpt;

namespace {

constexpr Align L = Align::Left, R = Align::Right;
constexpr int caption12 = 16;       // captions at 12 points
constexpr int data10 = 13;          // data at 10 points
constexpr double bodyWidth = 199.9; // between the margins

Band pageHeader() {
    Band b = band(QStringLiteral("QRBand1"), BandKind::PageHeader, 29.6);
    b.frame.bottom = true;
    b.controls = {
        centredLabel("QRL1", {}, 4.0, bodyWidth / 2, caption12),
        centredLabel("QRLabel1", {}, 10.6, bodyWidth / 2, caption12),
        label("QRLabel2", QStringLiteral("印表日期 :"), 10.6, 158.0, 19.0, L, caption12),
        printDate("QRSysData1", 10.6, 177.0, 22.9, caption12),
        label("QRLabel3", QStringLiteral("資料日期 :"), 17.2, 6.9, 21.0, L, caption12),
        label("QRL2", {}, 17.2, 28.0, 21.0, L, caption12),
        label("QRLabel4", QStringLiteral("至"), 17.2, 49.7, 5.0, L, caption12),
        label("QRL3", {}, 17.2, 57.1, 21.0, L, caption12),
        label("QRL4", {}, 17.2, 90.2, 22.0, L, caption12),
        label("QRLabel5", QStringLiteral("頁        次 :"), 17.2, 158.0, 18.0, L, caption12),
        pageNumber("QRSysData2", 17.2, 176.7, 13.0, R, caption12),
        line("QRShape1", 22.5, 0.0, bodyWidth),
        label("QRLabel6", QStringLiteral("日期"), 23.8, 6.3, 10.0, L, caption12),
        label("QRLabel8", QStringLiteral("發票號碼"), 23.8, 39.7, 20.0, L, caption12),
        label("QRLabel7", QStringLiteral("產品代號"), 23.8, 80.7, 20.0, L, caption12),
        label("QRLabel9", QStringLiteral("贈品名稱"), 23.8, 109.8, 20.0, L, caption12),
        label("QRLabel10", QStringLiteral("數量"), 23.8, 182.3, 10.0, L, caption12),
    };
    return b;
}

Band detail() {
    Band b = band(QStringLiteral("Detail"), BandKind::Detail, 6.3);
    b.controls = {
        field("QRDBText1", "tdate", 1.0, 6.3, 30.0, L, {}, data10),
        field("QRDBText2", "invoice", 1.0, 39.7, 38.0, L, {}, data10),
        field("QRDBText3", "product_id", 1.0, 80.7, 27.0, L, {}, data10),
        field("QRDBText4", "name", 1.0, 109.8, 60.0, L, {}, data10),
        field("QRDBText5", "qty", 1.0, 174.9, 16.1, R, QStringLiteral("##,##0"), data10),
    };
    return b;
}

Band totalsHeader() {
    Band b = band(QStringLiteral("QRBand3"), BandKind::GroupHeader, 6.6);
    b.frame.top = true;
    b.controls = {label("QRLabel11", QStringLiteral("合計 :"), 1.0, 39.7, 15.0, L, caption12)};
    return b;
}

Band totalsRows() {
    Band b = band(QStringLiteral("QRSubDetail1"), BandKind::SubDetail, 6.3);
    b.header = QStringLiteral("QRBand3");
    b.footer = QStringLiteral("QRBand4");
    b.controls = {
        field("QRDBText6", "product_id", 1.0, 80.7, 27.0, L, {}, data10),
        field("QRDBText7", "name", 1.0, 109.8, 60.0, L, {}, data10),
        field("QRDBText8", "qty", 1.0, 174.9, 16.1, R, QStringLiteral("##,##0"), data10),
    };
    return b;
}

// The rows of the layout noted when it starts, and the rows printed so far: the totals wait
// for the last row.
struct Count {
    int rows = 0;
    int printed = 0;
};

} // namespace

Layout br080Layout(const Br080Titles& titles) {
    Layout layout;
    layout.page.width = 210.06;
    layout.page.length = 279.4;
    layout.page.top = 9.91;
    layout.page.bottom = 5.08;
    layout.page.left = 5.08;
    layout.page.right = 5.08;

    Band title = pageHeader();
    Band group = band(QStringLiteral("QRGroup1"), BandKind::GroupHeader, 0.5);
    group.footer = QStringLiteral("GrooupFooter1");
    Band lines = detail();
    Band after = band(QStringLiteral("QRChildBand1"), BandKind::Child, 0.5);
    after.parent = lines.name;
    Band groupRule = band(QStringLiteral("GrooupFooter1"), BandKind::GroupFooter, 0.3);
    groupRule.frame.top = true;
    Band totalsFooter = band(QStringLiteral("QRBand4"), BandKind::GroupFooter, 0.3);
    Band pageFooter = band(QStringLiteral("QRBand2"), BandKind::PageFooter, 0);
    auto count = std::make_shared<Count>();

    layout.beforeStart = [count, titles](ReportRun& run) {
        const bool pageBreak = titles.params.pageBreak == QLatin1String("Y");
        Band& g = run.band("QRGroup1");
        g.expression =
            titles.params.byDate() ? QStringLiteral("tdate") : QStringLiteral("product_id");
        g.forceNewPage = pageBreak;
        run.band("QRBand3").forceNewPage = pageBreak;
        count->rows = run.data().recordCount();
        count->printed = 0;
        for (const char* name : {"QRBand3", "QRBand4", "QRSubDetail1"})
            run.band(name).enabled = false;
    };
    title.beforePrint = [titles](ReportRun& run) {
        const Br080Params& p = titles.params;
        run.setCaption("QRL1", titles.station);
        run.setCaption("QRL2", p.start);
        run.setCaption("QRL3", p.end);
        run.setCaption("QRL4", p.basis.startsWith(QLatin1Char('1')) ? QString()
                                                                    : QStringLiteral("(交易日)"));
        if (p.detail()) {
            run.setCaption("QRLabel1", QStringLiteral("贈品資料明細表"));
        } else {
            run.setCaption("QRLabel1", QStringLiteral("贈品資料統計表"));
            run.setCaption("QRLabel8", {}); // statistics rows have no invoice
        }
        return true;
    };
    lines.beforePrint = [count](ReportRun&) {
        ++count->printed;
        return true;
    };
    after.afterPrint = [count](ReportRun& run) {
        if (count->printed != count->rows) return;
        for (const char* name : {"QRBand3", "QRBand4", "QRSubDetail1"})
            run.band(name).enabled = true;
    };
    layout.bands = {title,          group,        lines,        after,     groupRule,
                    totalsHeader(), totalsRows(), totalsFooter, pageFooter};
    return layout;
}
