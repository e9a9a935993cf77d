#include "reports/common/report_def.h"

#include "reports/common/date_basis.h"

rpt::RenderedReport renderJob(const PrintJob& job, const QDate& printingDate) {
    return rpt::render(job.layout, *job.rows, job.subRows, printingDate);
}

ReportOptions defaultOptions(const ReportDef& report, const QDate& today) {
    ReportOptions o;
    o.from = firstOfMonthText(today);
    o.to = yesterdayText(today);
    o.date = today.toString(QStringLiteral("yyyy/MM/dd"));
    if (report.defaults) report.defaults(o, today);
    return o;
}
