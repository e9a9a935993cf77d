// BR100's entry in the report catalogue.
#include "app/data_module.h"
#include "charge/br100_build.h"
#include "charge/br100_layout.h"
#include "reports/common/report_def.h"

namespace {

Br100Params br100Params(const ReportOptions& o) {
    Br100Params p;
    p.start = o.from;
    p.end = o.to;
    p.car = o.car;
    p.card = o.card;
    p.order = o.order;
    p.pageBreak = o.pageBreak;
    p.basis = o.basis;
    return p;
}

} // namespace

ReportDef br100Report() {
    ReportDef r;
    r.code = QStringLiteral("BR100");
    r.title = QStringLiteral("BR100 團體 U 卡明細表");
    r.options = {"from", "to", "car", "card", "order", "page-break", "basis"};
    r.exportFile = QStringLiteral("BR100.XLS");
    r.print = [](DataModule& dm, Query& work, const ReportOptions& o, Progress& progress) {
        return PrintJob{br100Layout(buildBr100(dm, work, dm.qy, br100Params(o), progress)), &dm.qy};
    };
    // The export writes the layout's rows, left open on the screen's query.
    r.exportRows = [](DataModule& dm, Query& work, const ReportOptions& o, Progress& progress) {
        buildBr100(dm, work, work, br100Params(o), progress);
        return br100ExportColumns();
    };
    return r;
}
