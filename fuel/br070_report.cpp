// BR070's entry in the report catalogue.
#include "app/data_module.h"
#include "fuel/br070_build.h"
#include "fuel/br070_layout.h"
#include "reports/common/report_def.h"

ReportDef br070Report() {
    ReportDef r;
    r.code = QStringLiteral("BR070");
    r.title = QStringLiteral("BR070 油槽進銷存報表");
    r.options = {"from", "to", "tank", "stock"};
    r.print = [](DataModule& dm, Query& work, const ReportOptions& o, Progress& progress) {
        const Br070Params p{o.from, o.to, o.tank, o.stock};
        return PrintJob{br070Layout(buildBr070(dm, work, p, progress)), &dm.qy};
    };
    return r;
}
