// The parameter screen TFrmBR090 of the blank-invoice report: the two dates only.
#pragma once

#include "reports/common/report_form.h"

class TFrmBR090 : public TReportForm {
    Q_OBJECT
public:
    explicit TFrmBR090(QWidget* parent = nullptr);
};
