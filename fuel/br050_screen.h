// The parameter screen TFrmBR050 of the oil-meter start/end report: two dates, each with its
// shift number beside it.
#pragma once

#include "reports/common/report_form.h"

class TFrmBR050 : public TReportForm {
    Q_OBJECT
public:
    explicit TFrmBR050(QWidget* parent = nullptr);

    // The base's steps (both dates yesterday), then the start shift "1" and the end shift
    // the last of the station's shift table. Throws DbError.
    void FormCreate() override;

    QLineEdit* e03; // start shift
    QLineEdit* e04; // end shift

protected:
    ReportOptions options() const override;
};
