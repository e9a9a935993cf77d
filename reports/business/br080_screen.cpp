#include "reports/business/br080_screen.h"

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

TFrmBR080::TFrmBR080(QWidget* parent) : TReportForm(*findReport(QStringLiteral("BR080")), parent) {
    e03 = addCodeRow(QStringLiteral("e03"), QStringLiteral("贈品代號 :"), QStringLiteral("SB4"),
                     lookupLists::gift);
    e04 = list(this, "e04", {QStringLiteral("1:明細"), QStringLiteral("2:統計")}, 0);
    addRow(QStringLiteral("類別 :"), e04);
    e05 = list(this, "e05", {QStringLiteral("1:日期"), QStringLiteral("2:贈品")}, 0);
    addRow(QStringLiteral("排序 :"), e05);
    e06 = list(this, "e06", {QStringLiteral("Y"), QStringLiteral("N")}, 1);
    addRow(QStringLiteral("跳頁 :"), e06);
    e07 = list(this, "e07", {QStringLiteral("1:交班日期"), QStringLiteral("2:加油日期")}, 0);
    addRow(QStringLiteral("類別 :"), e07);
}

ReportOptions TFrmBR080::options() const {
    ReportOptions o = TReportForm::options();
    o.gift = e03->text();
    o.mode = e04->currentText();
    o.order = e05->currentText();
    o.pageBreak = e06->currentText();
    o.basis = e07->currentText();
    return o;
}
