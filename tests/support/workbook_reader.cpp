#include "support/workbook_reader.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace xlsxread {

namespace {

// Prints the workbook as JSON; numbers as Python's shortest text that reads back exactly.
const char* const script = R"(
import datetime, json, sys
import openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.worksheets[0]
out = {
    "sheets": wb.sheetnames,
    "title": wb.properties.title or "",
    "freeze": ws.freeze_panes or "",
    "printArea": ",".join(ws.print_area) if isinstance(ws.print_area, (list, tuple))
                 else (ws.print_area or ""),
    "titleRows": ws.print_title_rows or "",
    "orientation": ws.page_setup.orientation or "",
    "footer": ws.oddFooter.center.text or "",
    "merged": [str(r) for r in ws.merged_cells.ranges],
    "breaks": [b.id for b in ws.row_breaks.brk],
    "widths": {str(openpyxl.utils.column_index_from_string(k)): v.width
               for k, v in ws.column_dimensions.items() if v.width},
    "rows": ws.max_row,
    "cells": [],
}
for row in ws.iter_rows():
    for c in row:
        v = c.value
        if v is None:
            continue
        if isinstance(v, bool):
            t, v = "s", str(v)
        elif isinstance(v, datetime.datetime):
            t, v = "d", v.strftime("%Y/%m/%d %H:%M:%S")
        elif isinstance(v, datetime.time):
            t, v = "t", v.strftime("%H:%M:%S")
        elif isinstance(v, (int, float)):
            t, v = "n", repr(float(v))
        else:
            t, v = "s", str(v)
        out["cells"].append({"r": c.row, "c": c.column, "t": t, "v": v,
                             "f": c.number_format, "b": bool(c.font and c.font.b),
                             "rl": bool(c.border and c.border.left.style),
                             "rr": bool(c.border and c.border.right.style)})
print(json.dumps(out, ensure_ascii=False))
)";

} // namespace

QList<Cell> Workbook::row(int r) const {
    QList<Cell> list;
    for (const Cell& c : cells)
        if (c.row == r) list << c;
    return list;
}

const Cell* Workbook::find(const QString& text) const {
    for (const Cell& c : cells)
        if (c.type == 's' && c.text == text) return &c;
    return nullptr;
}

Workbook read(const QString& path) {
    Workbook book;
    QProcess python;
    // Debian's interpreter, which the python3-openpyxl package serves, before any other.
    const QString interpreter = QFile::exists(QStringLiteral("/usr/bin/python3"))
                                    ? QStringLiteral("/usr/bin/python3")
                                    : QStringLiteral("python3");
    python.start(interpreter, {QStringLiteral("-c"), QString::fromUtf8(script), path});
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        book.error =
            QStringLiteral("openpyxl: ") + QString::fromUtf8(python.readAllStandardError());
        return book;
    }
    QJsonParseError parseError;
    const QJsonObject o =
        QJsonDocument::fromJson(python.readAllStandardOutput(), &parseError).object();
    if (parseError.error != QJsonParseError::NoError) {
        book.error = parseError.errorString();
        return book;
    }
    for (const QJsonValue& s : o["sheets"].toArray())
        book.sheets << s.toString();
    book.title = o["title"].toString();
    book.freeze = o["freeze"].toString();
    book.printArea = o["printArea"].toString();
    book.titleRows = o["titleRows"].toString();
    book.orientation = o["orientation"].toString();
    book.footer = o["footer"].toString();
    for (const QJsonValue& m : o["merged"].toArray())
        book.merged << m.toString();
    for (const QJsonValue& b : o["breaks"].toArray())
        book.breaks << b.toInt();
    const QJsonObject widths = o["widths"].toObject();
    for (auto w = widths.begin(); w != widths.end(); ++w)
        book.widths.insert(w.key().toInt(), w.value().toDouble());
    book.rowCount = o["rows"].toInt();
    for (const QJsonValue& v : o["cells"].toArray()) {
        const QJsonObject c = v.toObject();
        Cell cell;
        cell.row = c["r"].toInt();
        cell.column = c["c"].toInt();
        const QByteArray type = c["t"].toString().toLatin1();
        cell.type = type.isEmpty() ? 's' : type[0];
        cell.text = c["v"].toString();
        if (cell.type == 'n') cell.number = cell.text.toDouble();
        cell.format = c["f"].toString();
        cell.bold = c["b"].toBool();
        cell.ruledLeft = c["rl"].toBool();
        cell.ruledRight = c["rr"].toBool();
        book.cells << cell;
    }
    return book;
}

} // namespace xlsxread
