// Help for report tests: the texts of a printed line, page pictures for a person to look at, the
// spreadsheet file a report should write, and the command line run on the test database.
#pragma once

#include "reports/common/report_renderer.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace reportfiles {

// The texts printed on `page` on the line of the text `anchor`, from left to right.
QStringList lineOf(const rpt::PageItems& page, const QString& anchor);
// The texts of `page` whose top edge lies below `belowMm`, line by line (by their top edge),
// each line from left to right.
QList<QStringList> linesOf(const rpt::PageItems& page, double belowMm = -1);
// Saves page `index` at 200 dpi as <name>.png under TOLVAR_SCREENSHOTS.
void savePage(const rpt::RenderedReport& report, int index, const QString& name);

// The whole content of the file `path`; "(missing)" when it cannot be read.
QByteArray readFile(const QString& path);
// The SYLK file the report screens write: the default font records, a width record per
// column, the title row at row 2 and `rows` from row 3, the first `textColumns` columns as
// quoted text and the others as numbers, all in Big5 with CRLF line ends.
QByteArray expectedSylk(const QList<int>& widths, const QStringList& titles,
                        const QList<QStringList>& rows, int textColumns);

// The text of the PDF file `path` as pdftotext lays it out.
QString pdfText(const QString& path);

struct Outcome {
    int status = -1;
    QString out, err; // standard output and standard error
    QString output;   // both, standard output first
};
// Runs the tolvar executable with `args` in `folder`, whose config.ini it first points at
// the test database.
Outcome runTolvar(const QString& folder, const QStringList& args);

} // namespace reportfiles
