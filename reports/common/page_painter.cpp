#include "reports/common/page_painter.h"

#include "reports/common/file_error.h"

#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

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
        QFont font(t.font);
        // Sizes are pixels at 96 per inch; the painter's units are device units.
        font.setPixelSize(std::max(1, int(t.pixels * mmPerPixel * unitsPerMm + 0.5)));
        font.setBold(t.bold);
        painter.setFont(font);
        painter.drawText(
            scaled(t.rect, unitsPerMm),
            int(alignmentOf(t.align) | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine),
            t.text);
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
    {
        // QPdfWriter says nothing of a file it cannot open: try it first.
        QFile probe(path);
        if (!probe.open(QIODevice::WriteOnly))
            throw FileError(QStringLiteral("無法寫入檔案 %1：%2").arg(path, probe.errorString()),
                            path);
    }
    QPdfWriter pdf(path);
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
}

} // namespace rpt
