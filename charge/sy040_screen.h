// The charge-sale maintenance screen TFrmSY040: lists one day's charge sales with the lines
// of the current one, corrects a sale's date, time, shift and vehicle, keys in a one-line
// charge sale and voids one; on closing it names the shifts whose shift reports must be
// rebuilt.
#pragma once

#include "charge/charge_sale.h"
#include "screens/common/screen.h"

class DBGrid;
class DataSource;
class QFrame;
class QLabel;
class QLineEdit;
class QToolButton;
class Query;
class TBiDiDBNavigator;

class TFrmSY040 : public TScreen {
    Q_OBJECT
public:
    // Throws DbError when the data module does not exist.
    explicit TFrmSY040(QWidget* parent = nullptr);
    ~TFrmSY040() override;

    // Formats, connect, today into ED1, the day's sales and the lines of the first.
    void FormCreate() override;

    // --- header bar
    QLabel* LabelDate;
    QLineEdit* ED1; // the day listed
    QToolButton* sb06;
    QToolButton* sb01; // 查詢
    QToolButton* sb02; // 修改
    QToolButton* sb03; // 新增
    QToolButton* sb04; // 刪除
    QToolButton* sb05; // 離開
    TBiDiDBNavigator* nav1;
    QToolButton* sb11; // 寫入
    QToolButton* sb12; // 取消

    // --- entry panel
    QFrame* Panel6;
    QLineEdit *e01, *e02, *e03, *e04, *e05, *e06, *e07, *e08, *e09, *e10, *e11, *e12;
    QToolButton* sb21; // calendar of e03
    QToolButton* sb22; // vehicle picker
    QToolButton* sb23; // product picker

    DBGrid* DBGrid2; // the day's sales
    DBGrid* DBGrid1; // the lines of the current sale
    Query* tb1;
    Query* tb2;
    DataSource* ds1;
    DataSource* ds2;

    // Empty while browsing, "sb02" while modifying, "sb03" while adding.
    QString EditMode;
    // Every shift touched while the screen is open, each after one blank.
    QString ShiftsToRebuild;
    QString OrigShift;

    void sb01Click();
    void sb02Click();
    void sb03Click();
    void sb04Click();
    void sb05Click();
    void sb06Click();
    void sb11Click();
    void sb12Click();
    void sb21Click();
    void sb22Click();
    void sb23Click();
    void DBGrid1TitleClick(const QString& field);
    void tb1AfterScroll();

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormClose();
    void showCurrentSale();
    void setMode(const QString& mode);
    ChargeSaleEntry entry() const;
    void showWorkedOut(const ChargeSaleEntry& entry);
    void save();

    ChargeSaleSnapshot snapshot_;
    bool closed_ = false;
};
