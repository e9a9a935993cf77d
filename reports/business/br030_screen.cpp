#include "reports/business/br030_screen.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

ReportDateRows oneShiftDate() {
    ReportDateRows rows;
    rows.startLabel = QStringLiteral("選擇交接班日期 :");
    rows.startButton = QStringLiteral("SpeedButton1");
    rows.endLabel.clear();
    return rows;
}

} // namespace

TFrmBR030::TFrmBR030(QWidget* parent)
    : TReportForm(*findReport(QStringLiteral("BR030")), oneShiftDate(), parent) {
    e02 = new QComboBox(this);
    e02->setObjectName(QStringLiteral("e02"));
    e02->setEditable(true);
    e02->addItems({QStringLiteral("晴天"), QStringLiteral("陰天"), QStringLiteral("雨天"),
                   QString(), QString()});
    e02->setCurrentIndex(0);
    e02->setMinimumWidth(120);
    // What is typed stays what is typed: never completed to an item, never added to the list.
    e02->setInsertPolicy(QComboBox::NoInsert);
    e02->setCompleter(nullptr);
    addRow(QStringLiteral("選擇天氣 :"), e02);
}

ReportOptions TFrmBR030::options() const {
    ReportOptions o = TReportForm::options();
    o.weather = e02->currentText();
    return o;
}
