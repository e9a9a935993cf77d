#include "reports/common/report_printer.h"

#include "reports/common/page_painter.h"
#include "screens/common/error_box.h"
#include "screens/common/modal_opener.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

QString printReport(const rpt::RenderedReport& report, const QString& document) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return QStringLiteral("找不到可用的印表機，請先在系統中設定預設印表機。");
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(document);
    printer.setCopyCount(1);
    printer.setFullPage(true);
    const bool landscape = report.paper.width() > report.paper.height();
    const QSizeF portrait = landscape ? report.paper.transposed() : report.paper;
    printer.setPageSize(QPageSize(portrait, QPageSize::Millimeter));
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&printer))
        return QStringLiteral("印表機 %1 無法列印。").arg(info.printerName());
    for (int i = 0; i < report.pages.size(); ++i) {
        if (i > 0 && !printer.newPage())
            return QStringLiteral("印表機 %1 無法列印。").arg(info.printerName());
        rpt::paintPage(painter, report.pages[i], printer.resolution() / 25.4);
    }
    painter.end();
    return {};
}

void printOrKeepAsPdf(const rpt::RenderedReport& report, const QString& document,
                      const QString& pdfName, QWidget* parent) {
    const QString problem = printReport(report, document);
    if (problem.isEmpty()) return;
    if (!confirm(problem + QStringLiteral("\n要改存成 PDF 檔嗎？"), parent)) return;
    const QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("存成 PDF 檔"),
                                                      QDir::current().filePath(pdfName),
                                                      QStringLiteral("PDF 檔 (*.pdf)"));
    if (path.isEmpty()) return;
    guarded(parent, [&] { rpt::writePdf(report, path); });
}
