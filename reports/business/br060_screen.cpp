#include "reports/business/br060_screen.h"

TFrmBR060::TFrmBR060(QWidget* parent) : TReportForm(*findReport(QStringLiteral("BR060")), parent) {}
