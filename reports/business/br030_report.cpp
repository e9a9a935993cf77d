// BR030's entry in the report catalogue.
#include "app/data_module.h"
#include "reports/business/br030_build.h"
#include "reports/business/br030_layout.h"
#include "reports/business/br030_sheet.h"
#include "reports/common/report_def.h"

ReportDef br030Report() {
    ReportDef r;
    r.code = QStringLiteral("BR030");
    r.title = QStringLiteral("BR030 營業收入彙總表");
    r.options = {"date", "weather"};
    r.print = [](DataModule& dm, Query& work, const ReportOptions& o, Progress& progress) {
        const Br030Params params{o.date, o.weather};
        PrintJob job{br030Layout(buildBr030(dm, work, params, progress)), &dm.qy1};
        job.sheet = br030Sheet; // its one-page grid, laid out as a grid
        return job;
    };
    return r;
}
