// The parameter screen TFrmBR040 of the monthly business statistics: the date range.
#pragma once

#include "reports/common/report_form.h"

class TFrmBR040 : public TReportForm {
    Q_OBJECT
public:
    explicit TFrmBR040(QWidget* parent = nullptr);
};
