#include "charge/br010_screen.h"

#include "screens/common/lookup_picker.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

QComboBox* list(QWidget* parent, const char* name, const QStringList& items, int current) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->addItems(items);
    box->setCurrentIndex(current);
    box->setMinimumWidth(120);
    return box;
}

} // namespace

TFrmBR010::TFrmBR010(QWidget* parent) : TReportForm(*findReport(QStringLiteral("BR010")), parent) {
    e03 = addCodeRow(QStringLiteral("e03"), QStringLiteral("客戶車號 :"), QStringLiteral("SB4"),
                     lookupLists::vehicle);
    e04 = addCodeRow(QStringLiteral("e04"), QStringLiteral("公司代號 :"),
                     QStringLiteral("SpeedButton1"), lookupLists::company);
    e05 = list(
        this, "e05",
        {QStringLiteral("1:日期"), QStringLiteral("2:車號"), QStringLiteral("3:公司"), QString()},
        0);
    addRow(QStringLiteral("排序 :"), e05);
    e06 = list(this, "e06", {QStringLiteral("Y"), QStringLiteral("N")}, 1);
    addRow(QStringLiteral("跳頁 :"), e06);
    e07 = list(this, "e07", {QStringLiteral("1:交班日期"), QStringLiteral("2:加油日期")}, 0);
    addRow(QStringLiteral("類別 :"), e07);
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
