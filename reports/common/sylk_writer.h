// Writes the rows of a result set, as an export grid shows them, to a SYLK spreadsheet file:
// text records in Big5 with CRLF line ends, which spreadsheet programs open directly.
#pragma once

#include "reports/common/export_column.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class Query;

// Use: set FileName, then begin(), writeGrid(), end(). Only the settings outlive an export.
//
// Cell texts are the grid's display texts: numbers as plain digits (up to 15 significant
// digits, no grouping, no exponent; a value that is not a finite number is left empty),
// dates and times in the process formats, truth values "True"/"False", char(n) codes
// without their blank padding, null as nothing. Line feeds, carriage returns and ";" each
// become two blanks. Text that Big5 cannot hold is written as "?".
//
// Column widths (characters): text its declared length, or for text without one its
// longest value in bytes (at least 10, at most 255); numeric and float 10; smallint 6,
// integer 11, bigint 20 (their widest values); date 10; time 8; date and time 19;
// boolean 5; anything else 10.
class TsxYSLK {
public:
    TsxYSLK();
    ~TsxYSLK();
    TsxYSLK(const TsxYSLK&) = delete;
    TsxYSLK& operator=(const TsxYSLK&) = delete;

    QString FileName;
    QStringList FontList; // font records, font number 0 first
    int GridLeft = 1, GridTop = 2, GridTitleFont = 0, GridFont = 0;
    bool BestFieldWidth = true; // widen a column to the Big5 byte length of its column name
    QString Title;              // written at TitleLeft/TitleTop when not blank
    int TitleLeft = 0, TitleTop = 0, TitleFont = 0;
    bool Visible = true; // open the file with its associated program after end()
    int FontType = 0;
    QString FontAlign = QStringLiteral("yslkLeft"); // carried, not used

    // Opens the written file (absolute path) when Visible is set. When empty, the desktop's
    // associated program is asked to open it.
    std::function<void(const QString& path)> openFile;

    // Starts FileName and writes the identification and font records. The file is written
    // beside FileName and takes its place only at end(): an export that fails or is never
    // ended leaves an older file of that name as it was and no partial file. An export not
    // ended is dropped first. Throws FileError when the file cannot be made.
    void begin();
    // Writes the width records, the title row and one row per result row of `data`, from its
    // first row to its end. The current row is restored and display updates resumed, also
    // when writing fails. Throws DbError, before writing anything, when a visible column
    // names no column of the result; FileError when the file cannot be written, which is
    // then closed.
    void writeGrid(Query& data, const QList<ExportColumn>& columns);
    // Writes the title cell and the end record, puts the file in place and opens it when
    // Visible. Throws FileError when the file cannot be written or put in place.
    void end();
    // Replaces the font records.
    void setFonts(const QStringList& lines);

private:
    struct Output;
    Output& output();
    void put(const QString& line);
    void putCell(const QString& style, int font, const QString& align, int x, int y,
                 const QString& text, bool quoted);
    [[noreturn]] void fail();

    std::unique_ptr<Output> out_;
};
