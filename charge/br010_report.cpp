// BR010's entry in the report catalogue.
#include "app/data_module.h"
#include "charge/br010_build.h"
#include "charge/br010_layout.h"
#include "reports/common/report_def.h"

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

} // namespace

ReportDef br010Report() {
    ReportDef r;
    r.code = QStringLiteral("BR010");
    r.title = QStringLiteral("BR010 簽帳客戶明細表");
    r.options = {"from", "to", "car", "company", "order", "page-break", "basis"};
    r.exportFile = QStringLiteral("BR010.XLS");
    r.print = [](DataModule& dm, Query& work, const ReportOptions& o, Progress& progress) {
        return PrintJob{br010Layout(buildBr010(dm, work, br010Params(o), progress)), &dm.qy};
    };
    r.exportRows = [](DataModule&, Query& work, const ReportOptions& o, Progress& progress) {
        buildBr010Export(work, br010Params(o), progress);
        return br010ExportColumns();
    };
    return r;
}
