// The parameter screen TFrmBR020 of the charge-customer statistics. Unlike the other report
// screens it keeps the buttons of its title bar, so it can be closed from there too.
#pragma once

#include "reports/common/report_form.h"

class QComboBox;

class TFrmBR020 : public TReportForm {
    Q_OBJECT
public:
    explicit TFrmBR020(QWidget* parent = nullptr);

    QComboBox* e03; // 日期類別 (date basis)

protected:
    ReportOptions options() const override;
};
