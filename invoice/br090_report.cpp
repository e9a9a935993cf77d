// BR090's entry in the report catalogue.
#include "app/data_module.h"
#include "invoice/br090_build.h"
#include "invoice/br090_layout.h"
#include "reports/common/report_def.h"

ReportDef br090Report() {
    ReportDef r;
    r.code = QStringLiteral("BR090");
    r.title = QStringLiteral("BR090 空白發票明細表");
    r.options = {"from", "to"};
    r.print = [](DataModule& dm, Query& work, const ReportOptions& o, Progress& progress) {
        return PrintJob{br090Layout(buildBr090(dm, work, {o.from, o.to}, progress)), &dm.qy};
    };
    return r;
}
