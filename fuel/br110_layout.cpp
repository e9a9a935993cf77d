#include "fuel/br110_layout.h"

#include "app/product_codes.h"
#include "reports/common/decimal.h"
#include "reports/common/number_mask.h"
#include "reports/common/report_renderer.h"

#include <array>
#include <memory>

using namespace rpt;

namespace {

constexpr Align L = Align::Left, C = Align::Centre, R = Align::Right;
constexpr int captionPixels = 16, valuePixels = 13;
constexpr double centre = 100.03; // of the printable width, 210.06 less 5 and 5

// Running totals of one printing: the volume summed exactly, the values in whole dollars.
struct Sums {
    Decimal volume;
    qint64 value = 0;
};
struct Totals {
    std::array<Sums, 4> fuel; // diesel, 92, 95, 98: the summary's lines
    Sums all;
};

struct Fuel {
    const QString& product;
    const char* caption;
};
const std::array<Fuel, 4> fuels = {{{products::ProdDiesel, "超級柴油 :"},
                                    {products::Prod92, "九二無鉛 :"},
                                    {products::Prod95, "九五無鉛 :"},
                                    {products::Prod98, "九八無鉛 :"}}};

int fuelOf(const QString& product) {
    for (std::size_t i = 0; i < fuels.size(); ++i)
        if (product == fuels[i].product) return int(i);
    return -1;
}

Control caption(const char* name, const char* text, double top, double left, double width,
                Align align = L) {
    return label(QString::fromLatin1(name), QString::fromUtf8(text), top, left, width, align,
                 captionPixels);
}

Band pageHeader() {
    Band b = band(QStringLiteral("QRBand1"), BandKind::PageHeader, 29.6);
    b.frame.bottom = true;
    b.controls = {
        centredLabel("QRL1", {}, 4.0, centre, captionPixels),
        centredLabel("QRLabel1", QStringLiteral("中油結付表"), 10.6, centre, captionPixels),
        caption("QRLabel2", "印表日期 :", 10.6, 154.0, 19.0),
        printDate("QRSysData1", 10.6, 173.0, 20.0, valuePixels),
        caption("QRLabel3", "資料日期 :", 17.2, 2.9, 21.2),
        label("QRL2", {}, 17.2, 24.1, 22.0, L, captionPixels),
        caption("QRLabel4", "至", 17.2, 51.1, 4.5),
        label("QRL3", {}, 17.2, 57.1, 22.0, L, captionPixels),
        caption("QRLabel5", "頁        次 :", 17.2, 154.0, 19.3),
        pageNumber("QRSysData2", 17.2, 175.8, 10.0, R, valuePixels),
        line("QRShape1", 22.5, 0.0, 200.0),
        caption("QRLabel6", "日期班別", 23.8, 2.4, 20.0),
        caption("QRLabel7", "產品", 23.8, 35.2, 10.0),
        caption("QRLabel8", "產品名稱", 23.8, 61.9, 20.0),
        caption("QRLabel9", "油槽", 23.8, 102.9, 10.0),
        caption("QRLabel10", "進油單價", 23.8, 119.6, 18.0),
        caption("QRLabel11", "進油數量", 23.8, 150.5, 18.0),
        caption("QRLabel12", "進油金額", 23.8, 178.9, 18.0),
    };
    return b;
}

Band detail() {
    Band b = band(QStringLiteral("Detail"), BandKind::Detail, 6.3);
    const double top = 1.0;
    b.controls = {
        field("QRDBText1", "shift", top, 2.4, 30.0),
        field("QRDBText2", "prod_id", top, 35.5, 26.0),
        field("QRDBText3", "name", top, 62.2, 40.0),
        field("QRDBText4", "target_tank", top, 104.2, 8.0),
        field("QRDBText5", "in_price", top, 118.0, 18.8, R, "##,##0.0000"),
        field("QRDBText6", "gasoline_vol", top, 148.0, 19.2, R, "##,##0"),
        field("QRDBText7", "amt", top, 175.0, 20.8, R, "###,##0"),
    };
    return b;
}

Band summary() {
    Band b = band(QStringLiteral("SummaryBand1"), BandKind::Summary, 34.1);
    b.frame.top = true;
    const char* captions[] = {"總  合  計 :", fuels[0].caption, fuels[1].caption, fuels[2].caption,
                              fuels[3].caption};
    for (int row = 0; row < 5; ++row) {
        const double top = 2.1 + 6.3 * row;
        b.controls << label(QStringLiteral("QRLabelS%1").arg(row + 1),
                            QString::fromUtf8(captions[row]), top, 103.7, 27.0, L, captionPixels)
                   << label(QStringLiteral("v%1").arg(row), {}, top, 142.0, 25.2, R, valuePixels)
                   << label(QStringLiteral("a%1").arg(row), {}, top, 170.0, 25.2, R, valuePixels);
    }
    return b;
}

} // namespace

Layout br110Layout(const Br110Titles& titles) {
    Layout layout;
    layout.page.width = 210.06;
    layout.page.length = 279.4;
    layout.page.top = 5;
    layout.page.bottom = 20;
    layout.page.left = 5;
    layout.page.right = 5;
    Band title = pageHeader();
    Band lines = detail();
    Band totalsBand = summary();
    auto totals = std::make_shared<Totals>();

    layout.beforeStart = [totals](ReportRun&) { *totals = Totals(); };
    title.beforePrint = [titles](ReportRun& run) {
        run.setCaption("QRL1", titles.station);
        run.setCaption("QRL2", titles.params.start);
        run.setCaption("QRL3", titles.params.end);
        return true;
    };
    lines.afterPrint = [totals](ReportRun& run) {
        const Decimal volume = Decimal::fromValue(run.field("gasoline_vol")).value_or(Decimal());
        const qint64 value = run.field("amt").toInt();
        const int fuel = fuelOf(run.field("prod_id").toText().trimmed());
        for (Sums* s : {&totals->all, fuel < 0 ? nullptr : &totals->fuel[std::size_t(fuel)]}) {
            if (!s) continue;
            s->volume += volume;
            s->value += value;
        }
    };
    totalsBand.beforePrint = [totals](ReportRun& run) {
        run.setCaption("v0", formatMask(totals->all.volume.toDouble(), "##,###,##0"));
        run.setCaption("a0", formatMask(double(totals->all.value), "###,###,##0"));
        for (int f = 0; f < 4; ++f) {
            const Sums& s = totals->fuel[std::size_t(f)];
            run.setCaption(QStringLiteral("v%1").arg(f + 1),
                           formatMask(s.volume.toDouble(), "##,###,##0"));
            run.setCaption(QStringLiteral("a%1").arg(f + 1),
                           formatMask(double(s.value), "##,###,##0"));
        }
        return true;
    };
    layout.bands = {title, lines, totalsBand};
    return layout;
}
