// The parameter screen TFrmBR100 of the group U-card detail report.
#pragma once

#include "reports/common/report_form.h"

class QComboBox;

class TFrmBR100 : public TReportForm {
    Q_OBJECT
public:
    explicit TFrmBR100(QWidget* parent = nullptr);

    QLineEdit* e03; // 客戶車號
    QLineEdit* e04; // 團體 U卡
    QComboBox* e05; // 排序
    QComboBox* e06; // 跳頁
    QComboBox* e07; // 類別 (date basis)

protected:
    ReportOptions options() const override;
};
