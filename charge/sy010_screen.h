// SY010, the company discount screen: the office sets each charge-account company's
// discount per litre of diesel and of petrol and corrects its name. Companies are neither
// added nor removed here; the point-of-sale system creates them.
#pragma once

#include "screens/common/maintenance_form.h"

class TFrmSY010 : public TMaintenanceForm {
    Q_OBJECT
public:
    explicit TFrmSY010(QWidget* parent = nullptr);

    TDBEdit* DBEdit1; // company code, read-only
    TDBEdit* DBEdit2; // company name
    TDBEdit* DBEdit3; // diesel discount per litre
    TDBEdit* DBEdit4; // petrol discount per litre

protected:
    QString tableSql() const override;
    QString keyField() const override { return QStringLiteral("cust_id"); }
    QString keyCaption() const override { return QStringLiteral("簽帳公司"); }
    void openingSteps() override;
    void checksBeforePost(Query& tb) override;
};
