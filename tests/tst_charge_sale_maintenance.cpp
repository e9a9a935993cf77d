// The charge-sale maintenance screen SY040, driven as the office uses it on a small station:
// the day's list and the current sale, the three states, adding with its arithmetic and
// zero fill, the refused saves, modifying (the whole sale moves), voiding with relocation,
// the writes standing or falling together and the shift-report reminder on closing.
#include "app/data_module.h"
#include "app/gui_start.h"
#include "app/main_form.h"
#include "app/progress.h"
#include "charge/sy040_screen.h"
#include "db/connection.h"
#include "db/copy_loader.h"
#include "db/query.h"
#include "demo/station_generator.h"
#include "screens/common/date_picker.h"
#include "screens/common/db_grid.h"
#include "screens/common/db_navigator.h"
#include "screens/common/lookup_picker.h"
#include "support/gui_support.h"
#include "support/test_database.h"

#include "db/connection.h"
#include "db/copy_loader.h"
#include "db/query.h"
#include "demo/station_generator.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

using Nav = TBiDiDBNavigator;

// Three live charge sales on 2024/01/05 (A 08:30 and B 09:15 in the first shift, C 15:40 a
// two-line POS sale in the second), and beside them a cash sale, a voided charge sale and
// one of the next day, none of which the day's list shows.
const char* const stationFixture = R"(
insert into product (product_id, name, class, price) values
  ('113F 12092005', '九二無鉛', '101', 31.5), ('113F 51101001', '超級柴油', '101', 28.2),
  ('WASH01', '洗車', '102', 100), ('113F 99000131', '簽帳折讓', '131', 0);
insert into cust_unit (cust_id, unit_name) values ('C001', '大園運輸'), ('C002', '中壢客運');
insert into car_data (car_no, cust_id) values ('ABC-123', 'C001'), ('XYZ-999', 'C002');
insert into set_island (island, gun_no, product_id) values
  ('01', '01', '113F 12092005'), ('01', '02', '113F 51101001');
insert into shift_02_oil (shift, product_id) values
  ('1130105_1', '113F 12092005'), ('1130105_2', '113F 12092005'), ('1130106_1', '113F 12092005');
insert into tran (island, gun_no, tran_time, shift, car_no, ref_no1, ref_no2, tran_amt, real_amt,
                  inv_amt, tax, discount, payment, tran_tp, tax_type, ser_no, tran_mode, an_mark)
values
  ('01', '01', '2024-01-05 08:30:00', '1130105_1', 'ABC-123', 'C001', 'C001', 315, 315, 0, 0, 0,
   '903', '800', 'TX', -1, '1', '000'),
  ('01', '02', '2024-01-05 09:15:00', '1130105_1', 'XYZ-999', 'C002', 'C002', 282, 282, 0, 0, 0,
   '903', '800', 'TX', -1, '1', '000'),
  ('01', '01', '2024-01-05 15:40:00', '1130105_2', 'ABC-123', 'C001', 'C001', 610, 610, 581, 29,
   20, '903', '100', 'TX', 17, '0', '000'),
  ('01', '01', '2024-01-05 10:00:00', '1130105_1', '', '', '', 300, 300, 286, 14, 0,
   '100', '100', 'TX', 18, '0', '000'),
  ('01', '02', '2024-01-05 11:00:00', '1130105_1', 'XYZ-999', 'C002', 'C002', 100, 100, 0, 0, 0,
   '903', '800', 'TX', -1, '1', '200'),
  ('01', '01', '2024-01-06 08:00:00', '1130106_1', 'ABC-123', 'C001', 'C001', 63, 63, 0, 0, 0,
   '903', '800', 'TX', -1, '1', '000');
insert into tran_detl (island, gun_no, tran_time, seq, shift, product_id, class, price, qty, amt,
                       unit, tax_type) values
  ('01', '01', '2024-01-05 08:30:00', 1, '1130105_1', '113F 12092005', '101', 31.5, 10, 315,
   'LE', 'TX'),
  ('01', '02', '2024-01-05 09:15:00', 1, '1130105_1', '113F 51101001', '101', 28.2, 10, 282,
   'LE', 'TX'),
  ('01', '01', '2024-01-05 15:40:00', 1, '1130105_2', '113F 12092005', '101', 31.5, 20, 630,
   'LE', 'TX'),
  ('01', '01', '2024-01-05 15:40:00', 2, '1130105_2', '113F 99000131', '131', 0, 0, -20,
   'LE', 'TX'),
  ('01', '01', '2024-01-05 10:00:00', 1, '1130105_1', '113F 12092005', '101', 31.5, 9.52, 300,
   'LE', 'TX'),
  ('01', '02', '2024-01-05 11:00:00', 1, '1130105_1', '113F 51101001', '101', 28.2, 3.55, 100,
   'LE', 'TX'),
  ('01', '01', '2024-01-06 08:00:00', 1, '1130106_1', '113F 12092005', '101', 31.5, 2, 63,
   'LE', 'TX');
)";

const QString Day = QStringLiteral("2024/01/05");

QString sql(const char* text) {
    return QString::fromUtf8(text);
}

// A connection of the test's own, apart from the program's: it sees only what was committed.
std::unique_ptr<Connection> checker;

QString stored(const QString& query) {
    if (!checker) {
        checker = std::make_unique<Connection>();
        testdb::configure(*checker);
    }
    Query q(*checker);
    q.setSql(query);
    q.open();
    return q.fieldAt(0).asText();
}

int count(const QString& query) {
    return stored(query).toInt();
}

using gui::retype;

// Runs `steps` on the dialog of class `Dialog` that the next call opens.
template <class Dialog> void onNextDialog(std::function<void(Dialog*)> steps) {
    gui::answerNextDialog(
        [steps](QWidget* dialog) {
            if (auto* d = qobject_cast<Dialog*>(dialog)) steps(d);
        },
        nullptr, 20000);
}

// Picks `code` in the lookup picker that `button` opens, by typing it into the find box.
void pickCode(QToolButton* button, const QString& code) {
    onNextDialog<TFrmgetdata>([code](TFrmgetdata* picker) {
        QTest::keyClicks(picker->EdtFind, code);
        picker->BitBtnCanser->click();
    });
    QTest::mouseClick(button, Qt::LeftButton);
    gui::stopAnswering();
}

// Picks `day` in the date picker that `button` opens; `*startedOn` gets the picker's first day.
void pickDay(QToolButton* button, const QDate& day, QDate* startedOn = nullptr) {
    onNextDialog<TBrDateForm>([=](TBrDateForm* picker) {
        if (startedOn) *startedOn = picker->Date();
        picker->setDate(day);
        QTest::mouseClick(picker->OkBtn, Qt::LeftButton);
    });
    QTest::mouseClick(button, Qt::LeftButton);
    gui::stopAnswering();
}

// The header and line columns a keyed-in sale is written with, codes without their padding
// and numbers in one form whatever the column types.
QString headerRow(const QString& where) {
    return stored("select concat_ws('|', trim(island), trim(gun_no), tran_time, trim(shift), "
                  "car_no, ref_no1, ref_no2, tran_amt::float8, real_amt::float8, "
                  "inv_amt::float8, tax::float8, discount::float8, trim(payment), trim(tran_tp), "
                  "tax_type, ser_no, trim(tran_mode)) from tran where " +
                  where);
}

QString lineRows(const QString& where) {
    return stored("select string_agg(concat_ws('|', trim(island), trim(gun_no), tran_time, seq, "
                  "trim(shift), trim(product_id), trim(class), price::float8, qty::float8, "
                  "amt::float8, unit, tax_type), ';' order by seq) from tran_detl where " +
                  where);
}

QString rowVersion(const QString& table, const QString& where) {
    return stored("select string_agg(xmin::text, ',') from " + table + " where " + where);
}

} // namespace

class TestChargeSaleMaintenance : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void listsTheDayAndFollowsTheSale();
    void statesOfTheScreen_data();
    void statesOfTheScreen();
    void emptyDay();
    void addWorksOutQuantityAndAmount_data();
    void addWorksOutQuantityAndAmount();
    void addFillsEmptyColumnsByType();
    void refusedSaves_data();
    void refusedSaves();
    void modify_data();
    void modify();
    void voidKeepsTheRowsAndRelocates_data();
    void voidKeepsTheRowsAndRelocates();
    void failedLineWriteLeavesNeitherRow_data();
    void failedLineWriteLeavesNeitherRow();
    void closingRemindsOfTheShifts_data();
    void closingRemindsOfTheShifts();
    void worksOnTheDemoStationFromTheMainMenu();

private:
    // A fresh station with the fixture and the screen open on it, listing `day`.
    void openStation(bool charCodes = false, const QString& day = Day,
                     const QString& extraFixture = {});
    void list(const QString& day);
    // Enters `value` into field `name` as the user would: typed fields by typing, the date,
    // vehicle and product through their pickers; a read-only field emptied stands for one
    // that nothing was picked into.
    void enter(const QString& name, const QString& value);
    void enterAll(const QStringList& edits);
    QLineEdit* field(const QString& name) const;
    void clickSave(QString* seen);

    std::unique_ptr<DataModule> dm_;
    std::unique_ptr<TFrmSY040> screen_;
    // The station was left exactly as the fixture made it: the next step may open on it.
    bool untouched_ = false;
    bool reuseStation_ = false;
};

void TestChargeSaleMaintenance::initTestCase() {
    setUpChineseFonts();
}

void TestChargeSaleMaintenance::cleanup() {
    gui::stopAnswering();
    if (screen_ && screen_->isVisible()) {
        if (!screen_->EditMode.isEmpty()) screen_->sb12->click();
        if (!screen_->ShiftsToRebuild.isEmpty()) gui::pressInNextMessageBox(QMessageBox::Ok);
        screen_->close();
    }
    screen_.reset();
    dm_.reset();
    checker.reset();
    reuseStation_ = untouched_ && !QTest::currentTestFailed();
    untouched_ = false;
}

void TestChargeSaleMaintenance::openStation(bool charCodes, const QString& day,
                                            const QString& extraFixture) {
    checker.reset();
    if (!reuseStation_) {
        TrialSchemaOptions options;
        options.charCodes = charCodes;
        testdb::recreate(options);
        Connection cn;
        testdb::configure(cn);
        for (const QString& statement :
             (QString::fromUtf8(stationFixture) + extraFixture).split(';'))
            if (!statement.trimmed().isEmpty()) cn.exec(statement);
    }
    reuseStation_ = false;
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
    screen_ = std::make_unique<TFrmSY040>();
    screen_->FormCreate();
    screen_->show();
    QVERIFY(QTest::qWaitForWindowExposed(screen_.get()));
    QApplication::setActiveWindow(screen_.get());
    if (!day.isEmpty()) list(day);
}

void TestChargeSaleMaintenance::list(const QString& day) {
    screen_->ED1->setText(day); // as the calendar writes it
    QTest::mouseClick(screen_->sb01, Qt::LeftButton);
}

QLineEdit* TestChargeSaleMaintenance::field(const QString& name) const {
    return screen_->findChild<QLineEdit*>(name);
}

void TestChargeSaleMaintenance::enter(const QString& name, const QString& value) {
    QLineEdit* box = field(name);
    QVERIFY2(box, qPrintable(name));
    if (!box->isReadOnly()) {
        retype(box, value);
    } else if (value.isEmpty()) {
        box->clear();
    } else if (name == "e03") {
        pickDay(screen_->sb21, QDate::fromString(value, "yyyy/MM/dd"));
    } else if (name == "e06") {
        pickCode(screen_->sb22, value);
    } else if (name == "e07") {
        pickCode(screen_->sb23, value);
    } else {
        QFAIL(qPrintable("cannot enter into read-only " + name));
    }
    QCOMPARE(box->text(), value);
}

void TestChargeSaleMaintenance::enterAll(const QStringList& edits) {
    for (const QString& edit : edits) {
        const qsizetype at = edit.indexOf('=');
        enter(edit.left(at), edit.mid(at + 1));
    }
}

void TestChargeSaleMaintenance::clickSave(QString* seen) {
    gui::pressInNextMessageBox(QMessageBox::Ok, seen);
    QTest::mouseClick(screen_->sb11, Qt::LeftButton);
    gui::stopAnswering();
}

void TestChargeSaleMaintenance::listsTheDayAndFollowsTheSale() {
    openStation(false, {});
    QCOMPARE(screen_->windowTitle(), QString::fromUtf8("SY040 簽帳交易資料維護"));
    QCOMPARE(screen_->ED1->text(), QDate::currentDate().toString("yyyy/MM/dd"));
    QCOMPARE(screen_->DBGrid2->model()->rowCount(), 0);

    QDate startedOn;
    pickDay(screen_->sb06, QDate(2024, 1, 5), &startedOn);
    QCOMPARE(startedOn, QDate::currentDate());
    QCOMPARE(screen_->ED1->text(), Day);
    QCOMPARE(screen_->DBGrid2->model()->rowCount(), 0); // picking a day does not list it
    QTest::mouseClick(screen_->sb01, Qt::LeftButton);

    QAbstractItemModel* sales = screen_->DBGrid2->model();
    QCOMPARE(sales->rowCount(), 3);
    QStringList titles;
    for (int c = 0; c < sales->columnCount(); ++c)
        titles << sales->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titles.join(','), sql("島號,槍號,日期時間,公司代號,車號,交易金額,班別"));
    QStringList times;
    for (int r = 0; r < 3; ++r)
        times << sales->index(r, 2).data().toString();
    QCOMPARE(times,
             QStringList({"2024/01/05 08:30:00", "2024/01/05 09:15:00", "2024/01/05 15:40:00"}));
    QAbstractItemModel* lines = screen_->DBGrid1->model();
    titles.clear();
    for (int c = 0; c < lines->columnCount(); ++c)
        titles << lines->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titles.join(','), sql("類別,產品,單價,數量,金額"));

    auto shown = [&] {
        QStringList texts;
        for (const char* name :
             {"e01", "e02", "e03", "e04", "e05", "e06", "e07", "e08", "e09", "e10", "e11", "e12"})
            texts << field(name)->text();
        return texts.join('|');
    };
    QCOMPARE(shown(), "01|01|2024/01/05|08:30:00|1130105_1|ABC-123|113F 12092005|31.5|10|315|"
                      "C001|101");
    QCOMPARE(lines->rowCount(), 1);
    gui::saveScreenshot(screen_.get(), "sy040_browse");

    screen_->nav1->BtnClick(Nav::nbNext);
    QCOMPARE(shown(), "01|02|2024/01/05|09:15:00|1130105_1|XYZ-999|113F 51101001|28.2|10|282|"
                      "C002|101");
    screen_->nav1->BtnClick(Nav::nbNext);
    QCOMPARE(lines->rowCount(), 2); // the two-line POS sale
    QCOMPARE(shown(), "01|01|2024/01/05|15:40:00|1130105_2|ABC-123|113F 12092005|31.5|20|630|"
                      "C001|101");

    // A title sorts the sale list by its column; a line title the sale list lacks sorts
    // nothing and says nothing.
    QHeaderView* header = screen_->DBGrid2->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(5) + 5, header->height() / 2));
    QStringList amounts;
    for (int r = 0; r < 3; ++r)
        amounts << sales->index(r, 5).data().toString();
    QCOMPARE(amounts, QStringList({"282", "315", "610"}));
    QCOMPARE(screen_->tb1->field("tran_time").asText(), QStringLiteral("2024/01/05 15:40:00"));
    QHeaderView* lineHeader = screen_->DBGrid1->horizontalHeader();
    QTest::mouseClick(lineHeader->viewport(), Qt::LeftButton, {},
                      QPoint(lineHeader->sectionViewportPosition(0) + 5, lineHeader->height() / 2));
    QCOMPARE(sales->index(0, 5).data().toString(), QStringLiteral("282"));
    QVERIFY(!QApplication::activeModalWidget());
}

void TestChargeSaleMaintenance::statesOfTheScreen_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QStringList>("readOnly");
    QTest::newRow("browse") << ""
                            << "" << QStringList({"e03", "e06", "e07"});
    QTest::newRow("modify") << "sb02"
                            << "sb02"
                            << QStringList(
                                   {"e01", "e02", "e03", "e06", "e07", "e08", "e09", "e10"});
    QTest::newRow("add") << "sb03"
                         << "sb03" << QStringList({"e03", "e06", "e07"});
}

void TestChargeSaleMaintenance::statesOfTheScreen() {
    QFETCH(QString, button);
    QFETCH(QString, mode);
    QFETCH(QStringList, readOnly);
    openStation();
    if (!button.isEmpty())
        QTest::mouseClick(screen_->findChild<QToolButton*>(button), Qt::LeftButton);
    const bool browse = mode.isEmpty();
    QCOMPARE(screen_->EditMode, mode);
    QCOMPARE(screen_->Panel6->isEnabled(), !browse);
    QCOMPARE(screen_->nav1->isVisible(), browse);
    QCOMPARE(screen_->sb11->isVisible(), !browse);
    QCOMPARE(screen_->sb12->isVisible(), !browse);
    QCOMPARE(screen_->sb11->geometry().left(), screen_->nav1->geometry().left());
    for (QToolButton* b :
         {screen_->sb01, screen_->sb02, screen_->sb03, screen_->sb04, screen_->sb05, screen_->sb06})
        QCOMPARE(b->isEnabled(), browse);
    QVERIFY(screen_->ED1->isReadOnly());
    for (const char* name : {"e01", "e02", "e03", "e04", "e05", "e06", "e07", "e08", "e09", "e10"})
        QCOMPARE(field(name)->isReadOnly(), readOnly.contains(name));
    QCOMPARE(screen_->sb23->isEnabledTo(screen_->Panel6), mode != "sb02");
    QVERIFY(!field("e11")->isVisible());
    QVERIFY(!field("e12")->isVisible());
    if (browse) return;

    gui::saveScreenshot(screen_.get(), mode == "sb02" ? "sy040_modify" : "sy040_add");
    // Enter moves on as Tab would.
    field("e04")->setFocus();
    QTest::keyClick(field("e04"), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), field("e05"));
    // The screen does not close while a sale is being entered.
    screen_->close();
    QVERIFY(screen_->isVisible());
    // Cancel goes back to browsing and shows the stored sale again, hidden fields included.
    retype(field("e05"), "1130105_2");
    field("e11")->setText("C002");
    QTest::mouseClick(screen_->sb12, Qt::LeftButton);
    QCOMPARE(screen_->EditMode, QString());
    QVERIFY(screen_->nav1->isVisible());
    QCOMPARE(field("e05")->text(), QStringLiteral("1130105_1"));
    QCOMPARE(field("e11")->text(), QStringLiteral("C001"));
    for (const char* name : {"e01", "e02", "e04", "e05", "e08", "e09", "e10"})
        QVERIFY(!field(name)->isReadOnly());
    QVERIFY(screen_->sb23->isEnabledTo(screen_->Panel6));
    QCOMPARE(screen_->ShiftsToRebuild, QString());
}

void TestChargeSaleMaintenance::emptyDay() {
    openStation();
    list("2024/01/09");
    QCOMPARE(screen_->DBGrid2->model()->rowCount(), 0);
    QCOMPARE(screen_->DBGrid1->model()->rowCount(), 0);
    QCOMPARE(field("e04")->text(), QStringLiteral("08:30:00")); // as it was

    QTest::mouseClick(screen_->sb02, Qt::LeftButton);
    QCOMPARE(screen_->EditMode, QString());
    QString asked;
    gui::answerNextDialog([](QWidget* d) { static_cast<QDialog*>(d)->reject(); }, &asked, 300);
    QTest::mouseClick(screen_->sb04, Qt::LeftButton);
    QTest::qWait(350);
    gui::stopAnswering();
    QCOMPARE(asked, QString()); // no question: nothing to void
    QCOMPARE(count("select count(*) from tran where an_mark = '200'"), 1);

    QTest::mouseClick(screen_->sb03, Qt::LeftButton);
    QCOMPARE(screen_->EditMode, QStringLiteral("sb03"));
    QCOMPARE(field("e01")->text(), QStringLiteral("01"));
    QCOMPARE(field("e07")->text(), QStringLiteral("113F 12092005"));
    QCOMPARE(field("e10")->text(), QStringLiteral("315"));
}

void TestChargeSaleMaintenance::addWorksOutQuantityAndAmount_data() {
    QTest::addColumn<bool>("charCodes");
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("shown"); // e04, e09, e10 after the save
    QTest::newRow("31.5 x 3: 94.5 rounds away from zero")
        << false << QStringList({"e04=12:00:00", "e09=3", "e10=1"})
        << "01|01|2024-01-05 12:00:00|1130105_1|ABC-123|C001|C001|95|95|0|0|0|903|800|TX|-1|1"
        << "01|01|2024-01-05 12:00:00|1|1130105_1|113F 12092005|101|31.5|3|95|LE|TX"
        << "12:00:00|3|95";
    QTest::newRow("31.5 x 3 with char codes and float amounts")
        << true << QStringList({"e04=12:00:00", "e09=3", "e10=1"})
        << "01|01|2024-01-05 12:00:00|1130105_1|ABC-123|C001|C001|95|95|0|0|0|903|800|TX|-1|1"
        << "01|01|2024-01-05 12:00:00|1|1130105_1|113F 12092005|101|31.5|3|95|LE|TX"
        << "12:00:00|3|95";
    QTest::newRow("amount 1000 at 31.5 gives 31.75 litres")
        << false << QStringList({"e04=12:00:00", "e09=0", "e10=1000"})
        << "01|01|2024-01-05 12:00:00|1130105_1|ABC-123|C001|C001|1000|1000|0|0|0|903|800|TX|-1|1"
        << "01|01|2024-01-05 12:00:00|1|1130105_1|113F 12092005|101|31.5|31.75|1000|LE|TX"
        << "12:00:00|31.75|1000";
    QTest::newRow("unreadable quantity counts as 0")
        << false << QStringList({"e04=12:00:00", "e09=x", "e10=500"})
        << "01|01|2024-01-05 12:00:00|1130105_1|ABC-123|C001|C001|500|500|0|0|0|903|800|TX|-1|1"
        << "01|01|2024-01-05 12:00:00|1|1130105_1|113F 12092005|101|31.5|15.87|500|LE|TX"
        << "12:00:00|15.87|500";
    QTest::newRow("time typed 8:5")
        << false << QStringList({"e04=8:5", "e09=2"})
        << "01|01|2024-01-05 08:05:00|1130105_1|ABC-123|C001|C001|63|63|0|0|0|903|800|TX|-1|1"
        << "01|01|2024-01-05 08:05:00|1|1130105_1|113F 12092005|101|31.5|2|63|LE|TX"
        << "08:05:00|2|63";
    QTest::newRow("counter sells a sub-product, no gun check")
        << true
        << QStringList({"e02=00", "e04=12:00:00", "e06=XYZ-999", "e07=WASH01", "e09=2", "e10=0"})
        << "01|00|2024-01-05 12:00:00|1130105_1|XYZ-999|C002|C002|200|200|0|0|0|903|800|TX|-1|1"
        << "01|00|2024-01-05 12:00:00|1|1130105_1|WASH01|102|100|2|200|LE|TX"
        << "12:00:00|2|200";
    QTest::newRow("another day and shift, through the calendar")
        << false << QStringList({"e03=2024/01/06", "e05=1130106_1", "e09=1"})
        << "01|01|2024-01-06 08:30:00|1130106_1|ABC-123|C001|C001|32|32|0|0|0|903|800|TX|-1|1"
        << "01|01|2024-01-06 08:30:00|1|1130106_1|113F 12092005|101|31.5|1|32|LE|TX"
        << "08:30:00|1|32";
}

void TestChargeSaleMaintenance::addWorksOutQuantityAndAmount() {
    QFETCH(bool, charCodes);
    QFETCH(QStringList, edits);
    QFETCH(QString, header);
    QFETCH(QString, line);
    QFETCH(QString, shown);
    openStation(charCodes);
    QTest::mouseClick(screen_->sb03, Qt::LeftButton);
    enterAll(edits);
    QString seen;
    clickSave(&seen);
    QCOMPARE(seen, QString());
    QCOMPARE(screen_->EditMode, QString());
    const QString key =
        QStringLiteral("trim(island) = '%1' and trim(gun_no) = '%2' and "
                       "tran_time = '%3'")
            .arg(header.section('|', 0, 0), header.section('|', 1, 1), header.section('|', 2, 2));
    QCOMPARE(headerRow(key), header);
    QCOMPARE(lineRows(key), line);
    QCOMPARE(screen_->ShiftsToRebuild, "  " + header.section('|', 3, 3));
    const bool sameDay = header.section('|', 2, 2).startsWith("2024-01-05");
    QCOMPARE(screen_->DBGrid2->model()->rowCount(), sameDay ? 4 : 3);
    if (sameDay) { // the list is on the new sale
        QCOMPARE(QStringList({field("e04")->text(), field("e09")->text(), field("e10")->text()})
                     .join('|'),
                 shown);
        QCOMPARE(field("e02")->text(), header.section('|', 1, 1));
    }
}

void TestChargeSaleMaintenance::addFillsEmptyColumnsByType() {
    openStation(false, Day,
                "alter table tran add column note text, add column closed boolean, "
                "add column big bigint, add column due date, add column rate real, "
                "add column mark char(2), add column points smallint;");
    QTest::mouseClick(screen_->sb03, Qt::LeftButton);
    enter("e04", "12:00:00");
    QString seen;
    clickSave(&seen);
    QCOMPARE(seen, QString());
    const QString row =
        stored("select concat_ws('|', quote_nullable(an_mark), quote_nullable(ref_no4), "
               "quote_nullable(invoice), quote_nullable(invoice_tp), quote_nullable(uid), "
               "quote_nullable(void), quote_nullable(prt_invoice), quote_nullable(rate), "
               "quote_nullable(points), quote_nullable(mark), quote_nullable(note), "
               "quote_nullable(closed), quote_nullable(big), quote_nullable(due)) from tran "
               "where tran_time = '2024-01-05 12:00:00'");
    QCOMPARE(row, QStringLiteral("''|''|''|''|''|'0'|''|'0'|'0'|''|NULL|NULL|NULL|NULL"));
}

void TestChargeSaleMaintenance::refusedSaves_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus"); // empty: the focus stays where it was
    auto add = [](const char* name, QStringList edits, const char* message, const char* focus) {
        QTest::newRow(name) << "sb03" << edits << QString::fromUtf8(message) << QString(focus);
    };
    add("island empty", {"e01="}, "島號 錯誤...", "e01");
    add("gun empty", {"e02="}, "槍號 錯誤...", "e02");
    add("date empty", {"e03="}, "日期 錯誤...", "");
    add("time empty", {"e04="}, "時間 錯誤...", "e04");
    add("shift empty", {"e05="}, "班別 錯誤...", "e05");
    add("vehicle empty", {"e06="}, "車號 錯誤...", "");
    add("product empty", {"e07="}, "產品 錯誤...", "");
    add("price empty", {"e08="}, "單價 錯誤...", "e08");
    add("the first empty field is named", {"e05=", "e02="}, "槍號 錯誤...", "e02");
    add("no such gun", {"e02=09"}, "島號 槍號 錯誤...", "");
    add("gun set up for another product", {"e02=02"}, "槍號與產品不符 錯誤...", "");
    add("counter selling fuel", {"e02=00"}, "槍號與產品不符 槍號 00 應為副產品 錯誤...", "");
    add("gun checked before time", {"e02=09", "e04=8:61"}, "島號 槍號 錯誤...", "");
    add("minute 61", {"e04=8:61"}, "時間錯誤...", "e04");
    add("hour 24", {"e04=24:00:00"}, "時間錯誤...", "e04");
    add("letters for a time", {"e04=ab:cd"}, "時間錯誤...", "e04");
    add("time without minutes", {"e04=8"}, "時間錯誤...", "e04");
    add("unknown shift", {"e05=1130105_9"}, "班別 錯誤...", "e05");
    add("time checked before shift", {"e04=8:61", "e05=1130105_9"}, "時間錯誤...", "e04");
    add("price 0 for amount 1000", {"e08=0", "e09=0", "e10=1000"}, "單價 錯誤...", "e08");
    add("unreadable price for an amount", {"e08=x", "e09=3", "e10=1000"}, "單價 錯誤...", "e08");
    add("unreadable amount", {"e09=0", "e10=y"}, "單價 錯誤...", "e08");
    add("island, gun and time of a sale on file", {"e04=9:15", "e02=02", "e07=113F 51101001"},
        "資料重複...", "");
    add("amount that is no whole number", {"e09=0", "e10=1000.5"}, "資料重複...", "");
    QTest::newRow("modify: time") << "sb02" << QStringList({"e04=25:00"})
                                  << QString::fromUtf8("時間錯誤...") << "e04";
    QTest::newRow("modify: shift")
        << "sb02" << QStringList({"e05=1130199_1"}) << QString::fromUtf8("班別 錯誤...") << "e05";
    QTest::newRow("modify onto another sale")
        << "sb02" << QStringList({"e04=15:40:00", "e05=1130105_2"})
        << QString::fromUtf8("資料重複...") << "";
}

void TestChargeSaleMaintenance::refusedSaves() {
    QFETCH(QString, mode);
    QFETCH(QStringList, edits);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    openStation();
    const QString sales = rowVersion("tran", "true");
    const QString lines = rowVersion("tran_detl", "true");
    QTest::mouseClick(screen_->findChild<QToolButton*>(mode), Qt::LeftButton);
    enterAll(edits);
    field("e09")->setFocus(); // where the user was when pressing 寫入
    QWidget* before = screen_->focusWidget();
    QString seen;
    clickSave(&seen);
    QCOMPARE(seen, message);
    QCOMPARE(screen_->EditMode, mode);
    QVERIFY(screen_->sb11->isVisible());
    QTRY_COMPARE(screen_->focusWidget(),
                 focus.isEmpty() ? before : static_cast<QWidget*>(field(focus)));
    QCOMPARE(rowVersion("tran", "true"), sales); // nothing written
    QCOMPARE(rowVersion("tran_detl", "true"), lines);
    QCOMPARE(screen_->ShiftsToRebuild, QString());
    untouched_ = true; // the next case opens on the same station
}

void TestChargeSaleMaintenance::modify_data() {
    QTest::addColumn<int>("sale"); // row of the day's list
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("header"); // tran_time|shift|car_no|ref_no1|ref_no2; empty: unwritten
    QTest::addColumn<QString>("shifts"); // added to ShiftsToRebuild
    QTest::addColumn<int>("listed");     // sales listed afterwards
    QTest::newRow("nothing changed") << 0 << QStringList() << QString() << QString() << 3;
    QTest::newRow("time retyped as 8:30 is the same time")
        << 0 << QStringList({"e04=8:30"}) << QString() << QString() << 3;
    QTest::newRow("within the shift")
        << 0 << QStringList({"e04=8:45"}) << "2024-01-05 08:45:00|1130105_1|ABC-123|C001|C001"
        << " 1130105_1" << 3;
    QTest::newRow("across shifts")
        << 0 << QStringList({"e05=1130105_2"}) << "2024-01-05 08:30:00|1130105_2|ABC-123|C001|C001"
        << " 1130105_1 1130105_2" << 3;
    QTest::newRow("another vehicle: company follows, ref_no1 kept")
        << 0 << QStringList({"e06=XYZ-999"}) << "2024-01-05 08:30:00|1130105_1|XYZ-999|C001|C002"
        << " 1130105_1" << 3;
    QTest::newRow("two-line POS sale moves whole")
        << 2 << QStringList({"e04=16:00:00"}) << "2024-01-05 16:00:00|1130105_2|ABC-123|C001|C001"
        << " 1130105_2" << 3;
    QTest::newRow("two-line POS sale to another day and shift")
        << 2 << QStringList({"e03=2024/01/06", "e05=1130106_1"})
        << "2024-01-06 15:40:00|1130106_1|ABC-123|C001|C001"
        << " 1130105_2 1130106_1" << 2;
}

void TestChargeSaleMaintenance::modify() {
    QFETCH(int, sale);
    QFETCH(QStringList, edits);
    QFETCH(QString, header);
    QFETCH(QString, shifts);
    QFETCH(int, listed);
    openStation();
    screen_->tb1->moveTo(sale);
    const QString oldTime = screen_->tb1->field("tran_time").value().sqlText();
    const QString gun = field("e02")->text();
    const QString old = QStringLiteral("gun_no = '%1' and tran_time = '%2'").arg(gun, oldTime);
    const QString versions = rowVersion("tran", "true") + rowVersion("tran_detl", "true");
    const int lines = count("select count(*) from tran_detl where " + old);
    QTest::mouseClick(screen_->sb02, Qt::LeftButton);
    enterAll(edits);
    QString seen;
    clickSave(&seen);
    QCOMPARE(seen, QString());
    QCOMPARE(screen_->EditMode, QString());
    QCOMPARE(screen_->ShiftsToRebuild, shifts);
    QCOMPARE(screen_->DBGrid2->model()->rowCount(), listed);
    if (header.isEmpty()) { // nothing written at all
        QCOMPARE(rowVersion("tran", "true") + rowVersion("tran_detl", "true"), versions);
        return;
    }
    const QString now =
        QStringLiteral("gun_no = '%1' and tran_time = '%2'").arg(gun, header.section('|', 0, 0));
    QCOMPARE(stored("select concat_ws('|', tran_time, shift, car_no, ref_no1, ref_no2) "
                    "from tran where island = '01' and " +
                    now),
             header);
    // Every line of the sale under the new time and shift.
    QCOMPARE(count("select count(*) from tran_detl where " + now + " and shift = '" +
                   header.section('|', 1, 1) + "'"),
             lines);
    if (header.section('|', 0, 0) != oldTime) {
        QCOMPARE(count("select count(*) from tran where " + old), 0);
        QCOMPARE(count("select count(*) from tran_detl where " + old), 0);
    }
}

void TestChargeSaleMaintenance::voidKeepsTheRowsAndRelocates_data() {
    QTest::addColumn<int>("sale");
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<QString>("current"); // tran_time of the current sale afterwards
    QTest::addColumn<QString>("shifts");
    QTest::newRow("first: on to the next") << 0 << true << "2024/01/05 09:15:00"
                                           << " 1130105_1";
    QTest::newRow("middle: on to the next") << 1 << true << "2024/01/05 15:40:00"
                                            << " 1130105_1";
    QTest::newRow("last: back on the last") << 2 << true << "2024/01/05 09:15:00"
                                            << " 1130105_2";
    QTest::newRow("not confirmed") << 1 << false << "2024/01/05 09:15:00" << QString();
}

void TestChargeSaleMaintenance::voidKeepsTheRowsAndRelocates() {
    QFETCH(int, sale);
    QFETCH(bool, confirmed);
    QFETCH(QString, current);
    QFETCH(QString, shifts);
    openStation();
    screen_->tb1->moveTo(sale);
    const QString time = screen_->tb1->field("tran_time").value().sqlText();
    const QString gun = field("e02")->text();
    const QString key = QStringLiteral("gun_no = '%1' and tran_time = '%2'").arg(gun, time);
    // Meanwhile the POS records an earlier charge sale, so the list grows before the rows.
    testdb::admin("insert into tran (island, gun_no, tran_time, shift, payment, an_mark, "
                  "tran_amt) values ('02', '01', '2024-01-05 07:00:00', '1130105_1', '903', "
                  "'000', 50)",
                  "pos_data");
    QString asked;
    gui::pressInNextMessageBox(confirmed ? QMessageBox::Ok : QMessageBox::Cancel, &asked);
    QTest::mouseClick(screen_->sb04, Qt::LeftButton);
    gui::stopAnswering();
    QCOMPARE(asked, sql("是否確定刪除資料 ?"));
    QCOMPARE(screen_->ShiftsToRebuild, shifts);
    QCOMPARE(stored("select trim(an_mark) from tran where " + key),
             confirmed ? QStringLiteral("200") : QStringLiteral("000"));
    QCOMPARE(count("select count(*) from tran_detl where " + key), sale == 2 ? 2 : 1);
    // Voided, the list is read again, the POS's new sale first; not voided, it stays as it was.
    QCOMPARE(screen_->DBGrid2->model()->rowCount(), 3);
    QCOMPARE(screen_->DBGrid2->model()->index(0, 2).data().toString(),
             confirmed ? QStringLiteral("2024/01/05 07:00:00")
                       : QStringLiteral("2024/01/05 08:30:00"));
    QCOMPARE(screen_->tb1->field("tran_time").asText(), current);
    QCOMPARE(field("e04")->text(), current.mid(11));
}

void TestChargeSaleMaintenance::failedLineWriteLeavesNeitherRow_data() {
    QTest::addColumn<QString>("mode");
    QTest::newRow("add") << "sb03";
    QTest::newRow("modify") << "sb02";
}

void TestChargeSaleMaintenance::failedLineWriteLeavesNeitherRow() {
    QFETCH(QString, mode);
    // Lines of February cannot be written, while their headers can.
    openStation(false, Day,
                "alter table tran_detl add constraint lines_before_february "
                "check (tran_time < '2024-02-01');"
                "insert into shift_02_oil (shift, product_id) values "
                "('1130203_1', '113F 12092005');");
    const QString versions = rowVersion("tran", "true") + rowVersion("tran_detl", "true");
    QTest::mouseClick(screen_->findChild<QToolButton*>(mode), Qt::LeftButton);
    QDate startedOn;
    pickDay(screen_->sb21, QDate(2024, 2, 3), &startedOn);
    QCOMPARE(startedOn, QDate(2024, 1, 5)); // the calendar starts on the day listed
    enter("e05", "1130203_1");
    QString seen;
    clickSave(&seen);
    QVERIFY2(seen.contains("lines_before_february"), qPrintable(seen));
    QCOMPARE(screen_->EditMode, mode);
    QCOMPARE(count("select count(*) from tran where tran_time >= '2024-02-01'"), 0);
    QCOMPARE(rowVersion("tran", "true") + rowVersion("tran_detl", "true"), versions);
    QCOMPARE(screen_->ShiftsToRebuild, QString());
    // The fault put right, the same entry saves.
    testdb::admin("alter table tran_detl drop constraint lines_before_february", "pos_data");
    clickSave(&seen);
    QCOMPARE(screen_->EditMode, QString());
    QCOMPARE(count("select count(*) from tran_detl where tran_time = '2024-02-03 08:30:00'"), 1);
}

void TestChargeSaleMaintenance::closingRemindsOfTheShifts_data() {
    QTest::addColumn<QString>("work");
    QTest::addColumn<QString>("reminder");
    QTest::newRow("no change: no reminder") << "none" << QString();
    QTest::newRow("added in one shift, voided in another")
        << "add and void" << sql("請重新建立班報   1130105_1 1130105_2");
    QTest::newRow("modified across shifts")
        << "modify" << sql("請重新建立班報  1130105_1 1130105_2");
}

void TestChargeSaleMaintenance::closingRemindsOfTheShifts() {
    QFETCH(QString, work);
    QFETCH(QString, reminder);
    openStation();
    QString seen;
    if (work == "add and void") {
        QTest::mouseClick(screen_->sb03, Qt::LeftButton);
        enter("e04", "12:00:00");
        clickSave(&seen);
        screen_->tb1->last(); // the sale of 15:40, second shift
        gui::pressInNextMessageBox(QMessageBox::Ok);
        QTest::mouseClick(screen_->sb04, Qt::LeftButton);
        gui::stopAnswering();
    } else if (work == "modify") {
        QTest::mouseClick(screen_->sb02, Qt::LeftButton);
        enter("e05", "1130105_2");
        clickSave(&seen);
    }
    QCOMPARE(seen, QString());
    gui::answerNextDialog(
        [](QWidget* d) {
            if (auto* box = qobject_cast<QMessageBox*>(d)) box->button(QMessageBox::Ok)->click();
        },
        &seen, 500);
    QTest::mouseClick(screen_->sb05, Qt::LeftButton);
    QTest::qWait(reminder.isEmpty() ? 550 : 0);
    gui::stopAnswering();
    QCOMPARE(seen, reminder);
    QVERIFY(!screen_->isVisible());
    QVERIFY(!screen_->tb1->active());
    QVERIFY(!dm_->cn.connected());
}

void TestChargeSaleMaintenance::worksOnTheDemoStationFromTheMainMenu() {
    testdb::recreate();
    {
        Connection cn;
        testdb::configure(cn);
        DemoOptions options;
        options.seed = 3;
        options.days = 2;
        options.salesPerDay = 150;
        options.lastDay = QDate(2024, 1, 5);
        CopyLoader loader(cn);
        SilentProgress progress;
        generateDemoStation(options, loader, progress);
        loader.finish();
    }
    const QString charged = "select count(*) from tran where date(tran_time) = '2024-01-05' "
                            "and payment = '903' and an_mark < '200'";
    const int listed = count(charged);
    QVERIFY(listed >= 2);
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
    auto menu = std::make_unique<TMainForm>();
    menu->show();
    QVERIFY(QTest::qWaitForWindowExposed(menu.get()));

    QString voided, first, shown, reminder, refused, asked;
    int rows = -1, lines = -1;
    onNextDialog<TFrmSY040>([&](TFrmSY040* screen) {
        screen_.reset(screen); // driven by the steps below, destroyed by the menu
        pickDay(screen->sb06, QDate(2024, 1, 5));
        QTest::mouseClick(screen->sb01, Qt::LeftButton);
        rows = screen->DBGrid2->model()->rowCount();
        // The day's last sale voided, the first moved to the end of the day, then a copy of
        // it keyed in a second earlier.
        screen->tb1->last();
        voided = field("e02")->text() + '|' + screen->tb1->field("tran_time").value().sqlText() +
                 '|' + field("e05")->text();
        gui::pressInNextMessageBox(QMessageBox::Ok, &asked);
        QTest::mouseClick(screen->sb04, Qt::LeftButton);
        gui::stopAnswering();
        screen->tb1->first();
        first = screen->tb1->field("tran_time").value().sqlText();
        shown = field("e01")->text() + '|' + field("e02")->text() + '|' + field("e05")->text();
        lines = screen->DBGrid1->model()->rowCount();
        QTest::mouseClick(screen->sb02, Qt::LeftButton);
        retype(field("e04"), "23:59:59");
        clickSave(&refused);
        QTest::mouseClick(screen->sb03, Qt::LeftButton);
        retype(field("e04"), "23:59:58");
        retype(field("e09"), "2");
        clickSave(&refused);
        gui::saveScreenshot(screen, "sy040_demo_station");
        if (!screen->EditMode.isEmpty()) screen->sb12->click(); // a refused save: still closes
        gui::pressInNextMessageBox(QMessageBox::Ok, &reminder);
        QTest::mouseClick(screen->sb05, Qt::LeftButton);
        gui::stopAnswering();
        (void)screen_.release();
    });
    QTest::mouseClick(menu->button("SpeedButton4"), Qt::LeftButton);
    gui::stopAnswering();
    QCOMPARE(rows, listed);
    QCOMPARE(asked, sql("是否確定刪除資料 ?"));
    QCOMPARE(refused, QString());
    const QString shift = shown.section('|', 2);
    QCOMPARE(reminder,
             sql("請重新建立班報 ") + ' ' + voided.section('|', 2) + ' ' + shift + "  " + shift);
    QCOMPARE(stored(QStringLiteral("select an_mark from tran where gun_no = '%1' and "
                                   "tran_time = '%2' and payment = '903'")
                        .arg(voided.section('|', 0, 0), voided.section('|', 1, 1))),
             QStringLiteral("200"));
    const QString sale = QStringLiteral("island = '%1' and gun_no = '%2' and tran_time = ")
                             .arg(shown.section('|', 0, 0), shown.section('|', 1, 1));
    QCOMPARE(count("select count(*) from tran where " + sale + "'" + first + "'"), 0);
    QCOMPARE(count("select count(*) from tran_detl where " + sale + "'2024-01-05 23:59:59'"),
             lines);
    QCOMPARE(count("select count(*) from tran where " + sale +
                   "'2024-01-05 23:59:58' and payment = '903' and tran_tp = '800'"),
             1);
    QCOMPARE(count(charged), listed); // one voided, one added
    gui::pressInNextMessageBox(QMessageBox::Ok);
    menu->close();
    gui::stopAnswering();
}

QTEST_MAIN(TestChargeSaleMaintenance)
#include "tst_charge_sale_maintenance.moc"
