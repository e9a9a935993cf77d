#include "fuel/br110_screen.h"

#include "screens/common/error_box.h"
#include "screens/common/lookup_picker.h"

#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

TFrmBR110::TFrmBR110(QWidget* parent) : TReportForm(*findReport(QStringLiteral("BR110")), parent) {
    e03 = new QLineEdit(this);
    e03->setObjectName(QStringLiteral("e03"));
    e03->setReadOnly(true);
    e03->setFixedWidth(160);
    SB4 = new QToolButton(this);
    SB4->setObjectName(QStringLiteral("SB4"));
    SB4->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    SB4->setToolTip(QString::fromUtf8(lookupLists::fuelProduct.caption));
    addRow(QStringLiteral("油品 :"), e03, SB4);
    connect(SB4, &QToolButton::clicked, this, &TFrmBR110::SB4Click);
}

void TFrmBR110::SB4Click() {
    guarded(this, [this] {
        // The list opens on its first product, not on the one already chosen.
        if (pickFromList(lookupLists::fuelProduct, QString(), this))
            e03->setText(PickedValue(QStringLiteral("CODE")).toText().trimmed());
    });
}

ReportOptions TFrmBR110::options() const {
    ReportOptions o = TReportForm::options();
    o.product = e03->text();
    return o;
}
