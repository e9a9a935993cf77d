// The parameter screen TFrmBR080 of the gift detail and statistics report.
#pragma once

#include "reports/common/report_form.h"

class QComboBox;

class TFrmBR080 : public TReportForm {
    Q_OBJECT
public:
    explicit TFrmBR080(QWidget* parent = nullptr);

    QLineEdit* e03; // 贈品代號
    QComboBox* e04; // 類別: 明細, 統計
    QComboBox* e05; // 排序
    QComboBox* e06; // 跳頁
    QComboBox* e07; // 類別 (date basis)

protected:
    ReportOptions options() const override;
};
