#include "reports/business/br040_screen.h"

namespace {

ReportDateRows calendarButtons() {
    ReportDateRows rows;
    rows.startButton = QStringLiteral("SpeedButton1");
    rows.endButton = QStringLiteral("SpeedButton3");
    return rows;
}

} // namespace

TFrmBR040::TFrmBR040(QWidget* parent)
    : TReportForm(*findReport(QStringLiteral("BR040")), calendarButtons(), parent) {}
