// Reads a written workbook back with an independent reader (Python's openpyxl), so that tests
// see the file as another program sees it: the sheet, its cells with their types, values and
// number formats, merged ranges, frozen rows, print set-up.
#pragma once

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>

namespace xlsxread {

struct Cell {
    int row = 0, column = 0; // from 1, as the spreadsheet counts
    char type = 's';         // 'n' number, 's' text, 'd' date and time, 't' time of day
    QString text;            // a text; a date as yyyy/MM/dd HH:mm:ss; a time as HH:mm:ss
    double number = 0;       // a number, read back exactly
    QString format;          // its number format
    bool bold = false;
    bool ruledLeft = false, ruledRight = false; // a rule down its left or right edge
};

struct Workbook {
    QString error; // why it could not be read; empty when it was
    QStringList sheets;
    QString title;            // the workbook's title property
    QString freeze;           // the top left cell of the unfrozen part ("A5"), empty when none
    QString printArea;        // "'BR040 總營業月統計表'!$A$1:$L$40"
    QString titleRows;        // the rows printed atop every page ("$1:$4")
    QString orientation;      // "portrait" or "landscape"
    QString footer;           // the centre footer
    QStringList merged;       // "A1:L1"
    QList<int> breaks;        // rows a new printed page starts after
    QMap<int, double> widths; // column (from 1) → width in characters
    QList<Cell> cells;        // every cell holding something, row by row, left to right
    int rowCount = 0;

    // The cells of row `row`, left to right.
    QList<Cell> row(int row) const;
    // The first cell holding exactly the text `text`, or null.
    const Cell* find(const QString& text) const;
};

// Reads the first sheet of `path`.
Workbook read(const QString& path);

} // namespace xlsxread
