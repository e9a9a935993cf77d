#include "reports/business/br030_sheet.h"

#include "reports/business/br030_build.h"
#include "reports/common/report_sheet.h"

#include <algorithm>
#include <cmath>

using namespace rpt;

namespace {

// The grid's columns as printed, and the sheet's: A the products and captions, B to J the
// payment columns 01 to 08 and 10, K the product's share.
constexpr int gridColumns[] = {1, 2, 3, 4, 5, 6, 7, 8, 10};
constexpr int gridCount = 9;
constexpr int shareColumn = 10;
constexpr int lastColumn = 10;

QString columnName(int column) {
    return QStringLiteral("%1").arg(column, 2, 10, QLatin1Char('0'));
}

class Br030SheetBuilder {
public:
    explicit Br030SheetBuilder(const RenderedReport& pages)
        : pages_(pages), texts_(printedTexts(pages)) {}

    Sheet build();

private:
    SheetRow& row() { return sheet_.rows.last(); }
    void newRow() {
        sheet_.rows << SheetRow();
        row().verticals = verticals_;
    }
    // The cell of what control `name` printed, at `column` of the current row; nothing when
    // it printed nothing.
    SheetCell* put(int column, const QString& name);
    // The texts band `band` printed on its line `top`, left to right.
    QList<NamedText> lineOf(const QString& band, double top) const;
    void rule(bool above, bool heavy = false, int first = 0, int last = lastColumn);
    void titleRows();
    void grid();
    void incomeLine();
    void notes();
    void tankTable();
    void signatures();

    const RenderedReport& pages_;
    QHash<QString, NamedText> texts_;
    Sheet sheet_;
    QList<int> verticals_; // the ruled columns of the rows being added
};

SheetCell* Br030SheetBuilder::put(int column, const QString& name) {
    const auto t = texts_.constFind(name);
    if (t == texts_.constEnd()) return nullptr;
    row().cells.insert(column, printedCell(t->control, t->printed));
    return &row().cells[column];
}

QList<NamedText> Br030SheetBuilder::lineOf(const QString& band, double top) const {
    QList<NamedText> line;
    for (const NamedText& t : printedTexts(pages_, {band}))
        if (std::abs(t.control.top - top) < 0.05) line << t;
    std::sort(line.begin(), line.end(), [](const NamedText& a, const NamedText& b) {
        return a.control.left < b.control.left;
    });
    return line;
}

void Br030SheetBuilder::rule(bool above, bool heavy, int first, int last) {
    (above ? row().above : row().below) << SheetRule{first, last, heavy};
}

void Br030SheetBuilder::titleRows() {
    newRow();
    if (SheetCell* station = put(0, QStringLiteral("QRL1"))) station->across = 9;
    put(9, QStringLiteral("QRLabel1"));
    put(10, QStringLiteral("QRSysData1"));
    newRow();
    put(0, QStringLiteral("QRL2"));
    if (SheetCell* title = put(1, QStringLiteral("QRLabel2"))) {
        title->across = 8;
        title->align = Align::Centre;
    }
    put(9, QStringLiteral("QRLabel3"));
    put(10, QStringLiteral("QRL5"));
    newRow();
}

void Br030SheetBuilder::grid() {
    // The headings: the column captions on the grid's first line, "金額" under those that
    // have an amount line.
    const QList<NamedText> captions = lineOf(QStringLiteral("ChildBand2"), 2.4);
    const QList<NamedText> amounts = lineOf(QStringLiteral("ChildBand2"), 7.9);
    verticals_.clear();
    for (int c = 0; c <= lastColumn + 1; ++c)
        verticals_ << c;
    newRow();
    rule(true);
    put(0, QStringLiteral("QRLabel4"));
    for (int i = 0; i < captions.size() && i < gridCount; ++i)
        row().cells.insert(1 + i, printedCell(captions[i].control, captions[i].printed));
    newRow();
    for (const NamedText& a : amounts) {
        // Under the caption whose column it lies in.
        int column = 0;
        for (int i = 0; i < captions.size() && i < gridCount; ++i)
            if (captions[i].control.left <= a.control.left) column = 1 + i;
        if (column > 0) row().cells.insert(column, printedCell(a.control, a.printed));
    }
    rule(false);
    sheet_.headingRows = int(sheet_.rows.size());

    for (int p = 0; p < br030ProductCount; ++p) {
        const QString code = QString::number(br030ProductCode(p));
        newRow();
        if (SheetCell* name = put(0, QStringLiteral("QRLabelP") + code)) name->down = 2;
        for (int i = 0; i < gridCount; ++i)
            put(1 + i, QStringLiteral("qty") + code + columnName(gridColumns[i]));
        put(shareColumn, QStringLiteral("rate") + code);
        newRow();
        for (int i = 0; i < gridCount; ++i)
            put(1 + i, QStringLiteral("amt") + code + columnName(gridColumns[i]));
        rule(false);
    }
    newRow();
    put(0, QStringLiteral("QRLabel30"));
    for (int i = 0; i < gridCount; ++i)
        put(1 + i, QStringLiteral("amtt") + columnName(gridColumns[i]));
    rule(false, true);
    newRow();
    put(0, QStringLiteral("QRLabel31"));
    for (int i = 0; i < gridCount; ++i)
        put(1 + i, QStringLiteral("amts") + columnName(gridColumns[i]));
    rule(false, true);
}

void Br030SheetBuilder::incomeLine() {
    newRow();
    for (int i = 0; i < 10; ++i)
        put(i, QStringLiteral("QRLabel%1").arg(40 + i));
    newRow();
    for (int i = 0; i < 10; ++i)
        put(i, QStringLiteral("t%1").arg(i + 1));
    rule(false);
}

void Br030SheetBuilder::notes() {
    verticals_ = {0, 1, lastColumn + 1}; // "備註" in a cell of its own, the notes boxed
    newRow();
    if (SheetCell* remark = put(0, QStringLiteral("QRLabel60"))) {
        // "備" and "註" printed one above the other: one cell beside the three lines.
        if (const auto second = texts_.constFind(QStringLiteral("QRLabel61"));
            second != texts_.constEnd())
            remark->text += second->printed.text;
        remark->down = 3;
    }
    put(1, QStringLiteral("QRLabel62"));
    put(2, QStringLiteral("tOther"));
    put(3, QStringLiteral("QRLabel63"));
    put(4, QStringLiteral("QRDBText1"));
    newRow();
    put(1, QStringLiteral("QRLabel64"));
    put(4, QStringLiteral("totqty"));
    put(5, QStringLiteral("totamt"));
    newRow();
    put(1, QStringLiteral("QRLabel65"));
    put(4, QStringLiteral("avgqty"));
    put(5, QStringLiteral("avgamt"));
    put(6, QStringLiteral("QRLabel66"));
    put(8, QStringLiteral("dayqty"));
    rule(false);
    verticals_.clear();
    newRow();
}

void Br030SheetBuilder::tankTable() {
    newRow();
    if (SheetCell* title = put(1, QStringLiteral("QRLabel70"))) {
        title->across = 8;
        title->align = Align::Centre;
    }
    put(9, QStringLiteral("QRLabel71"));
    put(10, QStringLiteral("QRL6"));
    verticals_ = {0, 2, 3, 4, 5, 6, 7, 8};
    newRow();
    rule(true, false, 0, 7);
    // "油槽" over the tank's code and name, then the six figures.
    if (SheetCell* tank = put(0, QStringLiteral("QRLabel72"))) tank->across = 2;
    for (int i = 1; i <= 6; ++i)
        put(1 + i, QStringLiteral("QRLabel%1").arg(72 + i));
    rule(false, false, 0, 7);
    const char* figures[] = {"PREQTY", "INQTY", "OUTQTY", "REALQTY", "TESTQTY", "MISQTY"};
    for (const PrintedBand& printed : pages_.printed) {
        const Band& band = pages_.bands[printed.band];
        if (band.kind != BandKind::Detail) continue;
        newRow();
        for (const PrintedText& t : printed.texts) {
            const Control& c = band.controls[t.control];
            int column = -1;
            if (c.name == QLatin1String("QRDBText4")) column = 0;
            if (c.name == QLatin1String("QRDBText5")) column = 1;
            for (int i = 0; i < 6; ++i)
                if (c.name == QLatin1String(figures[i])) column = 2 + i;
            if (column >= 0) row().cells.insert(column, printedCell(c, t));
        }
        rule(false, false, 0, 7);
    }
    verticals_.clear();
    newRow();
}

void Br030SheetBuilder::signatures() {
    newRow();
    put(0, QStringLiteral("QRLabel80"));
    put(4, QStringLiteral("QRLabel81"));
    put(7, QStringLiteral("QRLabel82"));
}

Sheet Br030SheetBuilder::build() {
    sheet_.font = pages_.page.font;
    sheet_.page = pages_.page;
    titleRows();
    grid();
    incomeLine();
    notes();
    tankTable();
    signatures();
    // The grid's columns about as wide as printed, so that the page prints near full size.
    sheet_.columnWidths = {14, 10, 10, 10, 10, 10, 10, 10, 10, 10, 9};
    // Wider where a printed figure or date needs it.
    for (const SheetRow& r : sheet_.rows)
        for (auto cell = r.cells.constBegin(); cell != r.cells.constEnd(); ++cell)
            if (cell->across == 1 && cell->type != SheetCell::Type::Text)
                sheet_.columnWidths[cell.key()] =
                    std::max(sheet_.columnWidths[cell.key()],
                             textWidth(cell->text) * cell->points / 10 + 1.5);
    return sheet_;
}

} // namespace

Sheet br030Sheet(const RenderedReport& pages) {
    return Br030SheetBuilder(pages).build();
}
