// Printed layouts as data: the page, the bands in printing order, the controls of each band
// with positions in millimetres, and the band handlers that set captions, keep running
// totals, hide bands and force new pages. A report's layout is a table of these.
#pragma once

#include <QList>
#include <QString>
#include <functional>

class ReportRun;

namespace rpt {

enum class Align { Left, Centre, Right };
enum class Kind {
    Label,      // a caption, fixed or set by a handler
    Field,      // a column of the layout's rows, formatted with the mask
    Sum,        // SUM(column) over the band's scope: the group in a group footer, else all rows
    PrintDate,  // today as yyyy/MM/dd
    PageNumber, // the page's number
    Line,       // a line from (left, top), `width` across and `height` down: horizontal or vertical
    Box,        // a frame `width` × `height`; a bold one is solid, a heavy rule
};

struct Control {
    QString name;
    Kind kind = Kind::Label;
    QString content; // caption, or the column of a field or sum
    double top = 0, left = 0, width = 0, height = 0;
    Align align = Align::Left;
    QString mask;
    int pixels = 13; // font size in pixels at 96 per inch
    bool bold = false;
};

enum class BandKind {
    PageHeader,
    Child,
    GroupHeader,
    Detail,
    SubDetail,
    GroupFooter,
    Summary,
    PageFooter
};

struct Frame {
    bool top = false, bottom = false, left = false, right = false;
};

struct Band {
    QString name;
    BandKind kind = BandKind::Detail;
    double height = 0;
    Frame frame;
    QList<Control> controls;
    QString parent;     // a child band: the band it follows
    QString expression; // a group header: the column whose change starts a group (none: one group)
    QString footer;     // a group header or a sub-detail: its footer
    bool forceNewPage = false; // a group header or the summary begins a new page
    // A sub-detail: the band printed before its rows, a group header that starts no group
    // (its forceNewPage begins a new page before it).
    QString header;
    bool enabled = true;
    // Runs before the band prints; returning false skips it this time.
    std::function<bool(ReportRun&)> beforePrint;
    std::function<void(ReportRun&)> afterPrint;
};

struct PageSetup {
    double width = 210, length = 279.4; // the paper, in millimetres
    bool landscape = false;
    double top = 10, bottom = 10, left = 10, right = 10;
    QString font = QStringLiteral("新細明體");
};

struct Layout {
    PageSetup page;
    QList<Band> bands;
    // Runs once when the layout starts, before the first band.
    std::function<void(ReportRun&)> beforeStart;
};

// --- the bands and controls of a layout table
Band band(const QString& name, BandKind kind, double height);
Control label(const QString& name, const QString& caption, double top, double left, double width,
              Align align = Align::Left, int pixels = 16);
// A caption centred on `centre`, as wide as it needs.
Control centredLabel(const QString& name, const QString& caption, double top, double centre,
                     int pixels = 16);
Control field(const QString& name, const QString& column, double top, double left, double width,
              Align align = Align::Left, const QString& mask = {}, int pixels = 13);
Control sum(const QString& name, const QString& column, double top, double left, double width,
            const QString& mask, Align align = Align::Right, int pixels = 13);
Control printDate(const QString& name, double top, double left, double width, int pixels = 13);
Control pageNumber(const QString& name, double top, double left, double width,
                   Align align = Align::Right, int pixels = 13);
Control line(const QString& name, double top, double left, double width);
// A vertical rule `height` long.
Control verticalLine(const QString& name, double top, double left, double height);
Control box(const QString& name, double top, double left, double width, double height);
// A heavy rule: a solid bar `width` × `height`.
Control solidBar(const QString& name, double top, double left, double width, double height);

} // namespace rpt
