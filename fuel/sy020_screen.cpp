#include "fuel/sy020_screen.h"

#include "app/data_module.h"
#include "db/db_error.h"
#include "db/query.h"
#include "fuel/oil_receipts.h"
#include "reports/common/business_day.h"
#include "screens/common/db_edit.h"
#include "screens/common/db_grid.h"
#include "screens/common/db_navigator.h"
#include "screens/common/process_form.h"

#include <QDate>
#include <QLineEdit>
#include <QMessageBox>

TFrmSY020::TFrmSY020(QWidget* parent)
    : TMaintenanceForm(QStringLiteral("SY020 油槽進油資料維護"), parent) {
    setObjectName(QStringLiteral("FrmSY020"));
    qy = new Query(*tb1->connection(), this);
    qy->setObjectName(QStringLiteral("qy"));
    DBEdit1 = addEditField(QStringLiteral("DBEdit1"), QStringLiteral("班        別 :"),
                           QStringLiteral("shift"));
    DBEdit1->setMaxLength(9);
    DBEdit2 = addEditField(QStringLiteral("DBEdit2"), QStringLiteral("油        槽 :"),
                           QStringLiteral("target_tank"));
    DBEdit2->setMaxLength(1);
    DBEdit3 = addEditField(QStringLiteral("DBEdit3"), QStringLiteral("數        量 :"),
                           QStringLiteral("gasoline_vol"));
    DBEdit3->setCheckedOnSave(true);
    DBEdit4 = addEditField(QStringLiteral("DBEdit4"), QStringLiteral("進油單價 :"),
                           QStringLiteral("in_price"));
    DBEdit4->setCheckedOnSave(true);
    DBGrid1->setColumns(
        {{QStringLiteral("shift"), QStringLiteral("交班班別"), 80},
         {QStringLiteral("target_tank"), QStringLiteral("油槽"), 40, Qt::AlignHCenter},
         {QStringLiteral("gasoline_vol"), QStringLiteral("進油數量"), 75},
         {QStringLiteral("in_price"), QStringLiteral("進油單價"), 75},
         {QStringLiteral("bill_no"), QStringLiteral("單號"), 60, Qt::AlignHCenter},
         {QStringLiteral("prod_id"), QStringLiteral("產品"), 100}});
    BiDiDBNavigator1->setConfirmDelete(false); // a wrong receipt goes at once
    const Query::Handler showState = tb1->afterEdit;
    tb1->afterEdit = [this, showState](Query& tb) {
        tb1AfterEdit(tb);
        showState(tb);
    };
    const Query::Handler showSaved = tb1->afterPost;
    tb1->afterPost = [this, showSaved](Query& tb) {
        tb1AfterPost(tb);
        showSaved(tb);
    };
}

QString TFrmSY020::tableSql() const {
    return QStringLiteral("SELECT * FROM oil_change where del_mark = '' ORDER BY shift, "
                          "target_tank ");
}

void TFrmSY020::openingSteps() {
    tb1->last();
    // Today's first shift, found by the find box when it has receipts; otherwise the grid
    // stays on the last receipt.
    ED1->setText(businessDayKey(QDate::currentDate()) + QStringLiteral("_1"));
    startKey_ = ED1->text().left(7);
    earliestKey_ = startKey_;
}

void TFrmSY020::checksBeforePost(Query& tb) {
    checkReceiptFigures(DBEdit3->text(), DBEdit4->text());
    const QString product =
        checkReceiptShiftAndTank(*qy, tb.field(QStringLiteral("shift")).asText(),
                                 tb.field(QStringLiteral("target_tank")).asText());
    tb.field(QStringLiteral("prod_id")).setText(product);
}

void TFrmSY020::tb1AfterEdit(Query& tb) {
    shiftBeforeEdit_ = tb.field(QStringLiteral("shift")).asText();
}

void TFrmSY020::tb1AfterPost(Query& tb) {
    // Only a correction that was saved counts. A receipt moved away from a past day leaves
    // that day's stock to recompute as well as its new day's.
    earliestKey_ = earlierKey(earlierKey(earliestKey_, shiftBeforeEdit_),
                              tb.field(QStringLiteral("shift")).asText());
    shiftBeforeEdit_.clear();
}

void TFrmSY020::closingWork() {
    if (earliestKey_ == startKey_ || !DM) return;
    for (;;) {
        try {
            withProgressWindow(this, [&](Progress& progress) {
                return DM->RecomputeTankStock(earliestKey_, progress);
            });
            return;
        } catch (const DbError& error) {
            // The corrections are saved but the stock is not recomputed (the recomputation
            // changed nothing): the office may try again at once, a lost connection being
            // the usual cause, or leave knowing what is still to be done.
            QMessageBox box(
                QMessageBox::Critical, QStringLiteral("錯誤"),
                error.message() +
                    QStringLiteral("\n\n油槽帳面庫存尚未重算 (自營業日 %1 起)。按「重試」"
                                   "再算一次；按「確定」離開，之後請以 tolvar stock "
                                   "recompute --from %1 重算。")
                        .arg(earliestKey_),
                QMessageBox::Ok | QMessageBox::Retry, this);
            box.setDefaultButton(QMessageBox::Retry);
            if (box.exec() != QMessageBox::Retry) return;
        }
    }
}
