// The banded renderer: runs a layout over its rows and produces pages of positioned texts,
// lines and boxes in millimetres, which one painter draws onto the preview, the printer, a
// PDF file or a picture.
#pragma once

#include "db/value.h"
#include "reports/common/report_layout.h"

#include <QDate>
#include <QHash>
#include <QLineF>
#include <QRectF>
#include <QSizeF>

class Query;

namespace rpt {

struct TextItem {
    QRectF rect; // millimetres from the paper's top left corner
    QString text;
    QString font;
    int pixels = 13;
    bool bold = false;
    Align align = Align::Left;
    // Where the text is painted once the page is fitted (see text_fitting.h): its letters'
    // extent, horizontally condensed by `stretch`; null before fitting.
    QRectF painted;
    double stretch = 1;
    bool clipped = false; // cut: even condensed, the whole text had no room
};

struct PageItems {
    QList<TextItem> texts;
    QList<QLineF> lines;
    QList<QRectF> boxes;
    QList<QRectF> bars; // solid: heavy rules
};

// What a band showed each time it printed, for outputs that lay the report out again from
// its lines rather than its pages (the spreadsheet).
struct PrintedText {
    int control = 0; // index into the band's controls
    QString text;    // as printed, before the page was fitted
    Value value;     // a field's value from the rows; null for captions, sums, dates, pages
};

struct PrintedBand {
    int band = 0;             // index into RenderedReport::bands
    int page = 0;             // index of the page it printed on
    double top = 0;           // millimetres from the paper's top edge
    bool pageHeader = false;  // printed as a page's header: the header band and its children
    bool pageFooter = false;  // printed as a page's footer
    bool newPage = false;     // the first band of a page the layout began on purpose
    QList<PrintedText> texts; // the controls that printed a text, in the band's order
};

struct RenderedReport {
    QSizeF paper; // millimetres, as the page lies (landscape: wider than long)
    QList<PageItems> pages;
    // The page set-up and the bands as the layout ran them (their handlers left out), and
    // every band printed, in printing order.
    PageSetup page;
    QList<Band> bands;
    QList<PrintedBand> printed;
};

} // namespace rpt

// What band handlers see while a layout runs: the bands and their captions, the current row
// of the data set, the page being printed.
class ReportRun {
public:
    ReportRun(rpt::Layout layout, Query& data, Query* subData, const QDate& printingDate);

    // Throws std::out_of_range naming the band when the layout has none of that name.
    rpt::Band& band(const QString& name);
    // Sets the caption of label `control` wherever it lies. Throws std::out_of_range.
    void setCaption(const QString& control, const QString& text);
    QString caption(const QString& control);
    // The column `name` of the current row (of the sub-detail's rows while one prints).
    Value field(const QString& name) const;
    double number(const QString& name) const { return field(name).toDouble(); }
    int pageNumber() const { return pageNumber_; }
    const QDate& printingDate() const { return printingDate_; }
    Query& data() { return data_; }
    Query* subData() { return subData_; }

    // Runs the layout; the pages produced. A data set without rows gives no pages.
    rpt::RenderedReport render();

private:
    rpt::Control* findControl(const QString& name);
    void startPage();
    void endPage();
    void printBand(rpt::Band& band);
    void printSubDetail(rpt::Band& sub);
    rpt::Band* bandNamed(const QString& name);
    void placeBand(const rpt::Band& band);
    void startForcedPage();
    void addRowToSums();
    void resetSums(const QString& band);
    QString controlText(const rpt::Band& band, const rpt::Control& control) const;
    double bodyBottom() const;
    QList<rpt::Band*> bandsOf(rpt::BandKind kind);

    rpt::Layout layout_;
    Query& data_;
    Query* subData_;
    Query* fieldsFrom_;
    QDate printingDate_;
    rpt::RenderedReport out_;
    double y_ = 0;
    int pageNumber_ = 0;
    bool pageOpen_ = false;
    bool bodyPrinted_ = false;                    // anything below the page header on this page
    QHash<QString, QHash<QString, double>> sums_; // band → column → running total
    bool inPageHeader_ = false;                   // printing a page's header or a child of it
    bool inPageFooter_ = false;
    bool pageForced_ = false; // the page just begun was begun on purpose
};

namespace rpt {
// Runs `layout` over the rows of `data` (and `subData` for a sub-detail band) as printed on
// `printingDate`.
RenderedReport render(const Layout& layout, Query& data, Query* subData = nullptr,
                      const QDate& printingDate = QDate::currentDate());
} // namespace rpt
