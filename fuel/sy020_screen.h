// SY020, the oil-receipt maintenance screen: the office corrects the shift, tank, litres and
// purchase price of the receipts the point-of-sale system recorded, or removes wrong ones,
// and the tank book stock is recomputed on closing when a past day was touched. A failed
// recomputation may be tried again at once before the screen closes.
#pragma once

#include "screens/common/maintenance_form.h"

class TFrmSY020 : public TMaintenanceForm {
    Q_OBJECT
public:
    explicit TFrmSY020(QWidget* parent = nullptr);

    TDBEdit* DBEdit1; // shift
    TDBEdit* DBEdit2; // tank digit
    TDBEdit* DBEdit3; // litres
    TDBEdit* DBEdit4; // purchase price per litre
    Query* qy;        // the checks' lookups

    // The business-day key of the day the screen opened, and the earliest day a saved
    // correction touched (the start key while none did).
    const QString& startKey() const { return startKey_; }
    const QString& earliestKey() const { return earliestKey_; }

protected:
    QString tableSql() const override;
    QString keyField() const override { return QStringLiteral("shift"); }
    QString keyCaption() const override { return QStringLiteral("交班班別"); }
    bool allowsDelete() const override { return true; }
    void openingSteps() override;
    void checksBeforePost(Query& tb) override;
    void closingWork() override;

private:
    void tb1AfterEdit(Query& tb);
    void tb1AfterPost(Query& tb);

    QString startKey_;
    QString earliestKey_;
    QString shiftBeforeEdit_; // where the receipt being edited was before the correction
};
