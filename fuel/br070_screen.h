// The parameter screen TFrmBR070 of the tank stock report.
#pragma once

#include "reports/common/report_form.h"

class QComboBox;

class TFrmBR070 : public TReportForm {
    Q_OBJECT
public:
    explicit TFrmBR070(QWidget* parent = nullptr);

    QComboBox* e03; // 選擇油槽: empty for all tanks, 01 to 08
    QComboBox* e04; // 類別: 1:計算存量, 2:液面計量

protected:
    ReportOptions options() const override;
};
