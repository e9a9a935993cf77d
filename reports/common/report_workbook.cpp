#include "reports/common/report_workbook.h"

#include "reports/common/report_sheet.h"
#include "reports/common/xlsx_writer.h"

#include <QRegularExpression>

rpt::Sheet reportSheet(const PrintJob& job, const rpt::RenderedReport& pages,
                       const QString& title) {
    if (!job.sheet) return rpt::sheetFromPrint(pages, title);
    rpt::Sheet sheet = job.sheet(pages);
    if (sheet.name.isEmpty()) sheet.name = title;
    if (sheet.title.isEmpty()) sheet.title = title;
    return sheet;
}

QString workbookName(const ReportDef& report, const ReportOptions& options) {
    auto compact = [](const QString& date) {
        return QString(date).remove(QRegularExpression(QStringLiteral("[^0-9]")));
    };
    QStringList parts{report.code};
    if (report.options.contains(QStringLiteral("from"))) {
        parts << compact(options.from) << compact(options.to);
    } else if (report.options.contains(QStringLiteral("date"))) {
        parts << compact(options.date);
    }
    parts.removeAll(QString());
    return parts.join(QLatin1Char('_')) + QStringLiteral(".xlsx");
}

bool writeReportWorkbook(const PrintJob& job, const rpt::RenderedReport& pages,
                         const QString& title, const QString& path, Progress* progress) {
    if (pages.pages.isEmpty()) return false; // no rows: no file, an older one stays as it was
    rpt::writeXlsx(reportSheet(job, pages, title), path, progress);
    return true;
}
