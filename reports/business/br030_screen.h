// The parameter screen TFrmBR030 of the daily revenue summary: the business day and the
// weather to print on the page.
#pragma once

#include "reports/common/report_form.h"

class QComboBox;

class TFrmBR030 : public TReportForm {
    Q_OBJECT
public:
    explicit TFrmBR030(QWidget* parent = nullptr);

    QComboBox* e02; // 天氣: a list to pick from or any text typed

protected:
    ReportOptions options() const override;
};
