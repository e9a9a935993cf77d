// The parameter screen TFrmBR010 of the charge-customer detail report.
#pragma once

#include "reports/common/report_form.h"

class QComboBox;

class TFrmBR010 : public TReportForm {
    Q_OBJECT
public:
    explicit TFrmBR010(QWidget* parent = nullptr);

    QLineEdit* e03; // 客戶車號
    QLineEdit* e04; // 公司代號
    QComboBox* e05; // 排序
    QComboBox* e06; // 跳頁
    QComboBox* e07; // 類別 (date basis)

protected:
    ReportOptions options() const override;
};
