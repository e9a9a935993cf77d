// BR050's entry in the report catalogue.
#include "app/data_module.h"
#include "db/connection.h"
#include "fuel/br050_build.h"
#include "fuel/br050_layout.h"
#include "reports/common/date_basis.h"
#include "reports/common/report_def.h"

ReportDef br050Report() {
    ReportDef r;
    r.code = QStringLiteral("BR050");
    r.title = QStringLiteral("BR050 油錶記錄起迄表");
    r.options = {"from", "to", "from-shift", "to-shift"};
    r.defaults = [](ReportOptions& o, const QDate& today) {
        o.from = o.to = yesterdayText(today);
        o.fromShift = QStringLiteral("1");
    };
    r.print = [](DataModule& dm, Query&, const ReportOptions& o, Progress& progress) {
        // A shift the command line leaves out is the screen's default: the first, and the
        // last of the station's shift table. The last shift and the meter rows are read in one
        // snapshot, so that a shift the station opens meanwhile is in both or in neither.
        Transaction snapshot(dm.cn, Connection::Isolation::RepeatableRead);
        Br050Params p{o.from, o.to, o.fromShift, o.toShift};
        if (p.fromShift.isEmpty()) p.fromShift = QStringLiteral("1");
        if (p.toShift.isEmpty()) p.toShift = br050LastShift(dm);
        PrintJob job{br050Layout(buildBr050(dm, p, progress)), &dm.qy};
        snapshot.commit();
        return job;
    };
    return r;
}
