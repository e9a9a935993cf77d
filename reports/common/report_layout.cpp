#include "reports/common/report_layout.h"

namespace rpt {

namespace {

constexpr double centredWidth = 200; // room enough for any title line

} // namespace

Band band(const QString& name, BandKind kind, double height) {
    Band b;
    b.name = name;
    b.kind = kind;
    b.height = height;
    return b;
}

Control label(const QString& name, const QString& caption, double top, double left, double width,
              Align align, int pixels) {
    return {name, Kind::Label, caption, top, left, width, 0, align, {}, pixels, false};
}

Control centredLabel(const QString& name, const QString& caption, double top, double centre,
                     int pixels) {
    return {name,          Kind::Label, caption, top,  centre - centredWidth / 2, centredWidth, 0,
            Align::Centre, {},          pixels,  false};
}

Control field(const QString& name, const QString& column, double top, double left, double width,
              Align align, const QString& mask, int pixels) {
    return {name, Kind::Field, column, top, left, width, 0, align, mask, pixels, false};
}

Control sum(const QString& name, const QString& column, double top, double left, double width,
            const QString& mask, Align align, int pixels) {
    return {name, Kind::Sum, column, top, left, width, 0, align, mask, pixels, false};
}

Control printDate(const QString& name, double top, double left, double width, int pixels) {
    return {name, Kind::PrintDate, {}, top, left, width, 0, Align::Left, {}, pixels, false};
}

Control pageNumber(const QString& name, double top, double left, double width, Align align,
                   int pixels) {
    return {name, Kind::PageNumber, {}, top, left, width, 0, align, {}, pixels, false};
}

Control line(const QString& name, double top, double left, double width) {
    return {name, Kind::Line, {}, top, left, width, 0, Align::Left, {}, 13, false};
}

Control verticalLine(const QString& name, double top, double left, double height) {
    return {name, Kind::Line, {}, top, left, 0, height, Align::Left, {}, 13, false};
}

Control box(const QString& name, double top, double left, double width, double height) {
    return {name, Kind::Box, {}, top, left, width, height, Align::Left, {}, 13, false};
}

Control solidBar(const QString& name, double top, double left, double width, double height) {
    return {name, Kind::Box, {}, top, left, width, height, Align::Left, {}, 13, true};
}

} // namespace rpt
