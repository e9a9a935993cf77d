// The parameter screen TFrmBR060 of the sub-product stock report: the date range alone.
#pragma once

#include "reports/common/report_form.h"

class TFrmBR060 : public TReportForm {
    Q_OBJECT
public:
    explicit TFrmBR060(QWidget* parent = nullptr);
};
