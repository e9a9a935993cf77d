#include "fuel/br050_layout.h"

#include "app/product_codes.h"
#include "fuel/meter_line.h"
#include "reports/common/number_mask.h"
#include "reports/common/report_renderer.h"

#include <array>
#include <memory>

using namespace rpt;

namespace {

constexpr Align L = Align::Left, C = Align::Centre, R = Align::Right;
constexpr int titlePixels = 16, basePixels = 13;
constexpr double centre = 98.0; // of the printable width, 210 less 7 and 7

// The vertical rules between the columns of the headings and of every nozzle line.
const double rules[] = {26.5, 53.4, 81.0, 102.1, 127.5, 155.0, 174.1};

// Running totals of one printing: the four fuels, then all nozzles.
struct Sums {
    Decimal amount, volume;
    qint64 error = 0;
};
struct Totals {
    std::array<Sums, 4> fuel; // 92, diesel, 95, 98: the summary box's rows
    Sums all;
};

struct Fuel {
    const QString& product;
    const char* label;   // on the nozzle line
    const char* caption; // in the summary box
};
const std::array<Fuel, 4> fuels = {{{products::Prod92, "(92)", "九二無鉛"},
                                    {products::ProdDiesel, "(柴)", "超級柴油"},
                                    {products::Prod95, "(95)", "九五無鉛"},
                                    {products::Prod98, "(98)", "九八無鉛"}}};

int fuelOf(const QString& product) {
    for (std::size_t i = 0; i < fuels.size(); ++i)
        if (product == fuels[i].product) return int(i);
    return -1;
}

Control text(const char* name, const char* caption, double top, double left, double width,
             Align align = L) {
    return label(QString::fromLatin1(name), QString::fromUtf8(caption), top, left, width, align,
                 basePixels);
}

Band pageHeader() {
    Band b = band(QStringLiteral("QRBand1"), BandKind::PageHeader, 23.0);
    b.controls = {
        centredLabel("QRL1", {}, 1.0, centre, titlePixels),
        centredLabel("QRLabel1", QStringLiteral("油 錶 記 錄 起 迄 表"), 7.6, centre, titlePixels),
        text("QRLabel2", "資料日期:", 15.6, 2.9, 19.0),
        label("QRL2", {}, 15.6, 22.8, 23.8, C, basePixels),
        text("QRLabel3", "-", 15.6, 48.4, 2.5),
        label("QRL4", {}, 15.6, 51.6, 4.0, L, basePixels),
        text("QRLabel4", "至", 15.6, 59.8, 4.5),
        label("QRL3", {}, 15.6, 67.7, 23.8, L, basePixels),
        text("QRLabel5", "-", 15.6, 92.3, 2.5),
        label("QRL5", {}, 15.6, 95.2, 4.0, L, basePixels),
        text("QRLabel6", "製表日期:", 15.6, 147.9, 19.0),
        printDate("QRSysData1", 15.6, 168.3, 20.0, basePixels),
    };
    return b;
}

void addRules(Band& b) {
    int n = 0;
    for (double x : rules)
        b.controls << verticalLine(QStringLiteral("QRShapeV%1").arg(++n), 0, x, b.height);
    b.frame = {true, true, true, true};
}

Band columnHeadings() {
    Band b = band(QStringLiteral("ChildBand1"), BandKind::Child, 6.9);
    b.parent = QStringLiteral("QRBand1");
    b.controls = {
        text("QRLabel7", "油  槍", 1.3, 7.4, 18.0),
        text("QRLabel8", "金額 (OPEN) ", 1.3, 30.7, 22.0),
        text("QRLabel9", "金額 (CLOSE) ", 1.3, 57.1, 23.5),
        text("QRLabel10", "銷售金額", 1.3, 85.2, 16.5),
        text("QRLabel11", "數量 (OPEN) ", 1.3, 105.8, 21.5),
        text("QRLabel12", "數量 (CLOSE) ", 1.3, 131.2, 23.5),
        text("QRLabel13", "銷售數量", 1.3, 157.7, 16.0),
        text("QRLabel14", "誤  差", 1.3, 183.9, 12.0),
    };
    addRules(b);
    return b;
}

Band detail() {
    Band b = band(QStringLiteral("Detail"), BandKind::Detail, 5.8);
    const double top = 0.8;
    b.controls = {
        field("QRDBText1", "island", top, 1.6, 4.4, C),
        field("QRDBText2", "gun_no", top, 6.6, 4.4, C),
        label("QRLD4", {}, top, 15.6, 9.0, C, basePixels),
        field("QRDBText3", "start_amt", top, 27.5, 23.3, R, "##,###,##0"),
        // The closing readings are captions: a nozzle missing from the end shift leaves
        // them empty rather than printing nought.
        label("QRLNowAmt", {}, top, 54.4, 24.7, R, basePixels),
        label("QRLD1", {}, top, 82.0, 18.8, R, basePixels),
        field("QRDBText5", "start_qty", top, 103.1, 23.4, R, "##,###,##0.00"),
        label("QRLNowQty", {}, top, 128.5, 25.2, R, basePixels),
        label("QRLD2", {}, top, 156.0, 16.3, R, basePixels),
        label("QRLD3", {}, top, 175.1, 17.6, R, basePixels),
    };
    addRules(b);
    return b;
}

// The summary box: a heading row, the four fuels and the total, in four columns.
constexpr double boxTop = 4.0, boxWidth = 73.3, boxHeight = 37.8, rowHeight = boxHeight / 6;
const double boxColumns[] = {0.0, 18.0, 37.0, 58.2, boxWidth};

Control boxCell(const QString& name, const QString& caption, int row, int column, Align align) {
    const double left = boxColumns[column] + 0.8;
    const double width = boxColumns[column + 1] - boxColumns[column] - 1.6;
    return label(name, caption, boxTop + row * rowHeight + 1.0, left, width, align, basePixels);
}

Band summary() {
    Band b = band(QStringLiteral("SummaryBand1"), BandKind::Summary, 55.0);
    b.controls << box(QStringLiteral("QRShape1"), boxTop, 0, boxWidth, boxHeight);
    for (int row = 1; row < 6; ++row)
        b.controls << line(QStringLiteral("QRShapeH%1").arg(row), boxTop + row * rowHeight, 0,
                           boxWidth);
    for (int column = 1; column < 4; ++column)
        b.controls << verticalLine(QStringLiteral("QRShapeC%1").arg(column), boxTop,
                                   boxColumns[column], boxHeight);
    const char* headings[] = {"油  品", "銷 售 金 額", "銷 售 數 量", "誤  差"};
    for (int column = 0; column < 4; ++column)
        b.controls << boxCell(QStringLiteral("QRLabelH%1").arg(column + 1),
                              QString::fromUtf8(headings[column]), 0, column, C);
    for (int row = 1; row <= 5; ++row) {
        const QString caption = row <= 4 ? QString::fromUtf8(fuels[std::size_t(row - 1)].caption)
                                         : QStringLiteral("合  計");
        b.controls << boxCell(QStringLiteral("QRLabelF%1").arg(row), caption, row, 0, C);
        for (int column = 1; column < 4; ++column)
            b.controls << boxCell(QStringLiteral("s%1%2").arg(row).arg(column), {}, row, column, R);
    }
    return b;
}

QString closingReading(const Value& value, const char* mask) {
    return value.isNull() ? QString() : formatMask(value.toDouble(), QString::fromLatin1(mask));
}

void showSums(ReportRun& run, int row, const Sums& s, const char* amountMask) {
    const auto cell = [row](int column) { return QStringLiteral("s%1%2").arg(row).arg(column); };
    run.setCaption(cell(1), formatMask(s.amount.toDouble(), QString::fromLatin1(amountMask)));
    run.setCaption(cell(2), formatMask(s.volume.toDouble(), "###,##0.00"));
    run.setCaption(cell(3), formatMask(double(s.error), "###,###"));
}

} // namespace

Layout br050Layout(const Br050Titles& titles) {
    Layout layout;
    layout.page.top = 5;
    layout.page.bottom = 10;
    layout.page.left = 7;
    layout.page.right = 7;
    Band title = pageHeader();
    Band lines = detail();
    Band totalsBand = summary();
    auto totals = std::make_shared<Totals>();

    layout.beforeStart = [totals](ReportRun&) { *totals = Totals(); };
    title.beforePrint = [titles](ReportRun& run) {
        run.setCaption("QRL1", titles.station);
        run.setCaption("QRL2", titles.params.start);
        run.setCaption("QRL3", titles.params.end);
        run.setCaption("QRL4", titles.params.fromShift);
        run.setCaption("QRL5", titles.params.toShift);
        return true;
    };
    lines.beforePrint = [totals](ReportRun& run) {
        const auto reading = [&run](const char* column) {
            return Decimal::fromValue(run.field(QString::fromLatin1(column)));
        };
        const fuel::MeterLine line =
            fuel::meterLine({reading("start_qty"), reading("start_amt"), reading("now_qty"),
                             reading("now_amt"), reading("price"), reading("price1")});
        const int fuel = fuelOf(run.field("product_id").toText().trimmed());
        run.setCaption("QRLD4",
                       fuel < 0 ? QString() : QString::fromUtf8(fuels[std::size_t(fuel)].label));
        run.setCaption("QRLNowAmt", closingReading(run.field("now_amt"), "##,###,##0"));
        run.setCaption("QRLNowQty", closingReading(run.field("now_qty"), "##,###,##0.00"));
        if (!line.complete) {
            for (const char* cell : {"QRLD1", "QRLD2", "QRLD3"})
                run.setCaption(cell, {});
            return true;
        }
        for (Sums* s : {&totals->all, fuel < 0 ? nullptr : &totals->fuel[std::size_t(fuel)]}) {
            if (!s) continue;
            s->amount += line.amount;
            s->volume += line.volume;
            s->error += line.error;
        }
        run.setCaption("QRLD1", formatMask(line.amount.toDouble(), "###,##0"));
        run.setCaption("QRLD2", formatMask(line.volume.toDouble(), "###,##0.00"));
        run.setCaption("QRLD3", formatMask(double(line.error), "###,###"));
        return true;
    };
    totalsBand.beforePrint = [totals](ReportRun& run) {
        for (int f = 0; f < 4; ++f)
            showSums(run, f + 1, totals->fuel[std::size_t(f)], "###,##0");
        showSums(run, 5, totals->all, "#,###,##0");
        return true;
    };
    layout.bands = {title, columnHeadings(), lines, totalsBand};
    return layout;
}
