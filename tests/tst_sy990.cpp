// The SQL console SY990 as the administrator uses it: the lines it appends, the one line it
// runs and how each choice ends, the rows it shows, sorts and edits through the navigator,
// a statement of a million rows, stopping a statement, closing, and the way in from the
// main menu on a demo station.
#include "app/data_module.h"
#include "app/gui_start.h"
#include "app/main_form.h"
#include "app/progress.h"
#include "console/sy990_screen.h"
#include "db/copy_loader.h"
#include "db/query.h"
#include "demo/station_generator.h"
#include "screens/common/db_grid.h"
#include "screens/common/db_navigator.h"
#include "support/gui_support.h"
#include "support/test_database.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>

namespace {

using Nav = TBiDiDBNavigator;
using console::Command;

// Two companies (a keyed table) and three oil receipts (a table without a key, two of them
// alike but for the shift).
void station() {
    testdb::recreate();
    for (const char* sql :
         {"insert into cust_unit values ('B010', '功學社', 0.8, 0.6), ('A001', '許厝港貨運', 1, "
          "1.2)",
          "insert into oil_change (shift, target_tank, gasoline_vol, in_price, bill_no, prod_id, "
          "del_mark) values ('1130506_1', '1', 10000, 25.5, 'N1', '113F 12092005', ''), "
          "('1130506_2', '3', 8000, 24.1, null, '113F 51101001', ''), "
          "('1130507_1', '3', 8000, 24.1, null, '113F 51101001', '')",
          "create table \"Tank Log\" (note varchar(20))",
          "insert into \"Tank Log\" values ('一'), ('二')"})
        testdb::admin(QString::fromUtf8(sql), "pos_data");
}

QString stored(const QString& sql) {
    return testdb::adminValue(sql);
}

class NoProgress : public Progress {
protected:
    void shown(int) override {}
};

} // namespace

class TestSY990 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void opensWithItsLayout();
    void choiceAppendsItsTemplate_data();
    void choiceAppendsItsTemplate();
    void tableDoubleClickAppendsItsLine();
    void runsOnlyTheCaretLine_data();
    void runsOnlyTheCaretLine();
    void runOutcomes_data();
    void runOutcomes();
    void wideResultColumnsAndSorting();
    void editInsertDeleteWithoutPrimaryKey();
    void refusedSaveStaysInEditing();
    void millionRowsStayResponsive();
    void stopEndsARunningStatement();
    void closing();
    void fromTheMainMenuOnTheDemoStation();

private:
    void open();
    void choose(Command command);
    // Puts `text` into the memo and the caret at `position` of line `line`.
    void setMemo(const QString& text, int line, int position = 0);
    // Presses 執行; returns the text of the message box it showed, empty when none.
    QString run();
    // Starts editing the cell of column `field` of the current row and types `text` over it.
    void typeIntoCell(const QString& field, const QString& text);
    QStringList columnTexts(const QString& field) const;
    int executed() const;

    std::unique_ptr<DataModule> dm_;
    std::unique_ptr<TFrmSY990> screen_;
};

void TestSY990::initTestCase() {
    setUpChineseFonts();
}

void TestSY990::cleanup() {
    gui::stopAnswering();
    if (screen_) {
        screen_->qy->cancel();
        gui::pressInNextMessageBox(QMessageBox::Cancel); // a transaction left open
        screen_->close();
        gui::stopAnswering();
    }
    screen_.reset();
    dm_.reset();
}

void TestSY990::open() {
    station();
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
    screen_ = std::make_unique<TFrmSY990>();
    screen_->FormCreate();
    screen_->show();
    QVERIFY(QTest::qWaitForWindowExposed(screen_.get()));
    QApplication::setActiveWindow(screen_.get());
}

void TestSY990::choose(Command command) {
    QTest::mouseClick(screen_->RadioGroup1Items->button(int(command)), Qt::LeftButton);
}

void TestSY990::setMemo(const QString& text, int line, int position) {
    screen_->Memo1->setPlainText(text);
    QTextCursor caret(screen_->Memo1->document()->findBlockByNumber(line));
    caret.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, position);
    screen_->Memo1->setTextCursor(caret);
}

QString TestSY990::run() {
    QString seen;
    gui::pressInNextMessageBox(QMessageBox::Ok, &seen);
    QTest::mouseClick(screen_->SpeedButton2, Qt::LeftButton);
    gui::stopAnswering();
    return seen;
}

void TestSY990::typeIntoCell(const QString& field, const QString& text) {
    DBGrid* grid = screen_->DBGrid1;
    const int column = screen_->qy->field(field).index();
    const QModelIndex cell = grid->model()->index(screen_->qy->recNo(), column);
    grid->setFocus();
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(cell));
    QVERIFY2(editor, qPrintable(field));
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Delete);
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QString(c), {});
}

QStringList TestSY990::columnTexts(const QString& field) const {
    const int column = screen_->qy->field(field).index();
    QStringList texts;
    for (int row = 0; row < screen_->DBGrid1->model()->rowCount(); ++row)
        texts << screen_->DBGrid1->model()->index(row, column).data().toString();
    return texts;
}

// Statements the console's connection has run so far.
int TestSY990::executed() const {
    int count = 0;
    for (const TraceEvent& e : dm_->sqlm.events())
        count += e.category == TraceCategory::Execute;
    return count;
}

void TestSY990::opensWithItsLayout() {
    open();
    QCOMPARE(screen_->windowTitle(), QString::fromUtf8("Gatekeeper 作業"));
    QCOMPARE(screen_->size(), QSize(800, 639));
    QCOMPARE(screen_->RadioGroup1->title(), QString::fromUtf8("指令"));
    QStringList items;
    for (QAbstractButton* b : screen_->RadioGroup1Items->buttons())
        items << b->text();
    QCOMPARE(items, QStringList({"Select", "Update", "Insert", "Delete", "Other"}));
    QCOMPARE(screen_->command(), Command::Select);
    QCOMPARE(screen_->Memo1->toPlainText(), QString("Select * From      LIMIT 10 OFFSET 0"));
    QCOMPARE(screen_->SpeedButton2->text(), QString::fromUtf8("執行"));
    QCOMPARE(screen_->SpeedButton1->text(), QString::fromUtf8("離開"));
    QAbstractItemModel* tables = screen_->DBGrid2->model();
    QCOMPARE(tables->columnCount(), 1);
    QCOMPARE(tables->headerData(0, Qt::Horizontal).toString(), QString::fromUtf8("資料表"));
    QCOMPARE(screen_->DBGrid2->columnWidth(0), 120);
    QStringList names;
    for (int row = 0; row < tables->rowCount(); ++row)
        names << tables->index(row, 0).data().toString();
    for (const char* table : {"cust_unit", "oil_change", "tran", "tran_detl", "Tank Log"})
        QVERIFY2(names.contains(table), table);
    for (const QString& name : names)
        QVERIFY2(!name.startsWith("pg_") && !name.startsWith("sql_"), qPrintable(name));
    QStringList sorted = names;
    sorted.sort();
    QCOMPARE(names, sorted);
    QCOMPARE(screen_->BiDiDBNavigator1->visibleButtons(),
             Nav::Buttons({Nav::nbFirst, Nav::nbPrior, Nav::nbNext, Nav::nbLast, Nav::nbInsert,
                           Nav::nbDelete, Nav::nbEdit, Nav::nbPost, Nav::nbCancel}));
    QVERIFY(!screen_->qy->active());
    QVERIFY(dm_->cn.connected());
    QVERIFY(!screen_->sbStop->isVisible());
}

void TestSY990::choiceAppendsItsTemplate_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("line");
    QTest::newRow("Select") << int(Command::Select)
                            << "SELECT table_column1, table_column2 FROM table_name ";
    QTest::newRow("Update") << int(Command::Update)
                            << "UPDATE table_name SET column1=value1, column2=value2 WHERE  ";
    QTest::newRow("Insert")
        << int(Command::Insert)
        << "INSERT INTO table_name (column1, column2) VALUES (value1, value2)  ";
    QTest::newRow("Delete") << int(Command::Delete)
                            << "DELETE FROM table_name WHERE column_name operator value  ";
    QTest::newRow("Other") << int(Command::Other) << "";
}

void TestSY990::choiceAppendsItsTemplate() {
    QFETCH(int, item);
    QFETCH(QString, line);
    open();
    const QString first = screen_->Memo1->toPlainText();
    // Select is chosen already: choosing it again means choosing another first (Other adds
    // nothing).
    if (Command(item) == Command::Select) choose(Command::Other);
    setMemo(first, 0, 7);
    choose(Command(item));
    choose(Command(item)); // the chosen item once more: nothing more
    QCOMPARE(screen_->command(), Command(item));
    const QString expected = line.isEmpty() ? first : first + '\n' + line;
    QCOMPARE(screen_->Memo1->toPlainText(), expected);
    QCOMPARE(screen_->Memo1->textCursor().position(), 7);
    QCOMPARE(screen_->Memo1->textCursor().blockNumber(), 0);
}

void TestSY990::tableDoubleClickAppendsItsLine() {
    open();
    DBGrid* tables = screen_->DBGrid2;
    auto doubleClick = [&](const QString& table) {
        const QModelIndexList found = tables->model()->match(
            tables->model()->index(0, 0), Qt::DisplayRole, table, 1, Qt::MatchExactly);
        QVERIFY2(!found.isEmpty(), qPrintable(table));
        const QPoint at = tables->visualRect(found.first()).center();
        QTest::mouseClick(tables->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(tables->viewport(), Qt::LeftButton, {}, at);
    };
    setMemo(screen_->Memo1->toPlainText(), 0, 4);
    doubleClick("cust_unit");
    doubleClick("cust_unit");
    doubleClick("Tank Log");
    const QString line = "Select * From cust_unit LIMIT 10 OFFSET 0 ";
    QCOMPARE(screen_->Memo1->toPlainText(),
             QStringList({"Select * From      LIMIT 10 OFFSET 0", line, line,
                          "Select * From \"Tank Log\" LIMIT 10 OFFSET 0 "})
                 .join('\n'));
    QCOMPARE(screen_->Memo1->textCursor().position(), 4);
    // The quoted name reaches its table.
    setMemo(screen_->Memo1->toPlainText(), 3);
    QCOMPARE(run(), QString());
    QCOMPARE(screen_->qy->recordCount(), 2);
}

void TestSY990::runsOnlyTheCaretLine_data() {
    QTest::addColumn<QString>("memo");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("sent");
    const QString three = "select 1 as a\nselect 2 as a\nselect 3 as a";
    QTest::newRow("caret in the middle line") << three << 1 << 5 << "select 2 as a ";
    QTest::newRow("caret at the start of the first") << three << 0 << 0 << "select 1 as a ";
    QTest::newRow("caret at the end of the last") << three << 2 << 13 << "select 3 as a ";
    QTest::newRow("caret after the last line") << three + '\n' << 3 << 0 << "select 3 as a ";
    QTest::newRow("trailing blanks kept, one added")
        << "select 1 as a\nselect 5 as a  \nselect 3 as a" << 1 << 0 << "select 5 as a   ";
}

void TestSY990::runsOnlyTheCaretLine() {
    QFETCH(QString, memo);
    QFETCH(int, line);
    QFETCH(int, position);
    QFETCH(QString, sent);
    open();
    setMemo(memo, line, position);
    const int before = executed();
    QCOMPARE(run(), QString());
    QCOMPARE(executed(), before + 1);
    QCOMPARE(dm_->sqlm.events().back().message, sent);
    QCOMPARE(screen_->qy->field("a").asText(), sent.mid(7, 1));
    QCOMPARE(screen_->LabelNote->text(), QString::fromUtf8("共 1 筆"));
    QVERIFY(screen_->Memo1->hasFocus());
    QCOMPARE(screen_->Memo1->textCursor().blockNumber(), line);
}

void TestSY990::runOutcomes_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("rows"); // -1: the query stays closed
    QTest::addColumn<QString>("note");
    QTest::addColumn<QString>("check"); // a statement on the station afterwards
    QTest::addColumn<QString>("checked");
    const QString queryError = QString::fromUtf8("查詢錯誤...");
    const QString executeError = QString::fromUtf8("執行錯誤...");
    const QString companies = "select count(*) from cust_unit";
    const int select = int(Command::Select), update = int(Command::Update);
    QTest::newRow("Update's template line") << update
                                            << "UPDATE table_name SET column1=value1, "
                                               "column2=value2 WHERE  "
                                            << executeError << -1 << "" << companies << "2";
    QTest::newRow("a select with Update: run, no rows")
        << update << "select * from cust_unit"
        << "" << -1 << QString::fromUtf8("執行完成：SELECT 2") << companies << "2";
    QTest::newRow("an update with Select: refused, not run")
        << select << "update cust_unit set discount_d = 7" << queryError << -1 << ""
        << "select count(*) from cust_unit where discount_d = 7"
        << "0";
    QTest::newRow("an unknown table")
        << select << "select * from no_such_table" << queryError << -1 << "" << companies << "2";
    QTest::newRow("a colon word reaches the server as typed")
        << select << "select 1 as one where :x is null" << queryError << -1 << "" << companies
        << "2";
    QTest::newRow("insert with Insert, Big5 bytes as typed")
        << int(Command::Insert)
        << QString::fromUtf8("insert into cust_unit values ('Z9', '許功蓋', 0, 0)") << "" << -1
        << QString::fromUtf8("執行完成：INSERT 0 1")
        << "select encode(convert_to(unit_name, 'SQL_ASCII'), 'hex') from cust_unit "
           "where cust_id = 'Z9'"
        << "b35ca55cbb5c";
    QTest::newRow("delete with Delete")
        << int(Command::Delete) << "delete from cust_unit where cust_id = 'A001'"
        << "" << -1 << QString::fromUtf8("執行完成：DELETE 1") << companies << "1";
    QTest::newRow("a write returning rows with Select")
        << select << "insert into cust_unit values ('Z8', 'x', 0, 0) returning cust_id"
        << "" << 1 << QString::fromUtf8("共 1 筆") << companies << "3";
    QTest::newRow("Big5 backslash bytes in a query")
        << select
        << QString::fromUtf8("Select encode(convert_to('許功蓋', 'SQL_ASCII'), 'hex') as h "
                             "from cust_unit where unit_name = '功學社'")
        << "" << 1 << QString::fromUtf8("共 1 筆") << companies << "2";
    QTest::newRow("a blank line sends nothing")
        << select << "   " << QString::fromUtf8("游標所在的這一行沒有指令...") << -1 << ""
        << companies << "2";
    QTest::newRow("a character Big5 cannot hold")
        << update << QString::fromUtf8("update cust_unit set unit_name = '😀'")
        << QString::fromUtf8("文字「update cust_unit set unit_name = '😀' 」含有無法以 Big5 "
                             "儲存的字元「😀」")
        << -1 << ""
        << "select count(*) from cust_unit where unit_name like '?%'"
        << "0";
}

void TestSY990::runOutcomes() {
    QFETCH(int, item);
    QFETCH(QString, line);
    QFETCH(QString, message);
    QFETCH(int, rows);
    QFETCH(QString, note);
    QFETCH(QString, check);
    QFETCH(QString, checked);
    open();
    // Rows of an earlier statement are on screen: a failed run must not leave them there.
    setMemo("select * from oil_change", 0);
    QCOMPARE(run(), QString());
    QCOMPARE(screen_->qy->recordCount(), 3);
    choose(Command(item));
    setMemo(line, 0);
    const int before = executed();
    QCOMPARE(run(), message);
    QCOMPARE(screen_->qy->active(), rows >= 0);
    QCOMPARE(screen_->DBGrid1->model()->rowCount(), std::max(rows, 0));
    if (rows < 0) QCOMPARE(screen_->DBGrid1->model()->columnCount(), 0);
    QCOMPARE(screen_->LabelNote->text(), note);
    QCOMPARE(stored(check), checked);
    // Nothing reaches the server for a line that cannot be sent as typed.
    if (message.startsWith(QString::fromUtf8("游標")) ||
        message.startsWith(QString::fromUtf8("文字")))
        QCOMPARE(executed(), before);
    if (QTest::currentDataTag() == QString("Big5 backslash bytes in a query"))
        QCOMPARE(screen_->qy->field("h").asText(), QString("b35ca55cbb5c"));
    QVERIFY(screen_->SpeedButton2->isEnabled());
    // Whatever the outcome, the next statement with Big5 text runs.
    choose(Command::Other);
    choose(Command::Select);
    setMemo(QString::fromUtf8("select count(*) as n from cust_unit where unit_name <> '許'"), 0);
    QCOMPARE(run(), QString());
    QCOMPARE(screen_->qy->field("n").asText(), stored("select count(*) from cust_unit"));
}

void TestSY990::wideResultColumnsAndSorting() {
    open();
    setMemo(QString::fromUtf8("select unit_name, repeat('許', 60) as wide, 1 as n, cust_id, "
                              "discount_d, discount_g, 'abcdefghijklmnopqrstuvwxyz' as letters, "
                              "now() as at from cust_unit"),
            0);
    QCOMPARE(run(), QString());
    DBGrid* grid = screen_->DBGrid1;
    const int most = grid->width() / 6;
    QCOMPARE(grid->model()->columnCount(), 8);
    QList<int> widths;
    for (int c = 0; c < 8; ++c) {
        widths << grid->columnWidth(c);
        QVERIFY2(widths.last() <= most,
                 qPrintable(grid->model()->headerData(c, Qt::Horizontal).toString()));
    }
    QCOMPARE(widths[1], most);     // the wide text is cut to a sixth
    QVERIFY(widths[2] < most / 2); // a narrow column keeps its own width
    QVERIFY(widths[2] > 0);
    gui::saveScreenshot(screen_.get(), "sy990_result");

    QCOMPARE(columnTexts("cust_id"), QStringList({"B010", "A001"}));
    QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(grid->horizontalHeader()->sectionViewportPosition(3) + 5, 5));
    QCOMPARE(columnTexts("cust_id"), QStringList({"A001", "B010"}));
    for (int c = 0; c < 8; ++c)
        QCOMPARE(grid->columnWidth(c), widths[c]); // sorting keeps the widths
    // While a row is being edited a title click leaves the rows alone.
    screen_->BiDiDBNavigator1->BtnClick(Nav::nbLast);
    screen_->BiDiDBNavigator1->BtnClick(Nav::nbEdit);
    screen_->DBGrid1TitleClick("unit_name");
    QCOMPARE(screen_->qy->state(), QueryState::Edit);
    QCOMPARE(columnTexts("cust_id"), QStringList({"A001", "B010"}));
    screen_->BiDiDBNavigator1->BtnClick(Nav::nbCancel);
    screen_->DBGrid1TitleClick("unit_name"); // Big5 order: 功 (A5) before 許 (B3)
    QCOMPARE(columnTexts("cust_id"), QStringList({"B010", "A001"}));
    screen_->DBGrid1TitleClick("no_such_column"); // ignored
    QCOMPARE(columnTexts("cust_id"), QStringList({"B010", "A001"}));
}

void TestSY990::editInsertDeleteWithoutPrimaryKey() {
    open();
    const QString receipts = "select string_agg(shift || '/' || target_tank || '/' || "
                             "gasoline_vol::float8 || '/' || coalesce(encode(convert_to(bill_no, "
                             "'SQL_ASCII'), 'hex'), '-'), ' ' order by shift, gasoline_vol) "
                             "from oil_change";
    setMemo("Select * From oil_change order by shift", 0);
    QCOMPARE(run(), QString());
    QCOMPARE(screen_->qy->recordCount(), 3);
    Nav* nav = screen_->BiDiDBNavigator1;

    // The grid starts editing only after the navigator's Edit.
    nav->BtnClick(Nav::nbNext);
    const QModelIndex volume =
        screen_->DBGrid1->model()->index(1, screen_->qy->field("gasoline_vol").index());
    QVERIFY(!(screen_->DBGrid1->model()->flags(volume) & Qt::ItemIsEditable));
    nav->BtnClick(Nav::nbEdit);
    QVERIFY(!screen_->SpeedButton2->isEnabled());
    QVERIFY(!screen_->SpeedButton1->isEnabled());
    typeIntoCell("gasoline_vol", "8100.5");
    typeIntoCell("bill_no", QString::fromUtf8("許1"));
    gui::saveScreenshot(screen_.get(), "sy990_editing");
    nav->BtnClick(Nav::nbPost);
    QCOMPARE(screen_->qy->state(), QueryState::Browse);
    QVERIFY(screen_->SpeedButton2->isEnabled());
    // Only the row edited, though another one had the same values but for the shift.
    QCOMPARE(stored(receipts), QString("1130506_1/1/10000/4e31 1130506_2/3/8100.5/b35c31 "
                                       "1130507_1/3/8000/-")); // N1, 許1

    nav->BtnClick(Nav::nbInsert);
    QCOMPARE(screen_->qy->state(), QueryState::Insert);
    typeIntoCell("shift", "1130508_1");
    typeIntoCell("target_tank", "2");
    typeIntoCell("gasoline_vol", "5000");
    nav->BtnClick(Nav::nbPost);
    QCOMPARE(screen_->qy->state(), QueryState::Browse);
    QCOMPARE(stored("select count(*) from oil_change where shift = '1130508_1' and "
                    "target_tank = '2' and gasoline_vol = 5000 and bill_no is null"),
             QString("1"));
    QCOMPARE(screen_->qy->recordCount(), 4);

    nav->BtnClick(Nav::nbLast); // 1130507_1
    QCOMPARE(screen_->qy->field("shift").asText().trimmed(), QString("1130507_1"));
    QString asked;
    gui::pressInNextMessageBox(QMessageBox::Ok, &asked);
    nav->BtnClick(Nav::nbDelete);
    gui::stopAnswering();
    QCOMPARE(asked, QString::fromUtf8("刪除此筆資料？"));
    QCOMPARE(screen_->qy->recordCount(), 3);
    QCOMPARE(stored("select count(*) from oil_change"), QString("3"));
    QCOMPARE(stored("select count(*) from oil_change where shift = '1130507_1'"), QString("0"));
}

void TestSY990::refusedSaveStaysInEditing() {
    open();
    setMemo("Select * From cust_unit order by cust_id", 0);
    QCOMPARE(run(), QString());
    Nav* nav = screen_->BiDiDBNavigator1;

    // A text that is no number: the save is refused, the row still editing.
    nav->BtnClick(Nav::nbEdit);
    QString refused;
    typeIntoCell("discount_d", "abc");
    gui::pressInNextMessageBox(QMessageBox::Ok, &refused);
    nav->BtnClick(Nav::nbPost);
    gui::stopAnswering();
    QVERIFY2(refused.contains("abc"), qPrintable(refused));
    QCOMPARE(screen_->qy->state(), QueryState::Edit);
    nav->BtnClick(Nav::nbCancel);
    QCOMPARE(screen_->qy->field("discount_d").asFloat(), 1.0);
    QCOMPARE(stored("select discount_d::float8 from cust_unit where cust_id = 'A001'"),
             QString("1"));

    // A key the station has already: the server refuses, its message shown.
    nav->BtnClick(Nav::nbInsert);
    typeIntoCell("cust_id", "B010");
    typeIntoCell("unit_name", QString::fromUtf8("重複"));
    gui::pressInNextMessageBox(QMessageBox::Ok, &refused);
    nav->BtnClick(Nav::nbPost);
    gui::stopAnswering();
    QVERIFY2(refused.contains("cust_unit_pkey"), qPrintable(refused));
    QCOMPARE(screen_->qy->state(), QueryState::Insert);
    QCOMPARE(screen_->qy->field("cust_id").asText(), QString("B010"));
    // Neither a new statement nor leaving while the row waits.
    QVERIFY(!screen_->SpeedButton2->isEnabled());
    screen_->close();
    QVERIFY(screen_->isVisible());
    QCOMPARE(screen_->LabelNote->text(), QString::fromUtf8("檔案目前非  瀏覽  資料狀態"));
    typeIntoCell("cust_id", "C020");
    nav->BtnClick(Nav::nbPost);
    QCOMPARE(screen_->qy->state(), QueryState::Browse);
    QCOMPARE(stored("select encode(convert_to(unit_name, 'SQL_ASCII'), 'hex') from cust_unit "
                    "where cust_id = 'C020'"),
             QString("adabbdc6")); // 重複 in Big5
    QCOMPARE(stored("select count(*) from cust_unit"), QString("3"));
}

void TestSY990::millionRowsStayResponsive() {
    open();
    setMemo("select g, 'row ' || g as label from generate_series(1, 1000000) g", 0);
    int ticks = 0;
    bool stopOffered = false, runLocked = false;
    QTimer tick;
    connect(&tick, &QTimer::timeout, this, [&] {
        ++ticks;
        stopOffered = stopOffered || screen_->sbStop->isVisible();
        runLocked = runLocked || !screen_->SpeedButton2->isEnabled();
    });
    tick.start(20);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(run(), QString());
    const qint64 took = clock.elapsed();
    tick.stop();
    qInfo("a million rows read in %lld ms", took);
    QVERIFY2(ticks > 2, qPrintable(QString::number(ticks))); // the window kept answering
    QVERIFY(stopOffered);
    QVERIFY(runLocked);
    QCOMPARE(screen_->qy->recordCount(), console::rowLimit);
    QCOMPARE(screen_->qy->rowsReturned(), qint64(1000000));
    QCOMPARE(screen_->LabelNote->text(),
             QString::fromUtf8("共 1000000 筆，只顯示前 10000 筆；請以 WHERE 或 LIMIT 縮小範圍"));
    screen_->qy->last();
    QCOMPARE(screen_->qy->field("label").asText(), QString("row 10000"));
    QVERIFY(!screen_->sbStop->isVisible());
    QVERIFY(screen_->SpeedButton2->isEnabled());
}

void TestSY990::stopEndsARunningStatement() {
    open();
    choose(Command::Insert);
    setMemo("insert into cust_unit select 'S' || g, 'x', 0, 0 from generate_series(1, 3) g, "
            "pg_sleep(20)",
            0);
    QTimer::singleShot(400, screen_.get(), [this] {
        QVERIFY(screen_->running());
        QTest::mouseClick(screen_->sbStop, Qt::LeftButton);
    });
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(run(), QString()); // no message box: stopping is no error
    QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(screen_->LabelNote->text(), QString::fromUtf8("已停止，指令沒有完成"));
    QCOMPARE(stored("select count(*) from cust_unit"), QString("2"));
    QVERIFY(!screen_->running());
    QVERIFY(screen_->SpeedButton2->isEnabled());
    setMemo("insert into cust_unit values ('S9', 'x', 0, 0)", 0);
    QCOMPARE(run(), QString());
    QCOMPARE(stored("select count(*) from cust_unit"), QString("3"));
}

void TestSY990::closing() {
    open();
    QTest::keyClick(screen_.get(), Qt::Key_Escape);
    QVERIFY(screen_->isVisible());

    // A transaction typed in the console and left open is ended on closing, as asked.
    choose(Command::Other);
    setMemo("begin\ninsert into cust_unit values ('T1', 'x', 0, 0)", 0);
    QCOMPARE(run(), QString());
    QCOMPARE(screen_->LabelNote->text(),
             QString::fromUtf8("執行完成：BEGIN　交易進行中：請以 COMMIT 或 ROLLBACK 結束"));
    setMemo("begin\ninsert into cust_unit values ('T1', 'x', 0, 0)", 1);
    QCOMPARE(run(), QString());
    QString asked;
    gui::pressInNextMessageBox(QMessageBox::Cancel, &asked);
    QTest::mouseClick(screen_->SpeedButton1, Qt::LeftButton);
    gui::stopAnswering();
    QVERIFY(asked.contains("ROLLBACK"));
    QVERIFY(!screen_->isVisible());
    QCOMPARE(stored("select count(*) from cust_unit where cust_id = 'T1'"), QString("0"));
    QVERIFY(!dm_->cn.serverTransactionOpen());
    // The console leaves the connection open.
    QVERIFY(dm_->cn.connected());
}

void TestSY990::fromTheMainMenuOnTheDemoStation() {
    testdb::recreate();
    {
        Connection cn;
        testdb::configure(cn);
        DemoOptions options;
        options.seed = 7;
        options.days = 2;
        options.salesPerDay = 150;
        options.lastDay = QDate(2024, 3, 9);
        CopyLoader loader(cn);
        NoProgress progress;
        generateDemoStation(options, loader, progress);
        loader.finish();
    }
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
    auto menu = std::make_unique<TMainForm>();
    menu->show();
    QVERIFY(QTest::qWaitForWindowExposed(menu.get()));
    QString caption, note;
    int rows = -1;
    bool ran = false;
    gui::answerNextDialog(
        [&](QWidget* dialog) {
            auto* console = qobject_cast<TFrmSY990*>(dialog);
            if (!console) return;
            caption = console->windowTitle();
            DBGrid* tables = console->DBGrid2;
            const QModelIndexList tran = tables->model()->match(
                tables->model()->index(0, 0), Qt::DisplayRole, "tran", 1, Qt::MatchExactly);
            if (tran.isEmpty()) return;
            const QPoint at = tables->visualRect(tran.first()).center();
            QTest::mouseClick(tables->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(tables->viewport(), Qt::LeftButton, {}, at);
            // The caret onto the appended line, then run it.
            QTextCursor caret = console->Memo1->textCursor();
            caret.movePosition(QTextCursor::End);
            console->Memo1->setTextCursor(caret);
            QTest::mouseClick(console->SpeedButton2, Qt::LeftButton);
            rows = console->qy->recordCount();
            note = console->LabelNote->text();
            // The first sale's vehicle corrected through the navigator.
            console->qy->setSortedFields("tran_time");
            console->BiDiDBNavigator1->BtnClick(Nav::nbFirst);
            console->BiDiDBNavigator1->BtnClick(Nav::nbEdit);
            const int column = console->qy->field("car_no").index();
            const QModelIndex cell = console->DBGrid1->model()->index(console->qy->recNo(), column);
            console->DBGrid1->setCurrentIndex(cell);
            console->DBGrid1->edit(cell);
            if (auto* editor = qobject_cast<QLineEdit*>(console->DBGrid1->indexWidget(cell))) {
                editor->selectAll();
                QTest::keyClicks(editor, "TEST-01");
            }
            console->BiDiDBNavigator1->BtnClick(Nav::nbPost);
            ran = console->qy->state() == QueryState::Browse;
            gui::saveScreenshot(console, "sy990_demo_station");
            QTest::mouseClick(console->SpeedButton1, Qt::LeftButton);
        },
        nullptr, 30000);
    QTest::mouseDClick(menu->Panel3, Qt::LeftButton);
    QTest::keyClicks(menu->Edit1, "gatekeeper");
    gui::stopAnswering();
    QCOMPARE(caption, QString::fromUtf8("Gatekeeper 作業"));
    QCOMPARE(rows, 10);
    QCOMPARE(note, QString::fromUtf8("共 10 筆"));
    QVERIFY(ran);
    QCOMPARE(stored("select count(*) from tran where car_no = 'TEST-01'"), QString("1"));
    QVERIFY(menu->Edit1->text().isEmpty());
    QVERIFY(dm_->cn.connected()); // the console does not disconnect
    gui::pressInNextMessageBox(QMessageBox::Ok);
    menu->close();
    gui::stopAnswering();
}

QTEST_MAIN(TestSY990)
#include "tst_sy990.moc"
