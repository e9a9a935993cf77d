// The parameter screen TFrmBR110 of the oil-supplier settlement report.
#pragma once

#include "reports/common/report_form.h"

class TFrmBR110 : public TReportForm {
    Q_OBJECT
public:
    explicit TFrmBR110(QWidget* parent = nullptr);

    // 油品: read-only, filled only by the lookup; empty for every product until one is
    // picked, and then one product until the screen is opened again.
    QLineEdit* e03;
    QToolButton* SB4;

    void SB4Click();

protected:
    ReportOptions options() const override;
};
