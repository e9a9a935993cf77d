#include "charge/br020_screen.h"

#include <QComboBox>

TFrmBR020::TFrmBR020(QWidget* parent) : TReportForm(*findReport(QStringLiteral("BR020")), parent) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    e03 = addListRow(QStringLiteral("e03"), QStringLiteral("日期類別 :"),
                     {QStringLiteral("1:交班日期"), QStringLiteral("2:加油日期")});
}

ReportOptions TFrmBR020::options() const {
    ReportOptions o = TReportForm::options();
    o.basis = e03->currentText();
    return o;
}
