#include "fuel/br070_layout.h"

#include "reports/common/report_renderer.h"

using namespace rpt;

namespace {

constexpr Align L = Align::Left, R = Align::Right;
constexpr int textPixels = 15, headingPixels = 16;
constexpr double centre = 98.0; // of the printable width, 210 less 7 and 7

Control text(const char* name, const char* caption, double top, double left, double width,
             int pixels = textPixels) {
    return label(QString::fromLatin1(name), QString::fromUtf8(caption), top, left, width, L,
                 pixels);
}

Band pageHeader() {
    Band b = band(QStringLiteral("QRBand1"), BandKind::PageHeader, 18.5);
    b.controls = {
        label("QRL5", {}, 2.0, 6.1, 19.5, L, textPixels),
        label("QRL4", {}, 2.0, 25.9, 20.0, L, textPixels),
        centredLabel("QRL1", {}, 2.0, centre, textPixels),
        text("QRLabel1", "資料日期自:", 10.0, 2.1, 23.0),
        label("QRL2", {}, 10.0, 25.4, 21.0, L, textPixels),
        text("QRLabel2", "至", 10.0, 46.6, 5.0),
        label("QRL3", {}, 10.0, 53.2, 21.0, L, textPixels),
        centredLabel("QRLabel3", QStringLiteral("油槽進銷存報表"), 10.0, centre, textPixels),
        text("QRLabel4", "印表日期:", 10.0, 152.4, 19.0),
        printDate("QRSysData1", 10.0, 171.7, 22.0, textPixels),
    };
    return b;
}

Band columnHeadings() {
    Band b = band(QStringLiteral("ChildBand1"), BandKind::Child, 7.4);
    b.parent = QStringLiteral("QRBand1");
    b.frame = {true, true, true, true};
    const double top = 1.3;
    b.controls = {
        text("QRLabel5", "  日  期 ", top, 2.1, 19.5, headingPixels),
        text("QRLabel6", "油槽代號及名稱", top, 22.0, 50.0, headingPixels),
        text("QRLabel7", "前日存量", top, 73.3, 17.2, headingPixels),
        text("QRLabel8", "本日進油", top, 94.7, 17.2, headingPixels),
        text("QRLabel9", "本日發油", top, 116.4, 17.2, headingPixels),
        text("QRLabel10", "本日存量", top, 137.1, 17.2, headingPixels),
        text("QRLabel11", "液面計量", top, 158.5, 17.2, headingPixels),
        text("QRLabel12", "誤差值", top, 179.4, 13.0, headingPixels),
    };
    return b;
}

Band detail() {
    Band b = band(QStringLiteral("Detail"), BandKind::Detail, 7.1);
    b.frame.left = b.frame.right = b.frame.bottom = true;
    const double top = 1.2;
    const QString mask = QStringLiteral("##,##0.00");
    b.controls = {
        field("QRDBText1", "tdate", top, 2.1, 19.5, L, {}, textPixels),
        field("QRDBText2", "tank", top, 22.2, 10.8, L, {}, textPixels),
        field("QRDBText3", "name", top, 34.1, 37.6, L, {}, textPixels),
        field("QRDBText4", "bqty", top, 73.3, 17.2, R, mask, textPixels),
        field("QRDBText5", "iqty", top, 94.7, 17.2, R, mask, textPixels),
        field("QRDBText6", "oqty", top, 116.4, 17.2, R, mask, textPixels),
        field("QRDBText7", "sqty", top, 137.1, 17.2, R, mask, textPixels),
        field("QRDBText8", "rqty", top, 158.5, 17.2, R, mask, textPixels),
        field("QRDBText9", "dqty", top, 179.4, 13.0, R, QStringLiteral("###,###"), textPixels),
    };
    return b;
}

} // namespace

Layout br070Layout(const Br070Titles& titles) {
    Layout layout;
    layout.page.top = 10;
    layout.page.bottom = 10;
    layout.page.left = 7;
    layout.page.right = 7;
    Band title = pageHeader();
    title.beforePrint = [titles](ReportRun& run) {
        run.setCaption("QRL1", titles.station);
        run.setCaption("QRL2", titles.params.start);
        run.setCaption("QRL3", titles.params.end);
        run.setCaption("QRL5", titles.gaugeBasis ? QStringLiteral("前日存量=") : QString());
        run.setCaption("QRL4", titles.gaugeBasis ? QStringLiteral("液面計量") : QString());
        return true;
    };
    // Each tank on pages of its own, its table closed by a line.
    Band group = band(QStringLiteral("QRGroup1"), BandKind::GroupHeader, 0.5);
    group.expression = QStringLiteral("tank");
    group.footer = QStringLiteral("GroupFooter1");
    group.forceNewPage = true;
    Band footer = band(QStringLiteral("GroupFooter1"), BandKind::GroupFooter, 0.3);
    footer.frame.top = true;
    Band pageFooter = band(QStringLiteral("PageFooter1"), BandKind::PageFooter, 0);
    layout.bands = {title, columnHeadings(), group, detail(), footer, pageFooter};
    return layout;
}
