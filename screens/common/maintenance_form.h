// The base of the table-maintenance screens: navigator, find box and exit button on top,
// the current row's edit fields on the left, the grid of all rows on the right and the state
// line at the bottom, all bound to the screen's query tb1. A screen gives its statement, key
// column, fields and checks; the base keeps the conventions every such screen shares.
#pragma once

#include "screens/common/screen.h"

#include <QList>
#include <memory>

class DBGrid;
class DataSource;
class QFormLayout;
class QLabel;
class QLineEdit;
class QToolButton;
class Query;
class TBiDiDBNavigator;
class TDBEdit;

class TMaintenanceForm : public TScreen {
    Q_OBJECT
public:
    ~TMaintenanceForm() override;

    // Formats, connect, open tb1, bind the navigator, the screen's own opening steps, the
    // state line. Throws DbError when the database cannot be reached or read.
    void FormCreate() override;

    TBiDiDBNavigator* BiDiDBNavigator1;
    QLabel* LabelKey; // names the column the find box searches
    QLineEdit* ED1;
    QToolButton* SpeedButtonExit;
    QWidget* PanelEdit; // the edit fields of the current row
    DBGrid* DBGrid1;
    QLabel* PanelBase_State;
    Query* tb1;
    DataSource* ds1;

protected:
    // `caption` is the window title ("SY020 油槽進油資料維護"). Throws DbError when the
    // data module does not exist.
    explicit TMaintenanceForm(const QString& caption, QWidget* parent = nullptr);

    // --- what a screen gives
    // The statement tb1 runs.
    virtual QString tableSql() const = 0;
    // The column the find box searches, and the label beside the box.
    virtual QString keyField() const = 0;
    virtual QString keyCaption() const { return keyField(); }
    // Whether the navigator offers Delete while browsing.
    virtual bool allowsDelete() const { return false; }
    // The screen's own opening steps, after tb1 is open.
    virtual void openingSteps() {}
    // The screen's checks and conversions before a row is saved: throw InputRefused naming
    // the edit field to refuse the save.
    virtual void checksBeforePost(Query& tb) { (void)tb; }
    // The screen's closing work, before tb1 is closed and the connection dropped.
    virtual void closingWork() {}

    // Adds a labelled edit field `name` bound to column `field` of tb1 to the edit panel.
    TDBEdit* addEditField(const QString& name, const QString& label, const QString& field);

    // --- the shared handlers
    // Writes "檔案目前為  <state>    筆數 : <rows>" and switches the button sets.
    void ShowState();
    // False, with the reason in the state line, while a row is being edited or added.
    bool FormCloseQuery();
    void FormClose();
    void ED1Change(const QString& text);
    void DBGrid1TitleClick(const QString& field);
    void tb1BeforePost(Query& tb);

    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QFormLayout* fields_;
    bool closed_ = false;
};

// Gives every empty field of the row being saved a value by its kind: true, 0 for numbers
// (64-bit integers excepted) and the empty text; dates, times and other kinds stay empty.
void fillEmptyFields(Query& tb);
