#include "charge/br020_layout.h"

#include "charge/charge_layout.h"
#include "reports/common/report_renderer.h"

using namespace rpt;

namespace {

constexpr Align R = Align::Right;
constexpr double tableWidth = 267.2; // the ruled table's right edge

Band pageHeader() {
    Band b = band(QStringLiteral("QRBand1"), BandKind::PageHeader, 18.0);
    b.controls = {
        centredLabel("QRL1", {}, 5.3, 136.7),
        label("QRLabel8", QStringLiteral("單位:"), 5.3, 233.6, 9.8),
        label("MAPrice", QStringLiteral("新台幣元"), 5.3, 244.7, 17.2),
        label("QRLabel4", QStringLiteral("資料年月:"), 11.9, 2.1, 18.3),
        label("QRL2", {}, 11.9, 24.1, 17.2, Align::Left, 15),
        label("QRLabel24", QStringLiteral("至"), 11.9, 45.8, 4.5),
        label("QRL3", {}, 11.9, 53.2, 17.2, Align::Left, 15),
        label("QRL4", {}, 11.9, 74.3, 13.0),
        label("QRLabel1", QStringLiteral("簽帳統計表"), 11.9, 124.9, 21.4),
        label("QRLabel2", QStringLiteral("印表日期:"), 11.9, 225.7, 18.3),
        printDate("QRSysData1", 11.9, 245.0, 10.6, 16),
    };
    return b;
}

// The two-row ruled heading: a block per fuel with its litres and amount below it.
Band columnHeading() {
    Band b = band(QStringLiteral("ChildBand1"), BandKind::Child, 12.7);
    b.parent = QStringLiteral("QRBand1");
    b.controls = {
        line("QRShape1", 0.0, 0.0, tableWidth),
        line("QRShape2", 12.4, 0.0, tableWidth),
        line("QRShape3", 6.3, 47.6, tableWidth - 47.6),
        verticalLine("QRShape4", 0.0, 0.0, 12.7),
        label("QRLabel3", QStringLiteral("公 司 名 稱"), 4.0, 13.8, 33.8),
    };
    struct Block {
        double left, right;
        const char* caption;
        double captionLeft;
    };
    const Block blocks[] = {
        {47.6, 90.0, "超 級 柴 油", 60.9},    {90.0, 127.0, "九 二 無 鉛", 97.9},
        {127.0, 169.3, "九 五 無 鉛", 137.6}, {169.3, 206.4, "九 八 無 鉛", 177.3},
        {206.4, 224.9, "副品/折扣", 206.6},   {224.9, 267.2, "小      計", 238.1}};
    int n = 50;
    for (const Block& k : blocks) {
        ++n;
        b.controls << verticalLine(QStringLiteral("QRShape%1").arg(n), 0.0, k.left, 12.7)
                   << label(QStringLiteral("QRLabel%1").arg(n), QString::fromUtf8(k.caption), 1.1,
                            k.captionLeft, k.right - k.captionLeft);
    }
    b.controls << verticalLine(QStringLiteral("QRShape%1").arg(++n), 0.0, tableWidth, 12.7);
    // The lower row: litres and amount, or the amount alone under 副品/折扣.
    struct Cell {
        double left, right;
        const char* caption;
    };
    const Cell cells[] = {
        {50.5, 68.8, "數      量"},   {70.4, 90.0, "金      額"},   {91.5, 108.5, "數      量"},
        {109.8, 127.0, "金      額"}, {129.6, 148.2, "數      量"}, {150.8, 169.3, "金      額"},
        {170.7, 187.9, "數      量"}, {190.5, 206.4, "金      額"}, {208.0, 224.9, "金      額"},
        {227.5, 246.1, "數      量"}, {249.2, 267.2, "金      額"}};
    for (const Cell& c : cells)
        b.controls << label(QStringLiteral("QRLabel%1").arg(++n), QString::fromUtf8(c.caption), 7.4,
                            c.left, c.right - c.left);
    for (double x : {68.8, 108.5, 148.2, 187.9, 246.1})
        b.controls << verticalLine(QStringLiteral("QRShape%1").arg(++n), 6.3, x, 6.4);
    return b;
}

// The figures of a company, or their sums: name, then per column its left edge, width, mask.
struct Column {
    const char* field;
    const char* name;    // the detail field
    const char* sumName; // the summary's expression
    double left, width;
    const char* mask;
};
const Column columns[] = {
    {"qty300", "QRDBText4", "QRExpr2", 48.9, 18.5, "#,###,##0.00"},
    {"amt300", "QRDBText5", "QRExpr1", 70.1, 18.0, "#,###,##0"},
    {"qty200", "QRDBText1", "QRExpr3", 90.8, 17.2, "#,###,##0.00"},
    {"amt200", "QRDBText3", "QRExpr4", 109.3, 17.2, "#,###,##0"},
    {"qty500", "QRDBText10", "QRExpr5", 128.3, 18.5, "#,###,##0.00"},
    {"amt500", "QRDBText6", "QRExpr6", 149.5, 18.0, "#,###,##0"},
    {"qty800", "QRDBText11", "QRExpr7", 170.1, 17.2, "#,###,##0.00"},
    {"amt800", "QRDBText7", "QRExpr8", 188.6, 17.2, "#,###,##0"},
    {"amtsub", "QRDBText8", "QRExpr9", 207.7, 15.9, "#,###,##0"},
    {"qtytot", "QRDBText12", "QRExpr10", 226.2, 18.5, "#,###,##0.00"},
    {"amttot", "QRDBText9", "QRExpr11", 247.4, 18.0, "#,###,##0"},
};

// A ruled row of the table: the left frame, the line under it and the column rules.
Band ruledRow(const QString& name, BandKind kind) {
    Band b = band(name, kind, 7.4);
    b.controls << verticalLine(name + QStringLiteral("L"), 0.0, 0.0, 7.4)
               << line(name + QStringLiteral("B"), 7.1, 0.0, tableWidth);
    int n = 0;
    for (double x :
         {47.6, 68.8, 90.0, 108.5, 127.0, 148.2, 169.3, 187.9, 206.4, 224.9, 246.1, tableWidth})
        b.controls << verticalLine(name + QStringLiteral("V%1").arg(++n), 0.0, x, 7.4);
    return b;
}

Band detail() {
    Band b = ruledRow(QStringLiteral("QRBand2"), BandKind::Detail);
    b.controls << field("QRDBText13", "comp_no", 2.1, 1.3, 13.5)
               << field("QRDBText2", "comp_name", 2.1, 15.9, 30.7);
    for (const Column& c : columns)
        b.controls << field(c.name, c.field, 2.1, c.left, c.width, R, c.mask);
    return b;
}

Band summary() {
    Band b = ruledRow(QStringLiteral("QRBand3"), BandKind::Summary);
    b.controls << label("QRLabel40", QStringLiteral("合      計 "), 1.6, 16.4, 30.0);
    for (const Column& c : columns)
        b.controls << sum(c.sumName, c.field, 1.6, c.left, c.width, c.mask, R);
    return b;
}

} // namespace

Layout br020Layout(const Br020Titles& titles) {
    Layout layout;
    layout.page.width = 210;
    layout.page.length = 297;
    layout.page.landscape = true;
    layout.page.top = 10;
    layout.page.bottom = 10;
    layout.page.left = 6;
    layout.page.right = 6;
    Band title = pageHeader();
    title.beforePrint = [titles](ReportRun& run) {
        chargeLayout::fillTitle(run, titles.station, titles.params.start, titles.params.end,
                                titles.params.basis);
        return true;
    };
    layout.bands = {title, columnHeading(), detail(), summary()};
    return layout;
}
