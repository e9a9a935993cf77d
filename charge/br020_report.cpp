// BR020's entry in the report catalogue.
#include "app/data_module.h"
#include "charge/br020_build.h"
#include "charge/br020_layout.h"
#include "reports/common/report_def.h"

namespace {

Br020Params br020Params(const ReportOptions& o) {
    Br020Params p;
    p.start = o.from;
    p.end = o.to;
    p.basis = o.basis;
    return p;
}

} // namespace

ReportDef br020Report() {
    ReportDef r;
    r.code = QStringLiteral("BR020");
    r.title = QStringLiteral("BR020 簽帳客戶統計表");
    r.options = {"from", "to", "basis"};
    r.exportFile = QStringLiteral("BR020.XLS");
    r.print = [](DataModule& dm, Query& work, const ReportOptions& o, Progress& progress) {
        return PrintJob{br020Layout(buildBr020(dm, work, dm.qy, br020Params(o), progress)), &dm.qy};
    };
    // One build serves both: the export writes the same rows, left open on the screen's query.
    r.exportRows = [](DataModule& dm, Query& work, const ReportOptions& o, Progress& progress) {
        buildBr020(dm, work, work, br020Params(o), progress);
        return br020ExportColumns();
    };
    return r;
}
