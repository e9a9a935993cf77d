// The SQL console TFrmSY990 behind the main window's hidden entry: the administrator runs the
// statement on the caret line of the memo, browses the station's tables and looks at, edits,
// adds and removes the rows a query returns.
#pragma once

#include "console/sql_console.h"
#include "screens/common/screen.h"

#include <QList>

class DBGrid;
class DataSource;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QToolButton;
class Query;
class TBiDiDBNavigator;

class TFrmSY990 : public TScreen {
    Q_OBJECT
public:
    // Throws DbError when the data module does not exist.
    explicit TFrmSY990(QWidget* parent = nullptr);
    ~TFrmSY990() override;

    // Formats, connect, the table list.
    void FormCreate() override;

    QGroupBox* RadioGroup1;
    QButtonGroup* RadioGroup1Items; // ids follow console::Command
    QPlainTextEdit* Memo1;
    QToolButton* SpeedButton2; // 執行
    QToolButton* SpeedButton1; // 離開
    QToolButton* sbStop;       // 停止, while a statement runs
    DBGrid* DBGrid2;           // the tables
    TBiDiDBNavigator* BiDiDBNavigator1;
    DBGrid* DBGrid1; // the result
    QLabel* LabelNote;
    Query* qy;
    Query* qy1;
    DataSource* ds;
    DataSource* ds1;

    console::Command command() const;
    // The statement "執行" runs: the caret's line, or the last line when the caret stands on
    // the empty position after it.
    QString caretLine() const;
    bool running() const { return running_; }

    void RadioGroup1Click(int item);
    void DBGrid2DblClick();
    void SpeedButton2Click();
    void DBGrid1TitleClick(const QString& field);

protected:
    void done(int result) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Adds `line` after the memo's last line, leaving the caret where it was.
    void appendLine(const QString& line);
    void setRunning(bool on);
    void showButtons();
    bool editing() const;
    void limitColumnWidths();
    void FormClose();

    bool running_ = false;
    bool stopAsked_ = false;
    bool closed_ = false;
    QList<int> widths_; // of the result's columns, kept when the rows are sorted
};
