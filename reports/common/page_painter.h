// Draws the pages of a rendered report: one routine for every output (the preview, the
// printer, a PDF file, a picture).
#pragma once

#include "reports/common/report_renderer.h"

#include <QImage>

class QPainter;

namespace rpt {

// Draws `page` with `painter`, whose device has `unitsPerMm` units per millimetre and whose
// origin is the paper's top left corner.
void paintPage(QPainter& painter, const PageItems& page, double unitsPerMm);
// Page `index` as a white picture of `pixelsPerMm` pixels per millimetre.
QImage pageImage(const RenderedReport& report, int index, double pixelsPerMm);
// Writes every page to the PDF file `path`, the fonts embedded and the text searchable.
// Throws FileError when the file cannot be written; an older file of that name is then left
// as it was.
void writePdf(const RenderedReport& report, const QString& path);

} // namespace rpt
