#include "reports/business/br030_layout.h"

#include "reports/common/number_mask.h"
#include "reports/common/report_renderer.h"

#include <QHash>

using namespace rpt;

namespace {

constexpr Align L = Align::Left, C = Align::Centre, R = Align::Right;
constexpr int heading = 15;       // 11 points
constexpr int value = 13;         // 10 points
constexpr double gridWidth = 200; // the band between the margins

const char* const money = "$#,###,##0";

// Left edges of the grid's labels by column; 0 where the column has none.
struct ColumnPlace {
    int column;
    double quantity, amount, total, subProduct;
};
const ColumnPlace columnPlaces[] = {
    {1, 35.2, 34.4, 35.2, 35.2}, {2, 55.0, 54.2, 55.0, 0},    {3, 74.9, 74.1, 74.9, 74.9},
    {4, 94.2, 93.4, 94.2, 94.2}, {5, 111.9, 111.1, 111.9, 0}, {6, 131.8, 131.0, 131.8, 0},
    {7, 150.3, 149.5, 150.3, 0}, {8, 0, 168.8, 169.6, 0},     {10, 189.4, 188.6, 189.4, 189.4},
};
constexpr double quantityWidth = 9.0, amountWidth = 9.8;

// A product's row: its name, share, quantity and amount lines.
struct ProductPlace {
    const char* name;
    double nameTop, shareTop, quantityTop, amountTop;
};
const ProductPlace productPlaces[br030ProductCount] = {
    {"200 九二無鉛", 18.5, 14.0, 18.0, 22.0},
    {"300 超級柴油", 31.8, 27.3, 31.2, 35.2},
    {"500 九五無鉛", 45.0, 40.5, 44.5, 48.4},
    {"800 九八無鉛", 58.2, 53.7, 57.7, 61.6},
};
constexpr double totalsTop = 69.6, subProductTop = 78.8;
constexpr double gridRulesBottom = 101.6;

QString columnName(int column) {
    return QStringLiteral("%1").arg(column, 2, 10, QLatin1Char('0'));
}

QString amountText(qint64 amount) {
    return amount == 0 ? QString() : formatMask(double(amount), QString::fromLatin1(money));
}

QString quantityText(Decimal quantity) {
    return quantity.isZero() ? QString() : formatMask(quantity.toDouble(), QStringLiteral("0.00"));
}

QString sumText(const std::optional<qint64>& sum) {
    return sum ? formatMask(double(*sum), QStringLiteral("$##,###,##0")) : QString();
}

Band pageHeader() {
    Band b = band(QStringLiteral("QRBand1"), BandKind::PageHeader, 18.0);
    b.controls = {
        centredLabel("QRL1", {}, 5.3, gridWidth / 2, heading),
        label("QRLabel1", QStringLiteral("印表日期 :"), 5.3, 160.3, 18.3, L, value),
        printDate("QRSysData1", 5.3, 178.6, 21.0, value),
        label("QRL2", {}, 11.9, 2.9, 40.0, L, heading),
        label("QRLabel2", QStringLiteral("營業收入彙總表"), 11.9, 83.1, 28.0, C, heading),
        label("QRLabel3", QStringLiteral("資料日期 :"), 11.9, 160.3, 18.6, L, value),
        label("QRL5", {}, 11.9, 178.9, 21.0, L, value),
    };
    return b;
}

Band revenueGrid() {
    Band b = band(QStringLiteral("ChildBand2"), BandKind::Child, 131.8);
    b.parent = QStringLiteral("QRBand1");
    b.frame = {true, true, true, true};
    QList<Control>& c = b.controls;
    // Headings.
    c << label("QRLabel4", QStringLiteral("    產 (油) 品"), 4.5, 1.1, 24.0, L, value);
    const struct {
        const char* caption;
        double left, amountLeft;
    } headings[] = {
        {"現金數量", 28.3, 36.5},   {"油票數量", 47.6, 55.6},   {"簽帳數量", 67.7, 75.7},
        {"刷卡數量", 86.8, 94.7},   {"試桶數量", 105.8, 113.8}, {"車隊數量", 124.4, 132.3},
        {"捷利數量", 143.4, 150.8}, {"折讓金額", 163.0, 0},     {"合計數量", 181.8, 189.7}};
    int n = 10;
    for (const auto& h : headings) {
        c << label(QStringLiteral("QRLabel%1").arg(n++), QString::fromUtf8(h.caption), 2.4, h.left,
                   16.0, L, heading);
        if (h.amountLeft > 0)
            c << label(QStringLiteral("QRLabel%1").arg(n++), QStringLiteral("金額"), 7.9,
                       h.amountLeft, 8.0, L, heading);
    }
    // The four products.
    for (int p = 0; p < br030ProductCount; ++p) {
        const ProductPlace& place = productPlaces[p];
        const int code = br030ProductCode(p);
        c << label(QStringLiteral("QRLabelP%1").arg(code), QString::fromUtf8(place.name),
                   place.nameTop, 1.6, 24.0, L, heading);
        c << label(QStringLiteral("rate%1").arg(code), {}, place.shareTop, 192.1,
                   gridWidth - 1.0 - 192.1, R, value);
        for (const ColumnPlace& col : columnPlaces) {
            if (col.quantity > 0)
                c << label(QStringLiteral("qty%1%2").arg(code).arg(columnName(col.column)), {},
                           place.quantityTop, col.quantity, quantityWidth, R, value);
            c << label(QStringLiteral("amt%1%2").arg(code).arg(columnName(col.column)), {},
                       place.amountTop, col.amount, amountWidth, R, value);
        }
    }
    // The totals and the sub-product rows.
    c << label("QRLabel30", QStringLiteral("主油品合計"), totalsTop, 3.7, 20.0, L, heading);
    c << label("QRLabel31", QStringLiteral("副品(洗)合計"), subProductTop, 1.6, 24.0, L, heading);
    for (const ColumnPlace& col : columnPlaces) {
        // Under the quantities, and ending where they end.
        c << label(QStringLiteral("amtt%1").arg(columnName(col.column)), {}, totalsTop, col.total,
                   quantityWidth, R, value);
        if (col.subProduct > 0)
            c << label(QStringLiteral("amts%1").arg(columnName(col.column)), {}, subProductTop,
                       col.subProduct, quantityWidth, R, value);
    }
    // The income line.
    const struct {
        const char* caption;
        double captionLeft;
        const char* name;
        double left, width;
    } income[] = {
        {"現      金", 5.6, "t1", 2.6, 20.6},     {"簽帳金額", 28.0, "t2", 27.8, 16.4},
        {"刷卡金額", 48.4, "t3", 47.6, 16.4},     {"車隊卡", 69.8, "t4", 67.5, 16.4},
        {"捷利卡", 88.6, "t5", 87.3, 15.9},       {"油票金額", 105.6, "t6", 105.8, 15.1},
        {"主產品收入", 124.1, "t7", 124.4, 16.4}, {"副產品收入", 142.9, "t8", 142.9, 16.4},
        {"洗車收入", 164.0, "t9", 162.7, 16.4},   {"收入總計", 181.5, "t10", 182.6, 16.4}};
    n = 40;
    for (const auto& i : income) {
        // Ten captions in narrow cells: the values' size, so that 主產品收入 ends before its rule.
        c << label(QStringLiteral("QRLabel%1").arg(n++), QString::fromUtf8(i.caption), 88.6,
                   i.captionLeft, 17.0, L, value);
        c << label(QString::fromLatin1(i.name), {}, 96.0, i.left, i.width, R, value);
    }
    // The notes.
    c << label("QRLabel60", QStringLiteral("備"), 108.0, 2.9, 5.0, L, heading)
      << label("QRLabel61", QStringLiteral("註"), 121.2, 2.9, 5.0, L, heading)
      << label("QRLabel62", QStringLiteral("其他折抵:"), 107.2, 14.8, 18.0, L, heading)
      << label("tOther", {}, 107.2, 33.9, 22.0, L, value)
      << label("QRLabel63", QStringLiteral("油摺:"), 107.2, 58.5, 10.0, L, heading)
      << label("QRDBText1", {}, 107.2, 70.1, 22.0, L, value)
      << label("QRLabel64", QStringLiteral("本月至目前        總發油量:"), 116.4, 14.8, 54.0, L,
               heading)
      << label("totqty", {}, 117.2, 74.9, 22.0, L, value)
      << label("totamt", {}, 117.2, 98.7, 22.0, L, value)
      << label("QRLabel65", QStringLiteral(" 日平均發油量:"), 123.0, 34.7, 28.0, L, heading)
      << label("avgqty", {}, 123.8, 74.9, 22.0, L, value)
      << label("avgamt", {}, 123.8, 98.7, 22.0, L, value)
      << label("QRLabel66", QStringLiteral("本日發油量:"), 123.0, 139.2, 22.0, L, heading)
      << label("dayqty", {}, 123.8, 174.1, 22.0, L, value);
    // The rules.
    n = 1;
    auto rule = [&n] { return QStringLiteral("QRShape%1").arg(n++); };
    for (double x : {25.9, 45.8, 65.6, 85.2, 104.2, 122.8, 141.8, 160.9, 180.2})
        c << verticalLine(rule(), 0, x, gridRulesBottom);
    for (double y : {13.2, 26.5, 39.7, 52.9, 66.1, 93.9, gridRulesBottom})
        c << line(rule(), y, 0, gridWidth);
    c << solidBar(rule(), 74.9, 0, gridWidth, 1.9) << solidBar(rule(), 84.1, 0, gridWidth, 2.6)
      << verticalLine(rule(), gridRulesBottom, 10.6, b.height - gridRulesBottom)
      << solidBar(rule(), 87.0, 122.5, 0.8, gridRulesBottom - 87.0);
    return b;
}

const double stockRules[] = {26.5, 54.5, 82.6, 111.1, 139.2, 169.3};

Band stockTitle() {
    Band b = band(QStringLiteral("ChildBand1"), BandKind::Child, 15.1);
    b.parent = QStringLiteral("ChildBand2");
    b.controls = {
        label("QRLabel70", QStringLiteral("主產品庫存報表"), 7.9, 83.1, 28.0, C, heading),
        label("QRLabel71", QStringLiteral("資料日期 :"), 7.9, 160.3, 18.6, L, value),
        label("QRL6", {}, 7.9, 178.9, 21.0, L, value),
    };
    return b;
}

Band stockHeadings() {
    Band b = band(QStringLiteral("ChildBand3"), BandKind::Child, 8.5);
    b.parent = QStringLiteral("ChildBand1");
    b.frame.top = b.frame.left = b.frame.right = true;
    const struct {
        const char* caption;
        double left;
    } headings[] = {{"油    槽", 7.4},  {"昨日存量", 32.8},  {"進貨數量", 60.3},
                    {"銷貨數量", 88.9}, {"結存數量", 117.5}, {"計測數量", 147.1},
                    {"調整數量", 178.1}};
    int n = 72;
    for (const auto& h : headings)
        b.controls << label(QStringLiteral("QRLabel%1").arg(n++), QString::fromUtf8(h.caption), 2.1,
                            h.left, 16.0, L, heading);
    n = 30;
    for (double x : stockRules)
        b.controls << verticalLine(QStringLiteral("QRShape%1").arg(n++), 0, x, b.height);
    return b;
}

Band tankDetail() {
    Band b = band(QStringLiteral("QRBand2"), BandKind::Detail, 6.3);
    b.frame = {true, true, true, true};
    const QString mask = QStringLiteral("###,##0.00");
    // Each figure ends a millimetre short of the rule on its right.
    auto figure = [&](const char* name, const char* column, double left, double rule) {
        return field(name, column, 1.1, left, rule - 1.0 - left, R, mask, value);
    };
    b.controls = {
        field("QRDBText4", "tank", 1.1, 1.1, 5.8, L, {}, value),
        field("QRDBText5", "name", 1.1, 7.4, 18.0, L, {}, value),
        figure("PREQTY", "bqty", 44.5, 54.5),
        figure("INQTY", "iqty", 74.3, 82.6),
        figure("OUTQTY", "oqty", 101.1, 111.1),
        figure("REALQTY", "sqty", 130.4, 139.2),
        figure("TESTQTY", "rqty", 159.8, 169.3),
        figure("MISQTY", "dqty", 187.1, gridWidth),
    };
    int n = 40;
    for (double x : stockRules)
        b.controls << verticalLine(QStringLiteral("QRShape%1").arg(n++), 0, x, b.height);
    return b;
}

Band signatures() {
    Band b = band(QStringLiteral("QRBand3"), BandKind::PageFooter, 10.6);
    b.controls = {
        label("QRLabel80", QStringLiteral("經   理 :"), 4.2, 7.4, 20.0, L, heading),
        label("QRLabel81", QStringLiteral("站  長 :"), 4.2, 73.0, 20.0, L, heading),
        label("QRLabel82", QStringLiteral("經  辦 :"), 4.2, 134.4, 20.0, L, heading),
    };
    return b;
}

} // namespace

QHash<QString, QString> br030Captions(const Br030Figures& f) {
    QHash<QString, QString> captions;
    for (int p = 0; p < br030ProductCount; ++p) {
        const int code = br030ProductCode(p);
        const std::optional<Decimal> share = f.share(p);
        captions.insert(QStringLiteral("rate%1").arg(code),
                        share ? formatMask(share->toDouble(), QStringLiteral("0.00")) +
                                    QLatin1Char('%')
                              : QString());
        for (const ColumnPlace& col : columnPlaces) {
            const Br030Cell& cell = f.cells[std::size_t(p)][std::size_t(col.column)];
            const QString suffix = QString::number(code) + columnName(col.column);
            if (col.quantity > 0)
                captions.insert(QStringLiteral("qty") + suffix, quantityText(cell.quantity));
            captions.insert(QStringLiteral("amt") + suffix, amountText(cell.amount));
        }
    }
    for (const ColumnPlace& col : columnPlaces) {
        captions.insert(QStringLiteral("amtt") + columnName(col.column),
                        amountText(f.totals[std::size_t(col.column)]));
        if (col.subProduct > 0)
            captions.insert(QStringLiteral("amts") + columnName(col.column),
                            amountText(f.subProduct[std::size_t(col.column)]));
    }
    captions.insert(QStringLiteral("t1"), amountText(f.incomeCash));
    captions.insert(QStringLiteral("t2"), sumText(f.charges));
    captions.insert(QStringLiteral("t3"), sumText(f.bankCards));
    captions.insert(QStringLiteral("t4"), amountText(f.fleetCard));
    captions.insert(QStringLiteral("t5"), amountText(f.jieliCard));
    captions.insert(QStringLiteral("t6"), sumText(f.tickets));
    captions.insert(QStringLiteral("t7"), amountText(f.mainIncome));
    captions.insert(QStringLiteral("t8"), amountText(f.subIncome));
    captions.insert(QStringLiteral("t9"), amountText(f.carWash));
    captions.insert(QStringLiteral("t10"), amountText(f.totalIncome));
    captions.insert(QStringLiteral("tOther"),
                    f.otherDeductions == 0
                        ? QStringLiteral("0")
                        : formatMask(double(f.otherDeductions), QStringLiteral("$###,###,##0")));
    captions.insert(QStringLiteral("QRDBText1"), sumText(f.passbook));
    captions.insert(QStringLiteral("totqty"),
                    formatMask(f.monthQuantity.toDouble(), QStringLiteral("###,###,##0.00")));
    captions.insert(QStringLiteral("totamt"),
                    formatMask(f.monthAmount.toDouble(), QString::fromLatin1(money)));
    captions.insert(QStringLiteral("avgqty"),
                    formatMask(f.averageQuantity.toDouble(), QStringLiteral("###,###,##0.00")));
    captions.insert(QStringLiteral("avgamt"),
                    formatMask(f.averageAmount.toDouble(), QStringLiteral("$###,###,##0")));
    captions.insert(QStringLiteral("dayqty"),
                    formatMask(f.dayQuantity().toDouble(), QStringLiteral("###,###,##0.00")));
    return captions;
}

Layout br030Layout(const Br030Report& report) {
    Layout layout;
    layout.page.width = 210;
    layout.page.length = 279.4;
    layout.page.top = 10;
    layout.page.bottom = 10;
    layout.page.left = 5;
    layout.page.right = 5;
    Band title = pageHeader();
    Band grid = revenueGrid();
    Band stock = stockTitle();
    const Br030Titles titles = report.titles;
    title.beforePrint = [titles](ReportRun& run) {
        run.setCaption("QRL1", titles.station);
        run.setCaption("QRL2", titles.weather);
        run.setCaption("QRL5", titles.date);
        return true;
    };
    const QHash<QString, QString> captions = br030Captions(report.figures);
    grid.beforePrint = [captions](ReportRun& run) {
        for (auto c = captions.constBegin(); c != captions.constEnd(); ++c)
            run.setCaption(c.key(), c.value());
        return true;
    };
    stock.beforePrint = [titles](ReportRun& run) {
        run.setCaption("QRL6", titles.date);
        return true;
    };
    layout.bands = {title, grid, stock, stockHeadings(), tankDetail(), signatures()};
    return layout;
}
