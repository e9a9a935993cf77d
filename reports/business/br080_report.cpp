// BR080's entry in the report catalogue.
#include "app/data_module.h"
#include "reports/business/br080_build.h"
#include "reports/business/br080_layout.h"
#include "reports/common/report_def.h"

namespace {

Br080Params br080Params(const ReportOptions& o) {
    Br080Params p;
    p.start = o.from;
    p.end = o.to;
    p.gift = o.gift;
    p.mode = o.mode;
    p.order = o.order;
    p.pageBreak = o.pageBreak;
    p.basis = o.basis;
    return p;
}

} // namespace

ReportDef br080Report() {
    ReportDef r;
    r.code = QStringLiteral("BR080");
    r.title = QStringLiteral("BR080 贈品明細統計表");
    r.options = {"from", "to", "gift", "mode", "order", "page-break", "basis"};
    r.choices = {{QStringLiteral("order"), QStringLiteral("1|2")}};
    r.print = [](DataModule& dm, Query&, const ReportOptions& o, Progress& progress) {
        return PrintJob{br080Layout(buildBr080(dm, br080Params(o), progress)), &dm.qy, &dm.qy1};
    };
    return r;
}
