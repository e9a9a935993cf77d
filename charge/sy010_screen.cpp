#include "charge/sy010_screen.h"

#include "charge/discount_rates.h"
#include "db/query.h"
#include "screens/common/db_edit.h"
#include "screens/common/db_grid.h"

TFrmSY010::TFrmSY010(QWidget* parent)
    : TMaintenanceForm(QStringLiteral("SY010 簽帳公司折讓設定"), parent) {
    setObjectName(QStringLiteral("FrmSY010"));
    DBEdit1 = addEditField(QStringLiteral("DBEdit1"), QStringLiteral("公司代號 :"),
                           QStringLiteral("cust_id"));
    DBEdit1->setReadOnly(true); // the point-of-sale system's key
    DBEdit2 = addEditField(QStringLiteral("DBEdit2"), QStringLiteral("公司名稱 :"),
                           QStringLiteral("unit_name"));
    DBEdit3 = addEditField(QStringLiteral("DBEdit3"), QStringLiteral("柴油折扣 :"),
                           QStringLiteral("discount_d"));
    DBEdit3->setCheckedOnSave(true);
    DBEdit4 = addEditField(QStringLiteral("DBEdit4"), QStringLiteral("汽油折扣 :"),
                           QStringLiteral("discount_g"));
    DBEdit4->setCheckedOnSave(true);
    DBGrid1->setColumns({{QStringLiteral("cust_id"), QStringLiteral("代號"), 69},
                         {QStringLiteral("unit_name"), QStringLiteral("名稱"), 160},
                         {QStringLiteral("discount_d"), QStringLiteral("柴油")},
                         {QStringLiteral("discount_g"), QStringLiteral("汽油")}});
}

QString TFrmSY010::tableSql() const {
    return QStringLiteral("SELECT * FROM cust_unit ORDER BY cust_id ");
}

void TFrmSY010::openingSteps() {
    tb1->setSortedFields(QStringLiteral("cust_id"));
    tb1->first();
}

void TFrmSY010::checksBeforePost(Query& tb) {
    // The rates as shown in their fields, rounded to cents of a dollar per litre.
    const DiscountRates rates = readDiscountRates(DBEdit3->text(), DBEdit4->text());
    tb.field(QStringLiteral("discount_d")).setFloat(rates.diesel);
    tb.field(QStringLiteral("discount_g")).setFloat(rates.petrol);
}
