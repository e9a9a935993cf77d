#include "invoice/br090_screen.h"

#include <QToolButton>

TFrmBR090::TFrmBR090(QWidget* parent) : TReportForm(*findReport(QStringLiteral("BR090")), parent) {
    // This screen's calendar buttons carry the names SpeedButton1 (e01) and SpeedButton3 (e02).
    SpeedButton3->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton4->setObjectName(QStringLiteral("SpeedButton3"));
}
