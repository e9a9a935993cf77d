#include "reports/report_catalogue.h"

#include "app/data_module.h"
#include "charge/br010_build.h"
#include "charge/br010_layout.h"

namespace {

Br010Params br010Params(const ReportOptions& o) {
    Br010Params p;
    p.start = o.from;
    p.end = o.to;
    p.car = o.car;
    p.company = o.company;
    p.order = o.order;
    p.pageBreak = o.pageBreak;
    p.basis = o.basis;
    return p;
}

QList<ReportDef> makeCatalogue() {
    QList<ReportDef> list;
    ReportDef br010;
    br010.code = QStringLiteral("BR010");
    br010.title = QStringLiteral("BR010 簽帳客戶明細表");
    br010.options = {"from", "to", "car", "company", "order", "page-break", "basis"};
    br010.exportFile = QStringLiteral("BR010.XLS");
    br010.print = [](DataModule& dm, Query& work, const ReportOptions& o, Progress& progress) {
        return PrintJob{br010Layout(buildBr010(dm, work, br010Params(o), progress)), &dm.qy};
    };
    br010.exportRows = [](DataModule&, Query& work, const ReportOptions& o, Progress& progress) {
        buildBr010Export(work, br010Params(o), progress);
        return br010ExportColumns();
    };
    list << br010;
    return list;
}

} // namespace

const QList<ReportDef>& reportCatalogue() {
    static const QList<ReportDef> list = makeCatalogue();
    return list;
}

const ReportDef* findReport(const QString& code) {
    for (const ReportDef& r : reportCatalogue())
        if (r.code.compare(code, Qt::CaseInsensitive) == 0) return &r;
    return nullptr;
}
