#include "reports/common/report_sheet.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <limits>

namespace rpt {

namespace {

constexpr double mmPerPixel = 25.4 / 96;
constexpr double sameLine = 1.5;       // millimetres: texts whose tops differ less share a line
constexpr double wideShare = 0.6;      // a centred caption this share of the page spans the sheet
constexpr double mmPerCharacter = 1.9; // a column's printed width in characters
constexpr double narrowest = 4, widest = 60;

bool showsText(const Control& c) {
    return c.kind != Kind::Line && c.kind != Kind::Box;
}

double overlap(double left1, double right1, double left2, double right2) {
    return std::max(0.0, std::min(right1, right2) - std::max(left1, left2));
}

struct Column {
    double left, right;
    double width() const { return right - left; }
};

// The sheet's columns: the detail bands' texts left to right, texts printed above one another
// (a row printed on two lines) sharing one.
QList<Column> columnsOf(const RenderedReport& report) {
    QList<Column> spans;
    auto collect = [&](bool detailOnly) {
        for (const Band& b : report.bands)
            if (!detailOnly || b.kind == BandKind::Detail)
                for (const Control& c : b.controls)
                    if (showsText(c) && c.width > 0) spans << Column{c.left, c.left + c.width};
    };
    collect(true);
    if (spans.isEmpty()) collect(false);
    if (spans.isEmpty()) spans << Column{0, report.paper.width()};
    std::sort(spans.begin(), spans.end(), [](const Column& a, const Column& b) {
        return a.left != b.left ? a.left < b.left : a.right < b.right;
    });
    QList<Column> columns;
    for (const Column& s : spans) {
        if (!columns.isEmpty()) {
            Column& last = columns.last();
            if (overlap(s.left, s.right, last.left, last.right) >
                0.5 * std::min(s.width(), last.width())) {
                last.left = std::min(last.left, s.left);
                last.right = std::max(last.right, s.right);
                continue;
            }
        }
        columns << s;
    }
    return columns;
}

// A printed text on its way to a cell.
struct Item {
    const Control* control;
    const PrintedText* printed;
    double left, right, top, height;
    bool wide = false; // a caption centred across the page (the station, the title)
    int column = -1;
};

struct Line {
    QList<Item> items;
    double top = 0, bottom = 0;
    bool hasWide() const {
        return std::any_of(items.begin(), items.end(), [](const Item& i) { return i.wide; });
    }
};

// Gives the texts of a line, left to right, columns left to right, each text its own column:
// the assignment that keeps the texts nearest their columns (most overlap, least distance).
// A line of more texts than there are columns (the title line of a narrow report: captions,
// dates, the printing day) takes one column a text, going on past the last column, so that
// each date and figure keeps a cell of its own.
void assignColumns(QList<Item>& items, const QList<Column>& columns) {
    QList<Item*> texts;
    for (Item& item : items)
        if (!item.wide) texts << &item;
    const int n = int(texts.size()), m = int(columns.size());
    if (n == 0 || m == 0) return;
    if (n > m) {
        for (int i = 0; i < n; ++i)
            texts[i]->column = i;
        return;
    }
    constexpr double sharing = 10000; // a text kept beside another costs more than any distance
    auto cost = [&](int i, int c) {
        const Item& t = *texts[i];
        const double shared = overlap(t.left, t.right, columns[c].left, columns[c].right);
        const double gap = std::max({0.0, columns[c].left - t.right, t.left - columns[c].right});
        return gap - shared;
    };
    // best[i][c]: the least cost of texts 0..i with text i in column c (or beside text i-1
    // there); from[i][c]: text i-1's column then, and whether text i shares it.
    const double none = std::numeric_limits<double>::max();
    QList<QList<double>> best(n, QList<double>(m, none));
    QList<QList<int>> from(n, QList<int>(m, -1));
    QList<QList<bool>> shares(n, QList<bool>(m, false));
    for (int c = 0; c < m; ++c)
        best[0][c] = cost(0, c);
    for (int i = 1; i < n; ++i) {
        double leastBefore = none;
        int leastAt = -1;
        for (int c = 0; c < m; ++c) {
            // Its own column c, after the best of texts 0..i-1 ending left of c.
            if (leastAt >= 0) {
                best[i][c] = leastBefore + cost(i, c);
                from[i][c] = leastAt;
            }
            // Beside text i-1 in its column c.
            if (best[i - 1][c] < none && best[i - 1][c] + sharing < best[i][c]) {
                best[i][c] = best[i - 1][c] + sharing;
                from[i][c] = c;
                shares[i][c] = true;
            }
            if (best[i - 1][c] < leastBefore) {
                leastBefore = best[i - 1][c];
                leastAt = c;
            }
        }
    }
    int c = int(std::min_element(best[n - 1].begin(), best[n - 1].end()) - best[n - 1].begin());
    for (int i = n - 1; i >= 0; --i) {
        texts[i]->column = shares[i][c] ? -1 : c;
        if (i > 0) c = from[i][c];
    }
}

// A centred caption sharing its line with other texts takes the run of free columns nearest
// the page's middle; -1 when every column is taken.
int freeRunFor(const Item& wide, const QList<Item>& items, const QList<Column>& columns,
               int* across) {
    QList<bool> taken(columns.size(), false);
    for (const Item& i : items)
        if (!i.wide && i.column >= 0 && i.column < taken.size()) taken[i.column] = true;
    const double centre = (wide.left + wide.right) / 2;
    int bestStart = -1, bestLength = 0;
    double bestDistance = std::numeric_limits<double>::max();
    for (int c = 0; c < columns.size();) {
        if (taken[c]) {
            ++c;
            continue;
        }
        int end = c;
        while (end < columns.size() && !taken[end])
            ++end;
        const double left = columns[c].left, right = columns[end - 1].right;
        const double distance = centre < left ? left - centre : centre > right ? centre - right : 0;
        if (distance < bestDistance) {
            bestDistance = distance;
            bestStart = c;
            bestLength = end - c;
        }
        c = end;
    }
    *across = bestLength;
    return bestStart;
}

struct BandRows {
    QList<SheetRow> rows;
    QList<double> tops; // each row's top within the band, millimetres
};

class SheetBuilder {
public:
    SheetBuilder(const RenderedReport& report, Sheet& sheet)
        : report_(report), sheet_(sheet), columns_(columnsOf(report)) {}

    void add(const PrintedBand& printed);
    int rowCount() const { return int(sheet_.rows.size()); }
    void setWidths();

private:
    QList<Line> linesOf(const Band& band, const PrintedBand& printed);
    QList<SheetRow> rowsOf(const Line& line);
    void addRules(const Band& band, BandRows& rows);

    const RenderedReport& report_;
    Sheet& sheet_;
    QList<Column> columns_;
    QList<SheetRule> pendingAbove_; // rules of bands that printed no row, above the next row
    bool pendingBreak_ = false;
};

QList<Line> SheetBuilder::linesOf(const Band& band, const PrintedBand& printed) {
    const double printable = report_.paper.width() - report_.page.left - report_.page.right;
    QList<Item> items;
    for (const PrintedText& p : printed.texts) {
        const Control& c = band.controls[p.control];
        Item item{&c, &p, c.left, c.left + c.width, c.top, c.pixels * mmPerPixel * 1.25};
        item.wide = c.align == Align::Centre && c.width >= wideShare * printable;
        items << item;
    }
    std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        return a.top != b.top ? a.top < b.top : a.left < b.left;
    });
    QList<Line> lines;
    for (const Item& item : items) {
        if (lines.isEmpty() || item.top - lines.last().top > sameLine) {
            Line line;
            line.top = item.top;
            lines << line;
        }
        Line& line = lines.last();
        line.items << item;
        line.bottom = std::max(line.bottom, item.top + item.height);
    }
    for (Line& line : lines) {
        std::sort(line.items.begin(), line.items.end(),
                  [](const Item& a, const Item& b) { return a.left < b.left; });
        // The page number goes to the sheet's footer with the caption before it.
        for (qsizetype i = 0; i < line.items.size(); ++i) {
            if (line.items[i].control->kind != Kind::PageNumber) continue;
            QString caption;
            if (i > 0 && line.items[i - 1].control->kind == Kind::Label) {
                caption = line.items[i - 1].printed->text.trimmed();
                line.items.remove(i - 1);
                --i;
            }
            line.items.remove(i);
            --i;
            caption.replace(QLatin1Char('&'), QStringLiteral("&&")); // "&" starts a footer code
            sheet_.footer =
                caption.isEmpty() ? QStringLiteral("&P") : caption + QStringLiteral(" &P");
        }
        assignColumns(line.items, columns_);
    }
    lines.removeIf([](const Line& l) { return l.items.isEmpty(); });
    // A text printed between two lines (a date centred on a row of two lines) joins the line it
    // starts in, when their columns differ.
    QList<Line> merged;
    for (const Line& line : lines) {
        if (!merged.isEmpty() && line.top < merged.last().bottom - 0.3 && !line.hasWide() &&
            !merged.last().hasWide()) {
            Line& before = merged.last();
            const bool apart =
                std::none_of(line.items.begin(), line.items.end(), [&](const Item& i) {
                    return i.column < 0 ||
                           std::any_of(before.items.begin(), before.items.end(),
                                       [&](const Item& b) { return b.column == i.column; });
                });
            if (apart) {
                before.items << line.items;
                before.bottom = std::max(before.bottom, line.bottom);
                continue;
            }
        }
        merged << line;
    }
    return merged;
}

QList<SheetRow> SheetBuilder::rowsOf(const Line& line) {
    SheetRow row;
    const Item* previous = nullptr;
    for (const Item& item : line.items) {
        if (item.wide) continue;
        if (item.column < 0 && previous) {
            // No column left: the text goes beside the one before it.
            SheetCell& before = row.cells[previous->column];
            before.text = before.text + QLatin1Char(' ') + item.printed->text;
            before.type = SheetCell::Type::Text;
            continue;
        }
        row.cells.insert(std::max(0, item.column), printedCell(*item.control, *item.printed));
        previous = &item;
    }
    QList<SheetRow> rows;
    for (const Item& item : line.items) {
        if (!item.wide) continue;
        SheetCell cell = printedCell(*item.control, *item.printed);
        int across = int(columns_.size());
        const int column = freeRunFor(item, line.items, columns_, &across);
        if (column < 0) { // every column taken: a row of its own above the line
            SheetRow own;
            cell.across = int(columns_.size());
            own.cells.insert(0, cell);
            rows << own;
            continue;
        }
        cell.across = across;
        row.cells.insert(column, cell);
    }
    if (!row.cells.isEmpty()) rows << row;
    return rows;
}

void SheetBuilder::addRules(const Band& band, BandRows& rows) {
    // The band's frame sides and the rules down it, at the column edges nearest them.
    QList<int> verticals;
    if (band.frame.left) verticals << 0;
    if (band.frame.right) verticals << int(columns_.size());
    for (const Control& c : band.controls)
        if (c.kind == Kind::Line && c.width == 0 && c.height >= 0.5 * band.height) {
            const int edge =
                int(std::count_if(columns_.begin(), columns_.end(), [&](const Column& k) {
                    return (k.left + k.right) / 2 < c.left;
                }));
            if (!verticals.contains(edge)) verticals << edge;
        }
    for (SheetRow& row : rows.rows)
        row.verticals = verticals;

    struct Rule {
        double y, left, right;
        bool heavy;
    };
    const double width = report_.paper.width() - report_.page.left - report_.page.right;
    QList<Rule> rules;
    if (band.frame.top) rules << Rule{0, 0, width, false};
    if (band.frame.bottom) rules << Rule{band.height, 0, width, false};
    for (const Control& c : band.controls) {
        if (c.kind == Kind::Line && c.height == 0 && c.width > 0)
            rules << Rule{c.top, c.left, c.left + c.width, false};
        if (c.kind == Kind::Box && !c.bold && c.width > 0) {
            rules << Rule{c.top, c.left, c.left + c.width, false};
            rules << Rule{c.top + c.height, c.left, c.left + c.width, false};
        }
        if (c.kind == Kind::Box && c.bold && c.height < 3 && c.width > c.height)
            rules << Rule{c.top, c.left, c.left + c.width, true};
    }
    for (const Rule& r : rules) {
        int first = -1, last = -1;
        for (int c = 0; c < columns_.size(); ++c)
            if (overlap(r.left, r.right, columns_[c].left, columns_[c].right) >
                0.5 * columns_[c].width()) {
                if (first < 0) first = c;
                last = c;
            }
        if (first < 0) continue;
        const SheetRule rule{first, last, r.heavy};
        int at = -1;
        for (int i = 0; i < rows.tops.size() && at < 0; ++i)
            if (rows.tops[i] >= r.y - 0.3) at = i;
        if (at >= 0)
            rows.rows[at].above << rule;
        else if (!rows.rows.isEmpty())
            rows.rows.last().below << rule;
        else if (!sheet_.rows.isEmpty())
            sheet_.rows.last().below << rule;
        else
            pendingAbove_ << rule;
    }
}

void SheetBuilder::add(const PrintedBand& printed) {
    const Band& band = report_.bands[printed.band];
    BandRows rows;
    for (const Line& line : linesOf(band, printed))
        for (const SheetRow& row : rowsOf(line)) {
            rows.rows << row;
            rows.tops << line.top;
        }
    addRules(band, rows);
    pendingBreak_ = pendingBreak_ || printed.newPage;
    if (rows.rows.isEmpty()) return;
    rows.rows.first().above << pendingAbove_;
    pendingAbove_.clear();
    rows.rows.first().pageBreakBefore =
        std::exchange(pendingBreak_, false) && !sheet_.rows.isEmpty();
    sheet_.rows << rows.rows;
}

void SheetBuilder::setWidths() {
    sheet_.columnWidths.clear();
    for (const Column& c : columns_)
        sheet_.columnWidths << std::max(narrowest, c.width() / mmPerCharacter);
    for (const SheetRow& row : sheet_.rows) // the columns a title line went on into
        if (!row.cells.isEmpty())
            while (sheet_.columnWidths.size() <= row.cells.lastKey())
                sheet_.columnWidths << narrowest;
    // A caption across every column spans those too.
    const int spanned = int(columns_.size()), all = int(sheet_.columnWidths.size());
    for (SheetRow& row : sheet_.rows)
        if (auto first = row.cells.find(0); first != row.cells.end() && first->across == spanned)
            first->across = all;
    for (const SheetRow& row : sheet_.rows)
        for (auto cell = row.cells.constBegin(); cell != row.cells.constEnd(); ++cell) {
            if (cell->across > 1) continue;
            double& width = sheet_.columnWidths[cell.key()];
            width = std::max(width, textWidth(cell->text) * cell->points / 10 + 1.5);
        }
    for (double& width : sheet_.columnWidths)
        width = std::min(width, widest);
}

const QRegularExpression& figurePattern() {
    // An optional minus, a "$", digits grouped by three or not, decimals, a percent sign.
    static const QRegularExpression pattern(
        QStringLiteral("^(-?)(\\$?)(\\d{1,3}(?:,\\d{3})+|\\d*)(?:\\.(\\d*))?(%?)$"));
    return pattern;
}

std::optional<SheetCell> dateCell(const QString& text) {
    static const QRegularExpression day(QStringLiteral("^\\d{4}/\\d{2}/\\d{2}$"));
    static const QRegularExpression month(QStringLiteral("^\\d{4}/\\d{2}$"));
    static const QRegularExpression clock(QStringLiteral("^\\d{2}:\\d{2}(:\\d{2})?$"));
    SheetCell cell;
    cell.text = text;
    if (day.match(text).hasMatch()) {
        cell.date = QDate::fromString(text, QStringLiteral("yyyy/MM/dd"));
        cell.format = QStringLiteral("yyyy/mm/dd");
    } else if (month.match(text).hasMatch()) {
        cell.date = QDate::fromString(text + QStringLiteral("/01"), QStringLiteral("yyyy/MM/dd"));
        cell.format = QStringLiteral("yyyy/mm");
    } else if (clock.match(text).hasMatch()) {
        const bool seconds = text.size() > 5;
        cell.time =
            QTime::fromString(text, seconds ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm"));
        if (!cell.time.isValid()) return std::nullopt;
        cell.type = SheetCell::Type::Time;
        cell.format = seconds ? QStringLiteral("hh:mm:ss") : QStringLiteral("hh:mm");
        return cell;
    }
    if (!cell.date.isValid()) return std::nullopt;
    cell.type = SheetCell::Type::Date;
    return cell;
}

QString quoted(const QString& literal) {
    if (literal.isEmpty()) return literal;
    QString escaped = literal;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

// The integer part of a number format: `zeros` digits always shown, grouped by three or not.
QString integerFormat(int zeros, bool grouping) {
    if (!grouping) return zeros == 0 ? QStringLiteral("#") : QString(zeros, QLatin1Char('0'));
    const int places = std::max(4, zeros);
    QString picture = QString(places - zeros, QLatin1Char('#')) + QString(zeros, QLatin1Char('0'));
    for (int at = places - 3; at > 0; at -= 3)
        picture.insert(at, QLatin1Char(','));
    return picture;
}

} // namespace

double pointsOf(const Control& control) {
    return std::round(control.pixels * 0.75 * 2) / 2;
}

double textWidth(const QString& text) {
    double width = 0;
    for (QChar c : text)
        width += c.unicode() >= 0x2E80 ? 2 : 1;
    return width;
}

QString numberFormat(const QString& mask) {
    auto placeholder = [](QChar c) {
        return c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char('.') ||
               c == QLatin1Char(',');
    };
    qsizetype first = 0;
    while (first < mask.size() && !placeholder(mask[first]))
        ++first;
    qsizetype last = mask.size();
    while (last > first && !placeholder(mask[last - 1]))
        --last;
    const QString picture = mask.mid(first, last - first);
    const qsizetype point = picture.indexOf(QLatin1Char('.'));
    const QString integer = point < 0 ? picture : picture.left(point);
    const QString fraction = point < 0 ? QString() : picture.mid(point + 1);
    int zeros = 0;
    bool seenZero = false;
    for (QChar c : integer) {
        if (c == QLatin1Char('0')) seenZero = true;
        if (seenZero && (c == QLatin1Char('0') || c == QLatin1Char('#'))) ++zeros;
    }
    int decimals = 0, fixed = 0;
    for (QChar c : fraction) {
        if (c == QLatin1Char('0') || c == QLatin1Char('#')) ++decimals;
        if (c == QLatin1Char('0')) fixed = decimals;
    }
    QString format = integerFormat(zeros, integer.contains(QLatin1Char(',')));
    if (decimals > 0)
        format += QLatin1Char('.') + QString(fixed, QLatin1Char('0')) +
                  QString(decimals - fixed, QLatin1Char('#'));
    return quoted(mask.left(first)) + format + quoted(mask.mid(last));
}

std::optional<SheetCell> figureCell(const QString& text) {
    const QRegularExpressionMatch m = figurePattern().match(text);
    if (!m.hasMatch()) return std::nullopt;
    const QString integer = m.captured(3), fraction = m.captured(4);
    if (integer.isEmpty() && fraction.isEmpty()) return std::nullopt;
    // "01", "007": a code, which a number would show without its zeros.
    if (integer.size() > 1 && integer.startsWith(QLatin1Char('0'))) return std::nullopt;
    const bool percent = !m.captured(5).isEmpty();
    // Read as decimal digits and a power of ten, so the number is the printed figure exactly.
    QString digits = integer;
    digits.remove(QLatin1Char(','));
    digits += fraction;
    const int exponent = -int(fraction.size()) - (percent ? 2 : 0);
    bool ok = false;
    const double number =
        (m.captured(1) + digits + QStringLiteral("e%1").arg(exponent)).toDouble(&ok);
    if (!ok) return std::nullopt;
    SheetCell cell;
    cell.type = SheetCell::Type::Number;
    cell.text = text;
    cell.number = number == 0 ? 0.0 : number; // no "-0"
    // Grouped where the figure is, and where grouping shows it the same (three digits or
    // fewer), so that a column of amounts has one format whatever their sizes.
    const bool grouped = integer.contains(QLatin1Char(',')) ||
                         (!integer.isEmpty() && integer.size() <= 3 && !percent);
    cell.format = integerFormat(integer.isEmpty() ? 0 : 1, grouped);
    if (!fraction.isEmpty()) cell.format += QLatin1Char('.') + QString(fraction.size(), '0');
    if (!m.captured(2).isEmpty()) cell.format.prepend(QStringLiteral("\"$\""));
    if (percent) cell.format += QLatin1Char('%');
    cell.align = Align::Right;
    return cell;
}

SheetCell printedCell(const Control& control, const PrintedText& printed) {
    const QString& text = printed.text;
    std::optional<SheetCell> cell;
    switch (control.kind) {
    case Kind::PrintDate:
        cell = dateCell(text);
        break;
    case Kind::PageNumber:
        cell = figureCell(text);
        break;
    case Kind::Sum:
    case Kind::Field:
        if (!control.mask.isEmpty()) {
            cell = figureCell(text);
            if (cell) cell->format = numberFormat(control.mask);
            break;
        }
        if (control.kind == Kind::Field) {
            const Value::Type type = printed.value.type();
            if (type == Value::Type::Integer || type == Value::Type::Float)
                cell = figureCell(text);
            else if (type == Value::Type::Text || type == Value::Type::Date ||
                     type == Value::Type::Time)
                cell = dateCell(text); // codes that look like figures stay text
        } else {
            cell = figureCell(text);
        }
        break;
    case Kind::Label:
        // A caption holds a figure when it is written like one: grouped, with decimals, a
        // dollar or percent sign, or a whole number set to the right like the figures.
        if (cell = figureCell(text); cell) {
            const bool written = text.contains(QRegularExpression(QStringLiteral("[,.$%]")));
            if (!written && control.align != Align::Right) cell.reset();
        }
        if (!cell) cell = dateCell(text);
        break;
    case Kind::Line:
    case Kind::Box:
        break;
    }
    SheetCell result = cell.value_or(SheetCell());
    if (!cell) result.text = text;
    result.align = control.align;
    result.bold = control.bold;
    result.points = pointsOf(control);
    return result;
}

QHash<QString, NamedText> printedTexts(const RenderedReport& report, const QStringList& bands) {
    QHash<QString, NamedText> texts;
    for (const PrintedBand& printed : report.printed) {
        const Band& band = report.bands[printed.band];
        if (!bands.isEmpty() && !bands.contains(band.name)) continue;
        for (const PrintedText& t : printed.texts) {
            const Control& c = band.controls[t.control];
            if (!texts.contains(c.name)) texts.insert(c.name, NamedText{c, t});
        }
    }
    return texts;
}

Sheet sheetFromPrint(const RenderedReport& report, const QString& name) {
    Sheet sheet;
    sheet.name = name;
    sheet.title = name;
    sheet.font = report.page.font;
    sheet.page = report.page;
    SheetBuilder builder(report, sheet);
    const int lastPage = report.pages.isEmpty() ? 0 : int(report.pages.size()) - 1;
    for (const PrintedBand& p : report.printed)
        if (p.pageHeader && p.page == 0) builder.add(p);
    sheet.headingRows = builder.rowCount();
    for (const PrintedBand& p : report.printed)
        if (!p.pageHeader && !p.pageFooter) builder.add(p);
    for (const PrintedBand& p : report.printed)
        if (p.pageFooter && p.page == lastPage) builder.add(p);
    builder.setWidths();
    return sheet;
}

} // namespace rpt
