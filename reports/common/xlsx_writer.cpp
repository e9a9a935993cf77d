#include "reports/common/xlsx_writer.h"

#include "app/progress.h"
#include "reports/common/file_error.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>
#include <cmath>
#include <xlsxwriter.h>

namespace rpt {

namespace {

constexpr double mmPerInch = 25.4;
constexpr int longestText = 32767; // characters a cell holds
constexpr int maxRows = 1048576;   // rows a sheet holds

QString cannotWrite(const QString& path, const QString& reason) {
    return QStringLiteral("無法寫入檔案 %1：%2").arg(path, reason);
}

// A text as the workbook keeps it: "_x0041_" is read back as the character it names, so a
// text holding that pattern has its underscore written as one; cut to what a cell holds.
QByteArray cellText(const QString& text) {
    static const QRegularExpression escape(QStringLiteral("_(x[0-9A-Fa-f]{4}_)"));
    QString kept = text.left(longestText);
    kept.replace(escape, QStringLiteral("_x005F_\\1"));
    return kept.toUtf8();
}

// The standard paper nearest to the layout's, by its printed sides.
uint8_t paperOf(const PageSetup& page) {
    struct Paper {
        uint8_t code;
        double width, length;
    };
    static const Paper papers[] = {{1, 215.9, 279.4}, {5, 215.9, 355.6}, {9, 210, 297},
                                   {8, 297, 420},     {11, 148, 210},    {12, 250, 353},
                                   {13, 182, 257}};
    const Paper* best = &papers[0];
    double bestDistance = 1e9;
    for (const Paper& p : papers) {
        const double distance = std::abs(p.width - page.width) + std::abs(p.length - page.length);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = &p;
        }
    }
    return best->code;
}

// The rules along a cell's edges.
struct Edges {
    bool top = false, topHeavy = false, bottom = false, bottomHeavy = false;
    bool left = false, right = false;
};

// One lxw_format per look used, made on first use; the workbook owns them.
class Formats {
public:
    Formats(lxw_workbook* book, const QString& font) : book_(book), font_(font.toUtf8()) {}

    lxw_format* of(const SheetCell* cell, const Edges& e) {
        const SheetCell plain;
        const SheetCell& c = cell ? *cell : plain;
        const QString key = QStringLiteral("%1|%2|%3|%4|%5%6%7%8%9|%10")
                                .arg(int(c.bold))
                                .arg(c.points)
                                .arg(int(c.align))
                                .arg(c.type == SheetCell::Type::Text ? QString() : c.format)
                                .arg(int(e.top))
                                .arg(int(e.topHeavy))
                                .arg(int(e.bottom))
                                .arg(int(e.bottomHeavy))
                                .arg(int(e.left) + 2 * int(e.right))
                                .arg(int(c.down > 1));
        if (lxw_format* known = made_.value(key)) return known;
        lxw_format* f = workbook_add_format(book_);
        format_set_font_name(f, font_.constData());
        format_set_font_size(f, c.points);
        if (c.bold) format_set_bold(f);
        format_set_align(f, c.align == Align::Right    ? LXW_ALIGN_RIGHT
                            : c.align == Align::Centre ? LXW_ALIGN_CENTER
                                                       : LXW_ALIGN_LEFT);
        format_set_align(f, c.down > 1 ? LXW_ALIGN_VERTICAL_CENTER : LXW_ALIGN_VERTICAL_BOTTOM);
        if (c.type != SheetCell::Type::Text && !c.format.isEmpty())
            format_set_num_format(f, c.format.toUtf8().constData());
        if (e.top) format_set_top(f, e.topHeavy ? LXW_BORDER_MEDIUM : LXW_BORDER_THIN);
        if (e.bottom) format_set_bottom(f, e.bottomHeavy ? LXW_BORDER_MEDIUM : LXW_BORDER_THIN);
        if (e.left) format_set_left(f, LXW_BORDER_THIN);
        if (e.right) format_set_right(f, LXW_BORDER_THIN);
        made_.insert(key, f);
        return f;
    }

private:
    lxw_workbook* book_;
    QByteArray font_;
    QHash<QString, lxw_format*> made_;
};

lxw_datetime dateTimeOf(const SheetCell& cell) {
    lxw_datetime t{};
    if (cell.type == SheetCell::Type::Date) {
        t.year = cell.date.year();
        t.month = cell.date.month();
        t.day = cell.date.day();
    } else {
        t.hour = cell.time.hour();
        t.min = cell.time.minute();
        t.sec = cell.time.second();
    }
    return t;
}

lxw_error writeCell(lxw_worksheet* ws, lxw_row_t row, lxw_col_t column, const SheetCell& cell,
                    lxw_format* format) {
    switch (cell.type) {
    case SheetCell::Type::Number:
        if (std::isfinite(cell.number))
            return worksheet_write_number(ws, row, column, cell.number, format);
        break;
    case SheetCell::Type::Date:
    case SheetCell::Type::Time: {
        lxw_datetime t = dateTimeOf(cell);
        return worksheet_write_datetime(ws, row, column, &t, format);
    }
    case SheetCell::Type::Text:
        break;
    }
    if (cell.text.isEmpty()) return worksheet_write_blank(ws, row, column, format);
    return worksheet_write_string(ws, row, column, cellText(cell.text).constData(), format);
}

// The rules along each column of a row.
QList<Edges> edgesOf(const SheetRow& row, int columns) {
    QList<Edges> edges(columns);
    for (const SheetRule& r : row.above)
        for (int c = std::max(0, r.first); c <= std::min(r.last, columns - 1); ++c) {
            edges[c].top = true;
            edges[c].topHeavy = edges[c].topHeavy || r.heavy;
        }
    for (const SheetRule& r : row.below)
        for (int c = std::max(0, r.first); c <= std::min(r.last, columns - 1); ++c) {
            edges[c].bottom = true;
            edges[c].bottomHeavy = edges[c].bottomHeavy || r.heavy;
        }
    for (int v : row.verticals) {
        if (v > 0 && v <= columns) edges[v - 1].right = true;
        if (v >= 0 && v < columns) edges[v].left = true;
    }
    return edges;
}

// Writes the sheet into `book`; the first error of libxlsxwriter, or LXW_NO_ERROR.
lxw_error fill(lxw_workbook* book, const Sheet& sheet, Progress* progress) {
    lxw_worksheet* ws = workbook_add_worksheet(book, sheetTabName(sheet.name).toUtf8().constData());
    if (!ws) return LXW_ERROR_SHEETNAME_ALREADY_USED;
    Formats formats(book, sheet.font);
    const int columns = sheet.columnCount();
    lxw_error error = LXW_NO_ERROR;
    auto check = [&error](lxw_error e) {
        if (error == LXW_NO_ERROR) error = e;
    };
    for (int c = 0; c < columns; ++c)
        check(worksheet_set_column(ws, lxw_col_t(c), lxw_col_t(c), sheet.columnWidths[c], nullptr));
    QList<lxw_row_t> breaks;
    for (int r = 0; r < sheet.rows.size(); ++r) {
        const SheetRow& row = sheet.rows[r];
        const QList<Edges> edges = edgesOf(row, columns);
        for (int c = 0; c < columns; ++c) {
            const auto cell = row.cells.constFind(c);
            const SheetCell* content = cell == row.cells.constEnd() ? nullptr : &*cell;
            const Edges& e = edges[c];
            if (!content && !e.top && !e.bottom && !e.left && !e.right) continue;
            lxw_format* format = formats.of(content, e);
            if (!content) {
                check(worksheet_write_blank(ws, lxw_row_t(r), lxw_col_t(c), format));
                continue;
            }
            if (content->across > 1 || content->down > 1)
                check(worksheet_merge_range(ws, lxw_row_t(r), lxw_col_t(c),
                                            lxw_row_t(r + content->down - 1),
                                            lxw_col_t(c + content->across - 1), "", format));
            check(writeCell(ws, lxw_row_t(r), lxw_col_t(c), *content, format));
        }
        if (row.pageBreakBefore && r > 0 && breaks.size() < 1023) breaks << lxw_row_t(r);
        if (progress) progress->step();
    }
    if (!breaks.isEmpty()) {
        breaks << 0; // the list's end
        check(worksheet_set_h_pagebreaks(ws, breaks.data()));
    }
    const int rows = int(sheet.rows.size());
    if (sheet.headingRows > 0 && sheet.headingRows < rows) {
        worksheet_freeze_panes(ws, lxw_row_t(sheet.headingRows), 0);
        check(worksheet_repeat_rows(ws, 0, lxw_row_t(sheet.headingRows - 1)));
    }
    if (rows > 0 && columns > 0)
        check(worksheet_print_area(ws, 0, 0, lxw_row_t(rows - 1), lxw_col_t(columns - 1)));
    if (sheet.page.landscape)
        worksheet_set_landscape(ws);
    else
        worksheet_set_portrait(ws);
    worksheet_set_paper(ws, paperOf(sheet.page));
    double bottom = sheet.page.bottom / mmPerInch;
    if (!sheet.footer.isEmpty()) {
        bottom = std::max(bottom, 0.5); // room for the footer under the last row
        lxw_header_footer_options footer{};
        footer.margin = 0.2;
        const QByteArray centred = (QStringLiteral("&C") + sheet.footer).toUtf8();
        check(worksheet_set_footer_opt(ws, centred.constData(), &footer));
    }
    worksheet_set_margins(ws, sheet.page.left / mmPerInch, sheet.page.right / mmPerInch,
                          sheet.page.top / mmPerInch, bottom);
    worksheet_fit_to_pages(ws, 1, 0); // as wide as the printed page, as long as it takes
    return error;
}

} // namespace

QString sheetTabName(const QString& name) {
    QString tab = name;
    static const QRegularExpression refused(QStringLiteral("[\\[\\]:*?/\\\\]"));
    tab.replace(refused, QStringLiteral(" "));
    tab = tab.trimmed();
    while (tab.startsWith(QLatin1Char('\'')))
        tab.remove(0, 1);
    tab.truncate(31);
    while (tab.endsWith(QLatin1Char('\'')))
        tab.chop(1);
    tab = tab.trimmed();
    return tab.isEmpty() ? QStringLiteral("Sheet1") : tab;
}

void writeXlsx(const Sheet& sheet, const QString& path, Progress* progress) {
    if (sheet.rows.size() > maxRows)
        throw FileError(cannotWrite(path, QStringLiteral("報表有 %L1 列，超過 Excel 工作表的 "
                                                         "%L2 列")
                                              .arg(sheet.rows.size())
                                              .arg(maxRows)),
                        path);
    // libxlsxwriter writes a file by its name: it writes into a folder of its own, and the
    // finished workbook replaces the old file in one step.
    QTemporaryDir scratch;
    if (!scratch.isValid()) throw FileError(cannotWrite(path, scratch.errorString()), path);
    const QByteArray folder = QFile::encodeName(scratch.path());
    const QString builtPath = scratch.filePath(QStringLiteral("book.xlsx"));
    const QByteArray built = QFile::encodeName(builtPath);
    lxw_workbook_options options{};
    options.constant_memory = LXW_FALSE;
    options.tmpdir = const_cast<char*>(folder.constData());
    lxw_workbook* book = workbook_new_opt(built.constData(), &options);
    if (!book) throw FileError(cannotWrite(path, QStringLiteral("無法建立活頁簿")), path);
    QByteArray title = sheet.title.toUtf8();
    QByteArray author = QByteArrayLiteral("TOLVAR");
    lxw_doc_properties properties{};
    properties.title = title.data();
    properties.author = author.data();
    workbook_set_properties(book, &properties);
    const lxw_error filled = fill(book, sheet, progress);
    const lxw_error closed = workbook_close(book); // frees the workbook in every case
    if (filled != LXW_NO_ERROR || closed != LXW_NO_ERROR)
        throw FileError(
            cannotWrite(path, QString::fromUtf8(lxw_strerror(filled ? filled : closed))), path);

    QFile source(builtPath);
    if (!source.open(QIODevice::ReadOnly))
        throw FileError(cannotWrite(path, source.errorString()), path);
    QSaveFile target(path);
    if (!target.open(QIODevice::WriteOnly))
        throw FileError(cannotWrite(path, target.errorString()), path);
    const QByteArray bytes = source.readAll();
    if (target.write(bytes) != bytes.size() || !target.commit())
        throw FileError(cannotWrite(path, target.errorString()), path);
}

} // namespace rpt
