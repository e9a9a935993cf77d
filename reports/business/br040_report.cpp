// BR040's entry in the report catalogue.
#include "app/data_module.h"
#include "reports/business/br040_build.h"
#include "reports/business/br040_layout.h"
#include "reports/common/report_def.h"

ReportDef br040Report() {
    ReportDef r;
    r.code = QStringLiteral("BR040");
    r.title = QStringLiteral("BR040 總營業月統計表");
    r.options = {"from", "to"};
    r.print = [](DataModule& dm, Query& work, const ReportOptions& o, Progress& progress) {
        const Br040Params params{o.from, o.to};
        return PrintJob{br040Layout(buildBr040(dm, work, params, progress)), &dm.qy};
    };
    return r;
}
