// A report as a spreadsheet: rows of typed cells (texts, numbers with their number format,
// dates), rules between rows, column widths, the heading rows and the page to print on. The
// workbook writer turns it into a file; the report's sheet builders fill it.
#pragma once

#include "reports/common/report_layout.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>
#include <QTime>

namespace rpt {

struct SheetCell {
    enum class Type { Text, Number, Date, Time };
    Type type = Type::Text;
    QString text; // a text cell's text; for the others what the report printed
    double number = 0;
    QDate date;
    QTime time;
    QString format; // the number format of a number, date or time ("#,##0.00", "yyyy/mm/dd")
    Align align = Align::Left;
    bool bold = false;
    double points = 10; // font size
    int across = 1;     // merged with the cells to its right, this many columns in all
    int down = 1;       // and with the cells below it
};

// A rule along a row's upper or lower edge, over the columns first to last.
struct SheetRule {
    int first = 0, last = 0;
    bool heavy = false;
};

struct SheetRow {
    QMap<int, SheetCell> cells; // by column, from 0
    QList<SheetRule> above, below;
    // Rules down the left edges of these columns (the column count: the last column's right
    // edge), the verticals of a ruled grid.
    QList<int> verticals;
    bool pageBreakBefore = false; // printing starts a new page with this row
};

struct Sheet {
    QString name;  // the sheet's tab, at most 31 characters
    QString title; // the workbook's title
    QString font = QStringLiteral("新細明體");
    QList<SheetRow> rows;
    QList<double> columnWidths; // in characters
    int headingRows = 0;        // the first rows: frozen on screen, printed atop every page
    PageSetup page;             // paper, orientation and margins
    QString footer;             // printed at the foot of every page; "&P" is the page number

    int columnCount() const { return int(columnWidths.size()); }
};

} // namespace rpt
