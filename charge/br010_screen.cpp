#include "charge/br010_screen.h"

#include "screens/common/lookup_picker.h"

#include <QComboBox>
#include <QLineEdit>

TFrmBR010::TFrmBR010(QWidget* parent) : TReportForm(*findReport(QStringLiteral("BR010")), parent) {
    e03 = addCodeRow(QStringLiteral("e03"), QStringLiteral("客戶車號 :"), QStringLiteral("SB4"),
                     lookupLists::vehicle);
    e04 = addCodeRow(QStringLiteral("e04"), QStringLiteral("公司代號 :"),
                     QStringLiteral("SpeedButton1"), lookupLists::company);
    e05 = addListRow(
        QStringLiteral("e05"), QStringLiteral("排序 :"),
        {QStringLiteral("1:日期"), QStringLiteral("2:車號"), QStringLiteral("3:公司"), QString()});
    e06 = addListRow(QStringLiteral("e06"), QStringLiteral("跳頁 :"),
                     {QStringLiteral("Y"), QStringLiteral("N")}, 1);
    e07 = addListRow(QStringLiteral("e07"), QStringLiteral("類別 :"),
                     {QStringLiteral("1:交班日期"), QStringLiteral("2:加油日期")});
}

ReportOptions TFrmBR010::options() const {
    ReportOptions o = TReportForm::options();
    o.car = e03->text();
    o.company = e04->text();
    o.order = e05->currentText();
    o.pageBreak = e06->currentText();
    o.basis = e07->currentText();
    return o;
}
