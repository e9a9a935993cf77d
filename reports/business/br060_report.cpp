// BR060's entry in the report catalogue.
#include "app/data_module.h"
#include "reports/business/br060_build.h"
#include "reports/business/br060_layout.h"
#include "reports/common/report_def.h"

ReportDef br060Report() {
    ReportDef r;
    r.code = QStringLiteral("BR060");
    r.title = QStringLiteral("BR060 副產品進銷存明細表");
    r.options = {"from", "to"};
    r.print = [](DataModule& dm, Query& work, const ReportOptions& o, Progress& progress) {
        return PrintJob{br060Layout(buildBr060(dm, work, {o.from, o.to}, progress)), &dm.qy};
    };
    return r;
}
