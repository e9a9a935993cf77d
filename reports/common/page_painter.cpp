#include "reports/common/page_painter.h"

#include "reports/common/file_error.h"
#include "reports/common/report_fonts.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace rpt {

namespace {

constexpr double mmPerPixel = 25.4 / 96;

Qt::Alignment alignmentOf(Align a) {
    switch (a) {
    case Align::Centre:
        return Qt::AlignHCenter;
    case Align::Right:
        return Qt::AlignRight;
    case Align::Left:
        break;
    }
    return Qt::AlignLeft;
}

QRectF scaled(const QRectF& r, double k) {
    return QRectF(r.x() * k, r.y() * k, r.width() * k, r.height() * k);
}

} // namespace

void paintPage(QPainter& painter, const PageItems& page, double unitsPerMm) {
    painter.save();
    QPen pen(Qt::black);
    pen.setWidthF(0.25 * unitsPerMm);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    for (const QLineF& l : page.lines)
        painter.drawLine(QLineF(l.p1() * unitsPerMm, l.p2() * unitsPerMm));
    for (const QRectF& b : page.boxes)
        painter.drawRect(scaled(b, unitsPerMm));
    for (const QRectF& b : page.bars)
        painter.fillRect(scaled(b, unitsPerMm), Qt::black);
    for (const TextItem& t : page.texts) {
        // Sizes are pixels at 96 per inch; the painter's units are device units.
        painter.setFont(reportFont(t.font, t.pixels * mmPerPixel * unitsPerMm, t.bold));
        if (t.painted.isNull()) {
            painter.drawText(
                scaled(t.rect, unitsPerMm),
                int(alignmentOf(t.align) | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine),
                t.text);
            continue;
        }
        // Drawn into its fitted extent exactly: the font at this device's size is scaled to
        // the width the page was fitted with, condensed where the fitting condensed it.
        const QFontMetricsF metrics = painter.fontMetrics();
        const double advance = metrics.horizontalAdvance(t.text);
        const double width = t.painted.width() * unitsPerMm;
        painter.save();
        painter.translate(t.painted.left() * unitsPerMm, t.painted.top() * unitsPerMm);
        if (advance > 0) painter.scale(width / advance, 1);
        painter.drawText(QPointF(0, metrics.ascent()), t.text);
        painter.restore();
    }
    painter.restore();
}

QImage pageImage(const RenderedReport& report, int index, double pixelsPerMm) {
    const QSize size(int(report.paper.width() * pixelsPerMm + 0.5),
                     int(report.paper.height() * pixelsPerMm + 0.5));
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (index >= 0 && index < report.pages.size()) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        paintPage(painter, report.pages[index], pixelsPerMm);
    }
    return image;
}

void writePdf(const RenderedReport& report, const QString& path) {
    // Written beside the old file and put in its place only when whole: a failure leaves an
    // older file of that name as it was, and no partial file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(QStringLiteral("無法寫入檔案 %1：%2").arg(path, file.errorString()), path);
    QPdfWriter pdf(&file);
    constexpr int dotsPerInch = 254; // one device unit is 0.1 mm
    pdf.setResolution(dotsPerInch);
    pdf.setPageSize(QPageSize(report.paper, QPageSize::Millimeter));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setCreator(QStringLiteral("TOLVAR"));
    QPainter painter;
    if (!painter.begin(&pdf)) throw FileError(QStringLiteral("無法寫入檔案 %1").arg(path), path);
    for (int i = 0; i < report.pages.size(); ++i) {
        if (i > 0) pdf.newPage();
        paintPage(painter, report.pages[i], dotsPerInch / 25.4);
    }
    if (!painter.end()) throw FileError(QStringLiteral("無法寫入檔案 %1").arg(path), path);
    if (!file.commit())
        throw FileError(QStringLiteral("無法寫入檔案 %1：%2").arg(path, file.errorString()), path);
}

} // namespace rpt
