// BR110's entry in the report catalogue.
#include "app/data_module.h"
#include "fuel/br110_build.h"
#include "fuel/br110_layout.h"
#include "reports/common/report_def.h"

ReportDef br110Report() {
    ReportDef r;
    r.code = QStringLiteral("BR110");
    r.title = QStringLiteral("BR110 中油結付表");
    r.options = {"from", "to", "product"};
    r.exportFile = QStringLiteral("BR110.XLS");
    r.print = [](DataModule& dm, Query&, const ReportOptions& o, Progress& progress) {
        const Br110Params p{o.from, o.to, o.product};
        return PrintJob{br110Layout(buildBr110(dm, p, progress)), &dm.qy};
    };
    r.exportRows = [](DataModule&, Query& work, const ReportOptions& o, Progress& progress) {
        openBr110Rows(work, {o.from, o.to, o.product}, progress);
        return br110ExportColumns();
    };
    return r;
}
