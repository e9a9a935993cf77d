#include "reports/common/text_fitting.h"

#include "reports/common/report_fonts.h"

#include <QGuiApplication>
#include <algorithm>

namespace rpt {

namespace {

constexpr double mmPerPixel = 25.4 / 96;

// The height a text's letters take: its size.
double inkHeight(const TextItem& t) {
    return t.pixels * mmPerPixel;
}

bool sameLine(const TextItem& a, double top, double bottom) {
    const double aTop = a.rect.top(), aBottom = aTop + inkHeight(a);
    return aTop < bottom - 0.05 && top < aBottom - 0.05;
}

// The text placed at its natural width against its box.
QRectF natural(const TextItem& t, double width) {
    const QRectF& box = t.rect;
    double x = box.left();
    if (t.align == Align::Right) x = box.right() - width;
    if (t.align == Align::Centre) x = box.center().x() - width / 2;
    return QRectF(x, box.top(), width, inkHeight(t));
}

// The space a text claims before it is fitted: its letters where they fit its box, else the box.
QRectF claim(const TextItem& t, double width) {
    if (width <= t.rect.width() + 1e-9) return natural(t, width);
    return QRectF(t.rect.left(), t.rect.top(), t.rect.width(), inkHeight(t));
}

struct Span {
    double left, right;
};

} // namespace

QRectF paintedRect(const TextItem& item) {
    return item.painted.isNull() ? item.rect : item.painted;
}

void fitTexts(PageItems& page, double left, double right) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return; // no fonts
    const qsizetype n = page.texts.size();
    QList<double> widths(n);
    QList<QRectF> extent(n);
    for (qsizetype i = 0; i < n; ++i) {
        const TextItem& t = page.texts[i];
        widths[i] = naturalWidthMm(t.text, t.font, t.pixels, t.bold);
        extent[i] = claim(t, widths[i]);
    }
    for (qsizetype i = 0; i < n; ++i) {
        TextItem& t = page.texts[i];
        const double width = widths[i];
        const QRectF own = extent[i];
        const double top = t.rect.top(), bottom = top + inkHeight(t);
        // What stands beside it on its line: the other texts and the vertical rules.
        QList<Span> obstacles;
        for (qsizetype j = 0; j < n; ++j)
            if (j != i && sameLine(page.texts[j], top, bottom))
                obstacles.append({extent[j].left() - textGap, extent[j].right() + textGap});
        auto rule = [&](double x, double y1, double y2) {
            if (std::min(y1, y2) < bottom && std::max(y1, y2) > top &&
                (x <= own.left() + 1e-9 || x >= own.right() - 1e-9))
                obstacles.append({x - textGap, x + textGap});
        };
        for (const QLineF& l : page.lines)
            if (std::abs(l.x1() - l.x2()) < 0.01) rule(l.x1(), l.y1(), l.y2());
        for (const QRectF& b : page.boxes) {
            rule(b.left(), b.top(), b.bottom());
            rule(b.right(), b.top(), b.bottom());
        }
        // The free space around the text's anchor: its box's left edge, right edge or centre.
        const double anchor = t.align == Align::Left    ? own.left()
                              : t.align == Align::Right ? own.right()
                                                        : own.center().x();
        double from = std::min(left, t.rect.left()), to = std::max(right, t.rect.right());
        for (const Span& o : obstacles) {
            if (o.right <= anchor + 1e-9)
                from = std::max(from, o.right);
            else if (o.left >= anchor - 1e-9)
                to = std::min(to, o.left);
            else if ((o.right - anchor) - (anchor - o.left) >
                     (t.align == Align::Left ? 1e-9 : -1e-9))
                to = std::min(to, o.left); // it reaches over the anchor from the right
            else
                from = std::max(from, o.right);
        }
        // A left-aligned text grows only to the right, a right-aligned one only to the left.
        if (t.align == Align::Left) from = std::max(from, std::min(t.rect.left(), to));
        if (t.align == Align::Right) to = std::min(to, std::max(t.rect.right(), from));
        const double room = std::max(0.0, to - from);
        double x = 0, painted = width;
        t.stretch = 1;
        if (width <= room + 1e-9) {
            const QRectF at = natural(t, width);
            x = std::clamp(at.left(), from, std::max(from, to - width));
        } else if (width * narrowestStretch <= room) {
            t.stretch = room / width;
            painted = room;
            x = from;
        } else {
            // Too narrow even condensed: as many whole characters as fit, condensed.
            t.stretch = narrowestStretch;
            QString shown = t.text;
            double shownWidth = width;
            while (!shown.isEmpty() && shownWidth * narrowestStretch > room + 1e-9) {
                shown.chop(shown.size() > 1 && shown.back().isLowSurrogate() ? 2 : 1);
                shownWidth = naturalWidthMm(shown, t.font, t.pixels, t.bold);
            }
            t.text = shown;
            t.clipped = true;
            painted = shownWidth * narrowestStretch;
            x = t.align == Align::Right ? to - painted : from;
        }
        t.painted = QRectF(x, top, painted, inkHeight(t));
        extent[i] = t.painted;
    }
}

} // namespace rpt
