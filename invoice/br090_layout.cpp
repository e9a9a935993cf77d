#include "invoice/br090_layout.h"

#include "reports/common/report_renderer.h"

using namespace rpt;

namespace {

constexpr Align L = Align::Left, R = Align::Right;
constexpr double centre = 99.0; // the middle between the margins of the 210 mm page
constexpr int title = 15, lines = 16;

Band pageHeader() {
    Band b = band(QStringLiteral("QRBand1"), BandKind::PageHeader, 18.5);
    b.controls = {
        centredLabel("QRL1", {}, 1.5, centre, title),
        label("QRLabel2", QStringLiteral("資料日期自:"), 10.5, 10.1, 22.0, L, title),
        label("QRL2", {}, 10.5, 33.3, 20.5, L, title),
        label("QRLabel3", QStringLiteral("至"), 10.5, 54.5, 5.5, L, title),
        label("QRL3", {}, 10.5, 61.1, 20.5, L, title),
        centredLabel("QRLabel1", QStringLiteral("空白發票明細表"), 10.5, centre, title),
        label("QRLabel4", QStringLiteral("印表日期:"), 10.5, 150.8, 17.0, L, title),
        printDate("QRSysData1", 10.5, 168.0, 22.0, title),
    };
    return b;
}

Band headings() {
    Band b = band(QStringLiteral("ChildBand1"), BandKind::Child, 8.7);
    b.parent = QStringLiteral("QRBand1");
    b.frame = {true, true, true, true};
    b.controls = {
        label("QRLabel5", QStringLiteral("空白發票號碼"), 1.7, 9.8, 30.0, L, lines),
        label("QRLabel6", QStringLiteral("起"), 1.7, 60.1, 8.0, L, lines),
        label("QRLabel7", QStringLiteral("迄"), 1.7, 89.7, 8.0, L, lines),
        label("QRLabel8", QStringLiteral("張數"), 1.7, 169.3, 12.0, L, lines),
    };
    return b;
}

Band detail() {
    Band b = band(QStringLiteral("QRBand2"), BandKind::Detail, 6.6);
    b.frame = {true, true, true, true};
    b.controls = {
        field("QRDBText1", "tinv5", 0.6, 9.5, 30.0, L, {}, lines),
        field("QRDBText2", "tinv6", 0.6, 60.1, 15.0, L, {}, lines),
        field("QRDBText3", "tinv4", 0.6, 88.9, 15.0, L, {}, lines),
        field("QRDBText4", "cnt", 0.6, 162.5, 15.0, R, QStringLiteral("#"), lines),
    };
    return b;
}

} // namespace

Layout br090Layout(const Br090Titles& titles) {
    Layout layout;
    layout.page.width = 210;
    layout.page.length = 279.4;
    layout.page.top = 10;
    layout.page.bottom = 10;
    layout.page.left = 6;
    layout.page.right = 6;
    Band header = pageHeader();
    header.beforePrint = [titles](ReportRun& run) {
        run.setCaption("QRL1", titles.station);
        run.setCaption("QRL2", titles.params.start);
        run.setCaption("QRL3", titles.params.end);
        return true;
    };
    layout.bands = {header, headings(), detail()};
    return layout;
}
