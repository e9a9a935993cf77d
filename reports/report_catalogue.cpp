#include "reports/report_catalogue.h"

// One line a report: the function, beside the report's files, that makes its entry.
// clang-format off
#define TOLVAR_REPORTS(X) \
    X(br010Report) \
    X(br050Report) \
    X(br070Report) \
    X(br090Report) \
    X(br110Report) \
    X(br060Report) \
    X(br080Report) \
    X(br030Report) \
    X(br040Report) \
    X(br020Report) \
    X(br100Report) \
    /* the list ends here */
// clang-format on

#define TOLVAR_DECLARE_REPORT(make) ReportDef make();
#define TOLVAR_LIST_REPORT(make) make(),

TOLVAR_REPORTS(TOLVAR_DECLARE_REPORT)

const QList<ReportDef>& reportCatalogue() {
    static const QList<ReportDef> list = {TOLVAR_REPORTS(TOLVAR_LIST_REPORT)};
    return list;
}

const ReportDef* findReport(const QString& code) {
    for (const ReportDef& r : reportCatalogue())
        if (r.code.compare(code, Qt::CaseInsensitive) == 0) return &r;
    return nullptr;
}
