#include "reports/common/report_renderer.h"

#include "db/query.h"
#include "reports/common/number_mask.h"
#include "reports/common/text_fitting.h"

#include <stdexcept>
#include <utility>

using namespace rpt;

namespace {

constexpr double mmPerPixel = 25.4 / 96;

QString withoutTrailingBlanks(QString text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QLatin1Char(' '))
        --end;
    text.truncate(end);
    return text;
}

} // namespace

ReportRun::ReportRun(Layout layout, Query& data, Query* subData, const QDate& printingDate)
    : layout_(std::move(layout)), data_(data), subData_(subData), fieldsFrom_(&data),
      printingDate_(printingDate) {}

Band& ReportRun::band(const QString& name) {
    for (Band& b : layout_.bands)
        if (b.name == name) return b;
    throw std::out_of_range("no band " + name.toStdString());
}

Control* ReportRun::findControl(const QString& name) {
    for (Band& b : layout_.bands)
        for (Control& c : b.controls)
            if (c.name == name) return &c;
    return nullptr;
}

void ReportRun::setCaption(const QString& control, const QString& text) {
    Control* c = findControl(control);
    if (!c) throw std::out_of_range("no control " + control.toStdString());
    c->content = text;
}

QString ReportRun::caption(const QString& control) {
    Control* c = findControl(control);
    return c ? c->content : QString();
}

Value ReportRun::field(const QString& name) const {
    Query& q = *fieldsFrom_;
    const int column = q.fieldIndex(name);
    if (column < 0 || q.recNo() < 0) return {};
    return q.value(q.recNo(), column);
}

Band* ReportRun::bandNamed(const QString& name) {
    if (name.isEmpty()) return nullptr;
    for (Band& b : layout_.bands)
        if (b.name == name) return &b;
    return nullptr;
}

QList<Band*> ReportRun::bandsOf(BandKind kind) {
    QList<Band*> list;
    for (Band& b : layout_.bands)
        if (b.kind == kind) list << &b;
    return list;
}

double ReportRun::bodyBottom() const {
    double footer = 0;
    for (const Band& b : layout_.bands)
        if (b.kind == BandKind::PageFooter && b.enabled) footer += b.height;
    const PageSetup& p = layout_.page;
    return out_.paper.height() - p.bottom - footer;
}

void ReportRun::startPage() {
    out_.pages.append(PageItems());
    ++pageNumber_;
    pageOpen_ = true;
    bodyPrinted_ = false;
    y_ = layout_.page.top;
    inPageHeader_ = true;
    for (Band* b : bandsOf(BandKind::PageHeader))
        printBand(*b);
    inPageHeader_ = false;
}

// Ends the page and begins the next one because the layout asks for a new page here.
void ReportRun::startForcedPage() {
    endPage();
    startPage();
    pageForced_ = true;
}

void ReportRun::endPage() {
    if (!pageOpen_) return;
    double footerTop = bodyBottom();
    inPageFooter_ = true;
    for (Band* b : bandsOf(BandKind::PageFooter)) {
        if (!b->enabled || (b->beforePrint && !b->beforePrint(*this))) continue;
        y_ = footerTop;
        placeBand(*b);
        footerTop += b->height;
        if (b->afterPrint) b->afterPrint(*this);
    }
    inPageFooter_ = false;
    pageOpen_ = false;
}

void ReportRun::printBand(Band& band) {
    if (!band.enabled) return;
    if (band.beforePrint && !band.beforePrint(*this)) return;
    const bool header = band.kind == BandKind::PageHeader;
    if (!header && bodyPrinted_ && y_ + band.height > bodyBottom() + 1e-9) {
        endPage();
        startPage();
    }
    placeBand(band);
    if (!header) bodyPrinted_ = true;
    if (band.afterPrint) band.afterPrint(*this);
    for (Band& child : layout_.bands)
        if (child.kind == BandKind::Child && child.parent == band.name) printBand(child);
}

// The sub-detail's header, its rows over the second data set (none when it is empty) and its
// footer.
void ReportRun::printSubDetail(Band& sub) {
    if (!sub.enabled) return;
    if (Band* header = bandNamed(sub.header); header && header->enabled) {
        if (header->forceNewPage && bodyPrinted_) startForcedPage();
        printBand(*header);
    }
    fieldsFrom_ = subData_;
    for (int s = 0; s < subData_->recordCount(); ++s) {
        subData_->moveTo(s);
        printBand(sub);
    }
    fieldsFrom_ = &data_;
    if (Band* footer = bandNamed(sub.footer)) printBand(*footer);
}

void ReportRun::placeBand(const Band& band) {
    PageItems& page = out_.pages.last();
    const double x0 = layout_.page.left;
    const double top = y_;
    PrintedBand printed;
    printed.band = int(&band - layout_.bands.constData());
    printed.page = int(out_.pages.size()) - 1;
    printed.top = top;
    printed.pageHeader = inPageHeader_;
    printed.pageFooter = inPageFooter_;
    if (!inPageHeader_ && !inPageFooter_) printed.newPage = std::exchange(pageForced_, false);
    for (qsizetype index = 0; index < band.controls.size(); ++index) {
        const Control& c = band.controls[index];
        const double x = x0 + c.left;
        const double y = top + c.top;
        switch (c.kind) {
        case Kind::Line:
            page.lines << QLineF(x, y, x + c.width, y + c.height);
            break;
        case Kind::Box:
            (c.bold ? page.bars : page.boxes) << QRectF(x, y, c.width, c.height);
            break;
        default: {
            const QString text = controlText(band, c);
            if (text.isEmpty()) break;
            printed.texts.append(
                {int(index), text, c.kind == Kind::Field ? field(c.content) : Value()});
            const double height = c.pixels * mmPerPixel * 1.25;
            TextItem item;
            item.rect = QRectF(x, y, c.width, height);
            item.text = text;
            item.font = layout_.page.font;
            item.pixels = c.pixels;
            item.bold = c.bold;
            item.align = c.align;
            page.texts << item;
        }
        }
    }
    const double width = out_.paper.width() - layout_.page.left - layout_.page.right;
    if (band.frame.top) page.lines << QLineF(x0, top, x0 + width, top);
    if (band.frame.bottom)
        page.lines << QLineF(x0, top + band.height, x0 + width, top + band.height);
    if (band.frame.left) page.lines << QLineF(x0, top, x0, top + band.height);
    if (band.frame.right) page.lines << QLineF(x0 + width, top, x0 + width, top + band.height);
    out_.printed.append(std::move(printed));
    y_ = top + band.height;
}

QString ReportRun::controlText(const Band& band, const Control& c) const {
    switch (c.kind) {
    case Kind::Label:
        return c.content;
    case Kind::PrintDate:
        return printingDate_.toString(QStringLiteral("yyyy/MM/dd"));
    case Kind::PageNumber:
        return QString::number(pageNumber_);
    case Kind::Sum: {
        const double total = sums_.value(band.name).value(c.content);
        return c.mask.isEmpty() ? Value(total).toText() : formatMask(total, c.mask);
    }
    case Kind::Field: {
        const Value v = field(c.content);
        if (v.isNull()) return c.mask.isEmpty() ? QString() : formatMask(0, c.mask);
        if (!c.mask.isEmpty()) return formatMask(v.toDouble(), c.mask);
        return withoutTrailingBlanks(v.toText());
    }
    case Kind::Line:
    case Kind::Box:
        break;
    }
    return {};
}

void ReportRun::addRowToSums() {
    for (const Band& b : layout_.bands)
        for (const Control& c : b.controls)
            if (c.kind == Kind::Sum) sums_[b.name][c.content] += field(c.content).toDouble();
}

void ReportRun::resetSums(const QString& band) {
    sums_.remove(band);
}

RenderedReport ReportRun::render() {
    const PageSetup& p = layout_.page;
    out_ = RenderedReport();
    out_.paper = p.landscape ? QSizeF(p.length, p.width) : QSizeF(p.width, p.length);
    out_.page = p;
    pageNumber_ = 0;
    pageForced_ = false;
    sums_.clear();
    if (layout_.beforeStart) layout_.beforeStart(*this);
    for (const Band& b : layout_.bands) {
        Band shape = b;
        shape.beforePrint = nullptr;
        shape.afterPrint = nullptr;
        out_.bands << shape;
    }
    if (!data_.active() || data_.isEmpty()) return out_;

    QList<Band*> groups = bandsOf(BandKind::GroupHeader);
    // A sub-detail's header prints with the sub-detail and starts no group.
    for (const Band& b : layout_.bands)
        if (b.kind == BandKind::SubDetail) groups.removeAll(bandNamed(b.header));
    QList<QString> keys(groups.size());
    auto footerOf = [this](Band* group) -> Band* {
        for (Band& b : layout_.bands)
            if (b.name == group->footer) return &b;
        return nullptr;
    };
    auto closeGroups = [&](int from) {
        for (int g = int(groups.size()) - 1; g >= from; --g)
            if (Band* footer = footerOf(groups[g])) {
                printBand(*footer);
                resetSums(footer->name);
            }
    };
    auto keyOf = [this](const Band* group) {
        return group->expression.isEmpty() ? QString() : field(group->expression).toText();
    };

    startPage();
    const Bookmark at = data_.bookmark();
    for (int row = 0; row < data_.recordCount(); ++row) {
        data_.moveTo(row);
        // The outermost group whose value changed closes every group inside it.
        int changed = row == 0 ? 0 : -1;
        for (int g = 0; g < groups.size() && changed < 0 && row > 0; ++g)
            if (keyOf(groups[g]) != keys[g]) changed = g;
        if (changed >= 0) {
            if (row > 0) closeGroups(changed);
            for (int g = changed; g < groups.size(); ++g) {
                keys[g] = keyOf(groups[g]);
                if (groups[g]->enabled && groups[g]->forceNewPage && row > 0) startForcedPage();
                printBand(*groups[g]);
            }
        }
        for (Band* detail : bandsOf(BandKind::Detail))
            printBand(*detail);
        addRowToSums();
        if (subData_)
            for (Band* sub : bandsOf(BandKind::SubDetail))
                printSubDetail(*sub);
    }
    closeGroups(0);
    for (Band* summary : bandsOf(BandKind::Summary)) {
        if (summary->enabled && summary->forceNewPage) startForcedPage();
        printBand(*summary);
    }
    endPage();
    data_.gotoBookmark(at);
    for (PageItems& page : out_.pages)
        fitTexts(page, p.left, out_.paper.width() - p.right);
    return out_;
}

namespace rpt {
RenderedReport render(const Layout& layout, Query& data, Query* subData,
                      const QDate& printingDate) {
    ReportRun run(layout, data, subData, printingDate);
    return run.render();
}
} // namespace rpt
