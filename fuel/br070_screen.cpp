#include "fuel/br070_screen.h"

#include <QComboBox>

TFrmBR070::TFrmBR070(QWidget* parent) : TReportForm(*findReport(QStringLiteral("BR070")), parent) {
    e03 = new QComboBox(this);
    e03->setObjectName(QStringLiteral("e03"));
    e03->addItems({QString(), "01", "02", "03", "04", "05", "06", "07", "08"});
    e03->setMinimumWidth(80);
    addRow(QStringLiteral("選擇油槽 :"), e03);
    e04 = new QComboBox(this);
    e04->setObjectName(QStringLiteral("e04"));
    e04->addItems({QStringLiteral("1:計算存量"), QStringLiteral("2:液面計量")});
    e04->setMinimumWidth(120);
    addRow(QStringLiteral("類別 :"), e04);
}

ReportOptions TFrmBR070::options() const {
    ReportOptions o = TReportForm::options();
    o.tank = e03->currentText();
    o.stock = e04->currentText();
    return o;
}
