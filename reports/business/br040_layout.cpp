#include "reports/business/br040_layout.h"

#include "reports/common/number_mask.h"
#include "reports/common/report_renderer.h"

using namespace rpt;

namespace {

constexpr Align L = Align::Left, R = Align::Right;
constexpr int heading = 14;   // the headings' 11 points, a hair smaller so that four fit a column
constexpr int value = 13;     // 10 points
constexpr double width = 198; // the band between the margins
constexpr double dateRule = 16.9;

// A column of the two lines: its heading, the work table's column and where both go.
struct Column {
    const char* heading;
    double headingLeft;
    const char* field;
    double left;
    const char* mask;
};
constexpr double wideLeft1 = 146.8, wideLeft2 = 164.3; // the two 15.1 mm wide fields
const Column line1[] = {
    {"九二進油", 17.5, "iqty2", 17.5, "#"},          {"超柴進油", 33.3, "iqty3", 33.3, "#"},
    {"九五進油", 49.5, "iqty5", 49.5, "#"},          {"九八進油", 65.9, "iqty8", 65.9, "#"},
    {"九二發油", 82.3, "oqty2", 82.3, ".00"},        {"超柴發油", 97.9, "oqty3", 97.9, ".00"},
    {"九五發油", 114.6, "oqty5", 114.6, ".00"},      {"九八發油", 130.4, "oqty8", 130.4, ".00"},
    {"總發油量", 147.9, "oqtyt", wideLeft1, "0.00"}, {"總發油額", 165.4, "oamtt", wideLeft2, "#"},
};
const Column line2[] = {
    {"副產品", 20.6, "samt", 17.5, "#"},       {"洗車額", 37.0, "wamt", 33.3, "#"},
    {"總營業額", 49.5, "tamt", 49.5, "#"},     {"油票額", 69.3, "ticket", 65.9, "#"},
    {"簽帳額", 85.7, "sign", 82.3, "#"},       {"刷卡額", 101.3, "credit", 97.9, "#"},
    {"車隊卡", 118.0, "car", 114.6, "#"},      {"捷利卡", 133.6, "credit1", 130.4, "#"},
    {"試桶額", 151.3, "test", wideLeft1, "#"}, {"折讓額", 168.8, "disamt", wideLeft2, "#"},
    {"銀行存款", 182.3, "cash", 182.3, "#"},
};

double widthAt(double left) {
    return left == wideLeft1 || left == wideLeft2 ? 15.1 : 14.0;
}

Control valueControl(const QString& name, Kind kind, const QString& content, double top,
                     double left, const QString& mask) {
    Control c = kind == Kind::Field ? field(name, content, top, left, widthAt(left), R, mask, value)
                                    : label(name, content, top, left, widthAt(left), R, value);
    c.bold = true;
    return c;
}

// The two heading lines, at `top1` and `top2` of a band.
void addHeadings(Band& b, double top1, double top2, const QString& prefix) {
    int n = 1;
    for (const Column& c : line1)
        b.controls << label(prefix + QString::number(n++), QString::fromUtf8(c.heading), top1,
                            c.headingLeft, 16.0, L, heading);
    for (const Column& c : line2)
        b.controls << label(prefix + QString::number(n++), QString::fromUtf8(c.heading), top2,
                            c.headingLeft, 16.0, L, heading);
}

// The rule after the date and the rules between the two lines.
void addRules(Band& b, const QList<double>& between) {
    int n = 1;
    const QString prefix = b.name + QStringLiteral("Shape");
    b.controls << verticalLine(prefix + QString::number(n++), 0, dateRule, b.height);
    for (double y : between)
        b.controls << line(prefix + QString::number(n++), y, dateRule, width - dateRule);
}

Band pageHeader() {
    Band b = band(QStringLiteral("QRBand1"), BandKind::PageHeader, 18.5);
    b.controls = {
        centredLabel("QRL1", {}, 5.3, width / 2, heading + 1),
        centredLabel("QRLabel1", QStringLiteral("總營業月統計表"), 11.9, width / 2, heading + 1),
        label("QRLabel2", QStringLiteral("資料日期自:"), 11.9, 2.1, 23.0, L, value),
        label("QRL2", {}, 11.9, 25.4, 20.0, L, value),
        label("QRLabel3", QStringLiteral("至"), 11.9, 46.6, 5.0, L, value),
        label("QRL3", {}, 11.9, 53.2, 20.0, L, value),
        label("QRLabel4", QStringLiteral("印表日期:"), 11.9, 158.8, 17.0, L, value),
        printDate("QRSysData1", 11.9, 175.9, 21.0, value),
    };
    return b;
}

Band headings() {
    Band b = band(QStringLiteral("ChildBand1"), BandKind::Child, 15.9);
    b.parent = QStringLiteral("QRBand1");
    b.frame = {true, true, true, true};
    b.controls << label("QRLabel5", QStringLiteral("  日  期 "), 6.1, 1.9, 15.0, L, value);
    addHeadings(b, 2.1, 10.1, QStringLiteral("QRLabelH"));
    addRules(b, {7.9});
    return b;
}

Band dayRow() {
    Band b = band(QStringLiteral("QRBand2"), BandKind::Detail, 13.2);
    b.frame = {true, true, true, true};
    b.controls << field("QRDBText1", "tdate", 4.2, 2.1, 14.0, L, {}, value);
    int n = 2;
    for (const Column& c : line1)
        b.controls << valueControl(QStringLiteral("QRDBText%1").arg(n++), Kind::Field,
                                   QString::fromLatin1(c.field), 1.6, c.left,
                                   QString::fromLatin1(c.mask));
    for (const Column& c : line2)
        b.controls << valueControl(QStringLiteral("QRDBText%1").arg(n++), Kind::Field,
                                   QString::fromLatin1(c.field), 8.2, c.left,
                                   QString::fromLatin1(c.mask));
    addRules(b, {6.6});
    return b;
}

Band summary() {
    Band b = band(QStringLiteral("QRBand3"), BandKind::Summary, 29.1);
    b.frame = {true, true, true, true};
    addHeadings(b, 2.1, 10.1, QStringLiteral("QRLabelS"));
    b.controls << label("QRLabel6", QStringLiteral("合   計"), 13.2, 1.9, 14.0, L, heading);
    // SUM(column) of every column, as whole numbers: the totals of the build, exact.
    for (const Column& c : line1)
        b.controls << valueControl(QStringLiteral("SUM_%1").arg(QLatin1String(c.field)),
                                   Kind::Label, {}, 16.9, c.left, {});
    for (const Column& c : line2)
        b.controls << valueControl(QStringLiteral("SUM_%1").arg(QLatin1String(c.field)),
                                   Kind::Label, {}, 23.5, c.left, {});
    addRules(b, {7.9, 15.9, 22.5});
    return b;
}

// The totals by column name, formatted as the summary prints them.
QList<QPair<QString, QString>> totalCaptions(const Br040Day& t) {
    const Decimal values[] = {
        t.received[0], t.received[1], t.received[2], t.received[3], t.sold[0],   t.sold[1],
        t.sold[2],     t.sold[3],     t.soldTotal,   t.fuelSales,   t.goods,     t.carWash,
        t.revenue,     t.tickets,     t.charges,     t.bankCards,   t.fleetCard, t.jieliCard,
        t.tests,       t.discounts,   t.cash};
    QList<QPair<QString, QString>> captions;
    const Decimal* next = values;
    auto add = [&](const Column& c) {
        captions.append({QStringLiteral("SUM_%1").arg(QLatin1String(c.field)),
                         formatMask((next++)->toDouble(), QStringLiteral("#"))});
    };
    for (const Column& c : line1)
        add(c);
    for (const Column& c : line2)
        add(c);
    return captions;
}

} // namespace

Layout br040Layout(const Br040Report& report) {
    Layout layout;
    layout.page.width = 210;
    layout.page.length = 279.4;
    layout.page.top = 10;
    layout.page.bottom = 10;
    layout.page.left = 6;
    layout.page.right = 6;
    Band title = pageHeader();
    Band totals = summary();
    const QString station = report.station, start = report.start, end = report.end;
    title.beforePrint = [station, start, end](ReportRun& run) {
        run.setCaption("QRL1", station);
        run.setCaption("QRL2", start);
        run.setCaption("QRL3", end);
        return true;
    };
    const QList<QPair<QString, QString>> captions = totalCaptions(report.totals);
    totals.beforePrint = [captions](ReportRun& run) {
        for (const auto& [name, text] : captions)
            run.setCaption(name, text);
        return true;
    };
    layout.bands = {title, headings(), dayRow(), totals};
    return layout;
}
