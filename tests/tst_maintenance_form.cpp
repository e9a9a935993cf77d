// The conventions every table-maintenance screen shares, on a small screen over a fixture
// table: state line and button sets, Enter as Tab, the close guard, the find box, sorting by
// title, the refused save and the empty-field fill.
#include "app/data_module.h"
#include "app/gui_start.h"
#include "db/input_refused.h"
#include "screens/common/db_edit.h"
#include "screens/common/db_grid.h"
#include "screens/common/db_navigator.h"
#include "screens/common/maintenance_form.h"
#include "support/gui_support.h"
#include "support/test_database.h"

#include <QAbstractButton>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {

using Nav = TBiDiDBNavigator;

// A maintenance screen over the fixture table, with one check and a multi-line note box.
class FixtureScreen : public TMaintenanceForm {
public:
    explicit FixtureScreen(bool deletes = false)
        : TMaintenanceForm(QStringLiteral("SY999 測試資料維護")), deletes_(deletes) {
        addEditField("e01", QStringLiteral("代號"), "code");
        addEditField("e02", QStringLiteral("名稱"), "name");
        memo = new QPlainTextEdit(PanelEdit);
        memo->setObjectName("memo");
        static_cast<QFormLayout*>(PanelEdit->layout())->addRow(QStringLiteral("備註"), memo);
        addEditField("e03", QStringLiteral("費率"), "rate");
        addEditField("e04", QStringLiteral("數量"), "qty");
        DBGrid1->setColumns({{"code", QStringLiteral("代號"), 80},
                             {"name", QStringLiteral("名稱"), 120},
                             {"rate", QStringLiteral("費率"), 70},
                             {"remark", QStringLiteral("說明"), 80}}); // not in the result
    }
    QPlainTextEdit* memo;
    int closings = 0;

protected:
    QString tableSql() const override { return "select * from fixture order by code"; }
    QString keyField() const override { return "code"; }
    QString keyCaption() const override { return QStringLiteral("代號"); }
    bool allowsDelete() const override { return deletes_; }
    void checksBeforePost(Query& tb) override {
        if (tb.field("name").asText() == "BAD")
            throw InputRefused(QStringLiteral("名稱錯誤,請重新輸入..."), "e02");
    }
    void closingWork() override { ++closings; }

private:
    bool deletes_;
};

QString stateLine(const FixtureScreen& s) {
    return s.PanelBase_State->text();
}

QString browseLine(int rows) {
    return QStringLiteral("檔案目前為  瀏覽  資料狀態    筆數 : %1").arg(rows);
}

QString editLine(int rows) {
    return QStringLiteral("檔案目前為  編輯  資料狀態    筆數 : %1").arg(rows);
}

// Types Chinese or Latin text into a field as key events, so it reaches the field as typing.
void type(QWidget* field, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), {});
}

// The first column of the first row of `sql`, read over the program's own connection.
QString stored(const QString& sql) {
    Query q(DM->cn);
    q.setSql(sql);
    q.open();
    return q.fieldAt(0).asText();
}

TDBEdit* edit(FixtureScreen& s, const char* name) {
    return s.findChild<TDBEdit*>(name);
}

} // namespace

class TestMaintenanceForm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void layoutAndBrowseState_data();
    void layoutAndBrowseState();
    void typingStartsEditingAndSaveWrites();
    void closeGuard();
    void enterMovesOnAsTab_data();
    void enterMovesOnAsTab();
    void findBox_data();
    void findBox();
    void titleClickSorts();
    void refusedSaveKeepsTheRowInEditing();
    void failedSaveKeepsTheRowInEditing_data();
    void failedSaveKeepsTheRowInEditing();
    void emptyFieldsAreFilledByKind();
    void countNotRecalculatedAfterDelete();
    void escapeDoesNotClose();
    void typingWithoutARowAddsNone_data();
    void typingWithoutARowAddsNone();

private:
    std::unique_ptr<DataModule> dm_;
    std::unique_ptr<FixtureScreen> screen_;
    std::unique_ptr<FixtureScreen> open(bool deletes = false);
};

void TestMaintenanceForm::initTestCase() {
    setUpChineseFonts();
}

void TestMaintenanceForm::init() {
    testdb::recreate();
    testdb::admin("create table fixture (code char(6) primary key, name varchar(20), "
                  "rate float8, qty integer, amount numeric(10,2), active boolean, day date, "
                  "big bigint, note text)",
                  "pos_data");
    testdb::admin(QString::fromUtf8("insert into fixture (code, name, rate, qty) values "
                                    "('A100', '許厝港', 1.5, 10), ('B200', '中壢', 2, 20), "
                                    "('B210', '大園', 0.25, null), ('C300', '功學社', 3, 30)"),
                  "pos_data");
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
}

void TestMaintenanceForm::cleanup() {
    if (screen_ && screen_->isVisible()) {
        screen_->tb1->cancel();
        screen_->close();
    }
    screen_.reset();
    dm_.reset();
}

std::unique_ptr<FixtureScreen> TestMaintenanceForm::open(bool deletes) {
    auto screen = std::make_unique<FixtureScreen>(deletes);
    screen->FormCreate();
    screen->show();
    if (!QTest::qWaitForWindowExposed(screen.get())) return {};
    QApplication::setActiveWindow(screen.get());
    return screen;
}

void TestMaintenanceForm::layoutAndBrowseState_data() {
    QTest::addColumn<bool>("deletes");
    QTest::newRow("without Delete") << false;
    QTest::newRow("with Delete") << true;
}

void TestMaintenanceForm::layoutAndBrowseState() {
    QFETCH(bool, deletes);
    screen_ = open(deletes);
    QVERIFY(screen_);
    QCOMPARE(screen_->size(), QSize(791, 509));
    QCOMPARE(screen_->BiDiDBNavigator1->width(), 400);
    QCOMPARE(screen_->LabelKey->text(), QStringLiteral("代號 :"));
    QCOMPARE(stateLine(*screen_), browseLine(4));
    QVERIFY(screen_->SpeedButtonExit->isEnabled());
    const Nav::Buttons shown = screen_->BiDiDBNavigator1->visibleButtons();
    for (auto b : {Nav::nbFirst, Nav::nbPrior, Nav::nbNext, Nav::nbLast})
        QVERIFY(shown.contains(b));
    for (auto b : {Nav::nbInsert, Nav::nbPost, Nav::nbCancel})
        QVERIFY(!shown.contains(b));
    QCOMPARE(shown.contains(Nav::nbDelete), deletes);
    QCOMPARE(edit(*screen_, "e02")->text(), QString::fromUtf8("許厝港"));
    QCOMPARE(edit(*screen_, "e01")->text(), QStringLiteral("A100")); // without its padding
    if (!deletes) gui::saveScreenshot(screen_.get(), "maintenance_form");
}

void TestMaintenanceForm::typingStartsEditingAndSaveWrites() {
    screen_ = open();
    QVERIFY(screen_);
    screen_->BiDiDBNavigator1->BtnClick(Nav::nbNext);
    TDBEdit* name = edit(*screen_, "e02");
    QCOMPARE(name->text(), QString::fromUtf8("中壢"));
    name->setFocus();
    name->selectAll();
    type(name, QString::fromUtf8("中壢站"));
    QCOMPARE(screen_->tb1->state(), QueryState::Edit);
    QCOMPARE(stateLine(*screen_), editLine(4));
    QVERIFY(!screen_->SpeedButtonExit->isEnabled());
    QCOMPARE(screen_->BiDiDBNavigator1->visibleButtons(),
             Nav::Buttons({Nav::nbPost, Nav::nbCancel}));
    gui::saveScreenshot(screen_.get(), "maintenance_form_editing");
    screen_->BiDiDBNavigator1->BtnClick(Nav::nbPost);
    QCOMPARE(stateLine(*screen_), browseLine(4));
    QVERIFY(screen_->SpeedButtonExit->isEnabled());
    QCOMPARE(stored("select name from fixture where code = 'B200'"), QString::fromUtf8("中壢站"));
}

void TestMaintenanceForm::closeGuard() {
    screen_ = open();
    QVERIFY(screen_);
    type(edit(*screen_, "e03"), "9");
    QCOMPARE(screen_->tb1->state(), QueryState::Edit);
    screen_->close();
    QVERIFY(screen_->isVisible());
    QCOMPARE(stateLine(*screen_), QStringLiteral("檔案目前非  瀏覽  資料狀態"));
    QCOMPARE(screen_->closings, 0);
    screen_->BiDiDBNavigator1->BtnClick(Nav::nbCancel);
    QCOMPARE(stateLine(*screen_), browseLine(4));
    QTest::mouseClick(screen_->SpeedButtonExit, Qt::LeftButton);
    QVERIFY(!screen_->isVisible());
    QCOMPARE(screen_->closings, 1);
    QVERIFY(!screen_->tb1->active());
    QVERIFY(!dm_->cn.connected());
}

void TestMaintenanceForm::enterMovesOnAsTab_data() {
    QTest::addColumn<QString>("from");
    QTest::newRow("first field") << "e01";
    QTest::newRow("field before the note box") << "e02";
    QTest::newRow("last field wraps round") << "e04";
}

void TestMaintenanceForm::enterMovesOnAsTab() {
    QFETCH(QString, from);
    screen_ = open();
    QVERIFY(screen_);
    auto* field = screen_->findChild<QLineEdit*>(from);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Tab);
    QWidget* afterTab = QApplication::focusWidget();
    QVERIFY(afterTab && afterTab != field);

    field->setFocus();
    QSignalSpy reached(field, &QLineEdit::returnPressed);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), afterTab);
    QCOMPARE(reached.count(), 0); // the key never reaches the field
    if (from == "e04") QCOMPARE(afterTab, edit(*screen_, "e01"));

    // A multi-line box keeps its Enter for a line break.
    screen_->memo->setFocus();
    QTest::keyClick(screen_->memo, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), screen_->memo);
    QCOMPARE(screen_->memo->toPlainText(), QStringLiteral("\n"));
}

void TestMaintenanceForm::findBox_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("current");
    QTest::newRow("one letter, capitalised") << "b"
                                             << "B"
                                             << "B200";
    QTest::newRow("longer key") << "b21"
                                << "B21"
                                << "B210";
    QTest::newRow("no key begins so: stays") << "b9"
                                             << "B9"
                                             << "B200";
    QTest::newRow("blanks only: stays") << "  "
                                        << "  "
                                        << "A100";
}

void TestMaintenanceForm::findBox() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, current);
    screen_ = open();
    QVERIFY(screen_);
    QTest::keyClicks(screen_->ED1, typed);
    QCOMPARE(screen_->ED1->text(), shown);
    QCOMPARE(screen_->tb1->field("code").asText().trimmed(), current);
    screen_->ED1->clear(); // emptied: the row stays where it was
    QCOMPARE(screen_->tb1->field("code").asText().trimmed(), current);
    QCOMPARE(edit(*screen_, "e01")->text(), current);
}

void TestMaintenanceForm::titleClickSorts() {
    screen_ = open();
    QVERIFY(screen_);
    QHeaderView* header = screen_->DBGrid1->horizontalHeader();
    auto clickTitle = [&](int section) {
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(section) + 5, header->height() / 2));
    };
    auto codes = [&] {
        QStringList list;
        for (int row = 0; row < screen_->DBGrid1->model()->rowCount(); ++row)
            list << screen_->DBGrid1->model()->index(row, 0).data().toString().trimmed();
        return list;
    };
    clickTitle(2); // rate
    QCOMPARE(codes(), QStringList({"B210", "A100", "B200", "C300"}));
    QCOMPARE(screen_->tb1->field("code").asText().trimmed(), QStringLiteral("A100"));
    clickTitle(3); // a column the result lacks: nothing happens, no message
    QCOMPARE(codes(), QStringList({"B210", "A100", "B200", "C300"}));
    QVERIFY(!QApplication::activeModalWidget());
}

void TestMaintenanceForm::refusedSaveKeepsTheRowInEditing() {
    screen_ = open();
    QVERIFY(screen_);
    screen_->BiDiDBNavigator1->BtnClick(Nav::nbLast);
    screen_->BiDiDBNavigator1->BtnClick(Nav::nbPrior); // B210, qty null
    TDBEdit* name = edit(*screen_, "e02");
    name->setFocus();
    name->selectAll();
    type(name, "BAD");
    edit(*screen_, "e03")->setFocus();
    QString seen;
    gui::pressInNextMessageBox(QMessageBox::Ok, &seen);
    screen_->BiDiDBNavigator1->BtnClick(Nav::nbPost);
    QCOMPARE(seen, QStringLiteral("名稱錯誤,請重新輸入..."));
    QCOMPARE(screen_->tb1->state(), QueryState::Edit);
    QCOMPARE(name->text(), QStringLiteral("BAD"));
    QTRY_COMPARE(screen_->focusWidget(), static_cast<QWidget*>(name));
    QVERIFY(screen_->tb1->field("qty").isNull()); // the fill did not run
    QCOMPARE(stored("select name from fixture where code = 'B210'"), QString::fromUtf8("大園"));
    QVERIFY(!screen_->SpeedButtonExit->isEnabled());
}

void TestMaintenanceForm::failedSaveKeepsTheRowInEditing_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("the key of another row") << "e01"
                                            << "B200"
                                            << "duplicate key";
    QTest::newRow("letters in a number field") << "e04"
                                               << "12X"
                                               << "12X";
}

void TestMaintenanceForm::failedSaveKeepsTheRowInEditing() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    screen_ = open();
    QVERIFY(screen_);
    auto* box = screen_->findChild<TDBEdit*>(field);
    box->setFocus();
    box->selectAll();
    type(box, typed);
    QString seen;
    gui::pressInNextMessageBox(QMessageBox::Ok, &seen);
    screen_->BiDiDBNavigator1->BtnClick(Nav::nbPost);
    QVERIFY2(seen.contains(message), qPrintable(seen));
    QCOMPARE(screen_->tb1->state(), QueryState::Edit);
    QCOMPARE(box->text(), typed);
    QVERIFY(screen_->isVisible());
    QCOMPARE(stored("select count(*) from fixture where code = 'A100' and qty = 10"), "1");
}

void TestMaintenanceForm::emptyFieldsAreFilledByKind() {
    screen_ = open();
    QVERIFY(screen_);
    screen_->BiDiDBNavigator1->BtnClick(Nav::nbLast);
    screen_->BiDiDBNavigator1->BtnClick(Nav::nbPrior); // B210: only code, name and rate set
    TDBEdit* name = edit(*screen_, "e02");
    name->setFocus();
    name->selectAll();
    QTest::keyClick(name, Qt::Key_Delete); // the name emptied
    TDBEdit* rate = edit(*screen_, "e03");
    rate->setFocus();
    rate->selectAll();
    QTest::keyClick(rate, Qt::Key_Delete); // the rate emptied
    screen_->BiDiDBNavigator1->BtnClick(Nav::nbPost);
    QCOMPARE(screen_->tb1->state(), QueryState::Browse);
    const QString row = testdb::adminValue(
        "select concat_ws('|', coalesce(name, 'NULL'), coalesce(rate::text, 'NULL'), "
        "coalesce(qty::text, 'NULL'), coalesce(amount::text, 'NULL'), "
        "coalesce(active::text, 'NULL'), coalesce(day::text, 'NULL'), "
        "coalesce(big::text, 'NULL'), coalesce(note, 'NULL')) from fixture where code = 'B210'");
    QCOMPARE(row, QStringLiteral("|0|0|0.00|true|NULL|NULL|"));
}

void TestMaintenanceForm::countNotRecalculatedAfterDelete() {
    screen_ = open(true);
    QVERIFY(screen_);
    gui::pressInNextMessageBox(QMessageBox::Ok);
    screen_->BiDiDBNavigator1->BtnClick(Nav::nbDelete);
    QCOMPARE(screen_->tb1->recordCount(), 3);
    QCOMPARE(testdb::adminValue("select count(*) from fixture"), QString("3"));
    QCOMPARE(stateLine(*screen_), browseLine(4)); // the count as it was
    type(edit(*screen_, "e03"), "1");
    QCOMPARE(stateLine(*screen_), editLine(3)); // the next edit rewrites it
}

void TestMaintenanceForm::escapeDoesNotClose() {
    screen_ = open();
    QVERIFY(screen_);
    QTest::keyClick(edit(*screen_, "e01"), Qt::Key_Escape);
    QVERIFY(screen_->isVisible());
}

void TestMaintenanceForm::typingWithoutARowAddsNone_data() {
    QTest::addColumn<bool>("emptiedByDelete");
    QTest::newRow("a table without rows") << false;
    QTest::newRow("the last row deleted") << true;
}

void TestMaintenanceForm::typingWithoutARowAddsNone() {
    QFETCH(bool, emptiedByDelete);
    if (!emptiedByDelete) testdb::admin("delete from fixture", "pos_data");
    screen_ = open(true);
    QVERIFY(screen_);
    if (emptiedByDelete) {
        screen_->BiDiDBNavigator1->setConfirmDelete(false);
        while (!screen_->tb1->isEmpty())
            screen_->BiDiDBNavigator1->BtnClick(Nav::nbDelete);
    }
    TDBEdit* name = edit(*screen_, "e02");
    name->setFocus();
    type(name, "X");
    QCOMPARE(screen_->tb1->state(), QueryState::Browse);
    QCOMPARE(name->text(), QString());
    QVERIFY(screen_->SpeedButtonExit->isEnabled());
    QCOMPARE(testdb::adminValue("select count(*) from fixture"), QString("0"));
}

QTEST_MAIN(TestMaintenanceForm)
#include "tst_maintenance_form.moc"
