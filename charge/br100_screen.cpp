#include "charge/br100_screen.h"

#include "screens/common/lookup_picker.h"

#include <QComboBox>
#include <QLineEdit>

TFrmBR100::TFrmBR100(QWidget* parent) : TReportForm(*findReport(QStringLiteral("BR100")), parent) {
    e03 = addCodeRow(QStringLiteral("e03"), QStringLiteral("客戶車號 :"), QStringLiteral("SB4"),
                     lookupLists::groupCardVehicle);
    e04 = addCodeRow(QStringLiteral("e04"), QStringLiteral("團體 U卡 :"),
                     QStringLiteral("SpeedButton1"), lookupLists::groupCard);
    e05 = addListRow(QStringLiteral("e05"), QStringLiteral("排序 :"),
                     {QStringLiteral("1:日期"), QStringLiteral("2:車號"),
                      QStringLiteral("3:團體 U 卡"), QString()});
    e06 = addListRow(QStringLiteral("e06"), QStringLiteral("跳頁 :"),
                     {QStringLiteral("Y"), QStringLiteral("N")}, 1);
    e07 = addListRow(QStringLiteral("e07"), QStringLiteral("類別 :"),
                     {QStringLiteral("1:交班日期"), QStringLiteral("2:加油日期")});
}

ReportOptions TFrmBR100::options() const {
    ReportOptions o = TReportForm::options();
    o.car = e03->text();
    o.card = e04->text();
    o.order = e05->currentText();
    o.pageBreak = e06->currentText();
    o.basis = e07->currentText();
    return o;
}
