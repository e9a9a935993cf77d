// SY020, the oil-receipt screen, driven as the office uses it on a small station whose days
// are last week, yesterday and today: where it opens, the corrections it refuses, the
// product a moved receipt takes, and when closing it recomputes the tank stock.
#include "app/data_module.h"
#include "app/gui_start.h"
#include "fuel/sy020_screen.h"
#include "reports/common/business_day.h"
#include "screens/common/db_edit.h"
#include "screens/common/db_grid.h"
#include "screens/common/db_navigator.h"
#include "support/gui_support.h"
#include "support/test_database.h"

#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

namespace {

using Nav = TBiDiDBNavigator;

const QDate today = QDate::currentDate();
const QString W = businessDayKey(today.addDays(-7)); // last week
const QString Y = businessDayKey(today.addDays(-1)); // yesterday
const QString T = businessDayKey(today);

void sql(const QString& statement) {
    testdb::admin(statement, "pos_data");
}

// A tank row with the point-of-sale system's figures; the computed ones hold -1.
void stockRow(const QString& shift, const QString& tank, double inStock, double sale,
              double account1, double real1, double real2) {
    sql(QStringLiteral("insert into shift_03_tank (shift, tank, oilname, in_stock, sale, "
                       "checkstock, account1, account2, real_stock1, real2, count, surplus_4, "
                       "diff_vol) values ('%1', '%2', '92', %3, %4, 0, %5, -1, %6, %7, -1, -1, -1)")
            .arg(shift, tank)
            .arg(inStock)
            .arg(sale)
            .arg(account1)
            .arg(real1)
            .arg(real2));
}

void receipt(const QString& shift, const QString& tank, double litres, const QString& bill,
             const QString& mark = {}) {
    sql(QStringLiteral("insert into oil_change (shift, target_tank, gasoline_vol, in_price, "
                       "bill_no, prod_id, del_mark) values ('%1', '%2', %3, 25.5, '%4', 'OLD', "
                       "'%5')")
            .arg(shift, tank)
            .arg(litres)
            .arg(bill, mark));
}

// Tanks 1 (92) and 2 (95). Tank 01 has rows from last week on, tank 02 from yesterday on.
// Today's rows have not summed today's receipts yet, so any recomputation would show.
void station(bool charCodes = false) {
    TrialSchemaOptions options;
    options.charCodes = charCodes;
    testdb::recreate(options);
    sql("insert into tank_data values ('1', '4710000000092'), ('2', '4710000000095')");
    stockRow(W + "_1", "01", 0, 100, 5000, 5000, 4890);
    stockRow(W + "_2", "01", 800, 100, 4900, 4890, 5580);
    stockRow(Y + "_1", "01", 0, 200, 5600, 5580, 5370);
    stockRow(Y + "_2", "01", 1000, 300, 5400, 5370, 6080);
    stockRow(T + "_1", "01", 0, 100, 6100, 6080, 7990);
    stockRow(Y + "_1", "02", 0, 50, 3000, 3000, 3440);
    stockRow(Y + "_2", "02", 0, 50, 3450, 3440, 3390);
    stockRow(T + "_1", "02", 0, 50, 3400, 3390, 3640);
    receipt(W + "_2", "1", 800, "W1");
    receipt(Y + "_1", "2", 500, "D1", "D"); // keyed twice, the copy marked deleted
    receipt(Y + "_2", "1", 1000, "Y1");
    receipt(T + "_1", "1", 2000, "T1");
    receipt(T + "_1", "2", 300, "T2");
}

QString stockTable() {
    return testdb::adminValue(
        "select string_agg(t::text, ' | ' order by shift, tank) from shift_03_tank t");
}

// "in_stock account1 real_stock1 count surplus_4 account2 diff_vol" of a row.
QString figures(const QString& shift, const QString& tank) {
    QStringList columns;
    for (const char* c :
         {"in_stock", "account1", "real_stock1", "count", "surplus_4", "account2", "diff_vol"})
        columns << QStringLiteral("%1::numeric(12,0)").arg(c);
    return testdb::adminValue(QStringLiteral("select concat_ws(' ', %1) from shift_03_tank where "
                                             "shift = '%2' and tank = '%3'")
                                  .arg(columns.join(", "), shift, tank));
}

QString receiptOf(const QString& bill, const QString& columns) {
    return testdb::adminValue(QStringLiteral("select concat_ws(' ', %1) from oil_change where "
                                             "bill_no = '%2'")
                                  .arg(columns, bill));
}

void type(QWidget* field, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), {});
}

// Replaces the text of `field` by `text`, typed.
void retype(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Delete);
    else
        type(field, text);
}

QString current(TFrmSY020& s) {
    return s.tb1->field("bill_no").asText().trimmed();
}

} // namespace

class TestSY020 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void opensOnTodaysFirstShift_data();
    void opensOnTodaysFirstShift();
    void correctingYesterdayRecomputesFromYesterdayOnClosing();
    void movingAReceiptOffAPastDayRecomputesThatDay();
    void closingWithoutRecomputing_data();
    void closingWithoutRecomputing();
    void refusedCorrectionStaysInEditing_data();
    void refusedCorrectionStaysInEditing();
    void movedReceiptTakesTheProductOfItsNewTank_data();
    void movedReceiptTakesTheProductOfItsNewTank();
    void failedRecomputationIsShownAndChangesNothing();

private:
    void open();
    void find(const QString& shift);
    void post(QString* message = nullptr);
    void closeScreen(QString* message = nullptr);

    std::unique_ptr<DataModule> dm_;
    std::unique_ptr<TFrmSY020> screen_;
};

void TestSY020::initTestCase() {
    setUpChineseFonts();
}

void TestSY020::cleanup() {
    if (screen_ && screen_->isVisible()) {
        screen_->tb1->cancel();
        screen_->close();
    }
    screen_.reset();
    dm_.reset();
}

void TestSY020::open() {
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
    screen_ = std::make_unique<TFrmSY020>();
    screen_->FormCreate();
    screen_->show();
    QVERIFY(QTest::qWaitForWindowExposed(screen_.get()));
    QApplication::setActiveWindow(screen_.get());
}

// Moves to the first receipt of `shift` through the find box, as the office does.
void TestSY020::find(const QString& shift) {
    screen_->ED1->clear();
    QTest::keyClicks(screen_->ED1, shift);
}

void TestSY020::post(QString* message) {
    if (message) gui::pressInNextMessageBox(QMessageBox::Ok, message);
    screen_->BiDiDBNavigator1->BtnClick(Nav::nbPost);
}

void TestSY020::closeScreen(QString* message) {
    if (message) gui::pressInNextMessageBox(QMessageBox::Ok, message);
    QTest::mouseClick(screen_->SpeedButtonExit, Qt::LeftButton);
    QVERIFY(!screen_->isVisible());
}

void TestSY020::opensOnTodaysFirstShift_data() {
    QTest::addColumn<bool>("receiptsToday");
    QTest::addColumn<QString>("shownAt");
    QTest::addColumn<int>("rows");
    QTest::newRow("receipts in today's first shift: the first of them") << true << "T1" << 4;
    QTest::newRow("none today: the last receipt") << false << "Y1" << 2;
}

void TestSY020::opensOnTodaysFirstShift() {
    QFETCH(bool, receiptsToday);
    QFETCH(QString, shownAt);
    QFETCH(int, rows);
    station();
    if (!receiptsToday) sql(QStringLiteral("delete from oil_change where shift like '%1%'").arg(T));
    open();
    QCOMPARE(screen_->windowTitle(), QString::fromUtf8("SY020 油槽進油資料維護"));
    QCOMPARE(screen_->ED1->text(), T + "_1");
    QCOMPARE(screen_->LabelKey->text(), QString::fromUtf8("交班班別 :"));
    QCOMPARE(current(*screen_), shownAt);
    QCOMPARE(screen_->DBEdit1->text(), receiptOf(shownAt, "shift"));
    QCOMPARE(screen_->startKey(), T);
    QCOMPARE(screen_->earliestKey(), T);
    QCOMPARE(screen_->PanelBase_State->text(),
             QString::fromUtf8("檔案目前為  瀏覽  資料狀態    筆數 : %1").arg(rows));

    // The receipt marked deleted is never listed.
    QAbstractItemModel* grid = screen_->DBGrid1->model();
    QCOMPARE(grid->rowCount(), rows);
    for (int row = 0; row < rows; ++row)
        QVERIFY(grid->index(row, 4).data().toString() != "D1");

    const QStringList titles{QString::fromUtf8("交班班別"), QString::fromUtf8("油槽"),
                             QString::fromUtf8("進油數量"), QString::fromUtf8("進油單價"),
                             QString::fromUtf8("單號"),     QString::fromUtf8("產品")};
    const QList<int> widths{80, 40, 75, 75, 60, 100};
    QCOMPARE(grid->columnCount(), titles.size());
    for (int c = 0; c < titles.size(); ++c) {
        QCOMPARE(grid->headerData(c, Qt::Horizontal).toString(), titles[c]);
        QCOMPARE(screen_->DBGrid1->columnWidth(c), widths[c]);
    }
    QCOMPARE(grid->index(0, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask,
             int(Qt::AlignHCenter));
    QCOMPARE(grid->index(0, 4).data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask,
             int(Qt::AlignHCenter));
    QCOMPARE(screen_->DBEdit1->maxLength(), 9);
    QCOMPARE(screen_->DBEdit2->maxLength(), 1);
    auto* form = static_cast<QFormLayout*>(screen_->PanelEdit->layout());
    QCOMPARE(static_cast<QLabel*>(form->labelForField(screen_->DBEdit4))->text(),
             QString::fromUtf8("進油單價 :"));

    // Browsing offers Delete but never Insert.
    const Nav::Buttons shown = screen_->BiDiDBNavigator1->visibleButtons();
    QVERIFY(shown.contains(Nav::nbDelete));
    QVERIFY(!shown.contains(Nav::nbInsert));
    if (receiptsToday) gui::saveScreenshot(screen_.get(), "sy020");
}

void TestSY020::correctingYesterdayRecomputesFromYesterdayOnClosing() {
    station();
    const QString lastWeek = figures(W + "_2", "01");
    open();
    find(Y + "_2");
    QCOMPARE(current(*screen_), QString("Y1"));
    retype(screen_->DBEdit3, "1500");
    QCOMPARE(screen_->tb1->state(), QueryState::Edit);
    gui::saveScreenshot(screen_.get(), "sy020_editing");
    post();
    QCOMPARE(screen_->tb1->state(), QueryState::Browse);
    QCOMPARE(receiptOf("Y1", "gasoline_vol::numeric(12,0), prod_id"),
             QString("1500 4710000000092"));
    QCOMPARE(screen_->earliestKey(), Y);
    closeScreen();

    // From yesterday's first shift on, every tank; last week as it was.
    QCOMPARE(figures(Y + "_1", "01"), QString("0 5600 5580 5380 10 5400 10"));
    QCOMPARE(figures(Y + "_2", "01"), QString("1500 5400 5370 6570 490 6600 490"));
    QCOMPARE(figures(T + "_1", "01"), QString("2000 6600 6080 7980 -10 8500 -10"));
    QCOMPARE(figures(Y + "_1", "02"), QString("500 3000 3000 3450 10 3450 10"));
    QCOMPARE(figures(Y + "_2", "02"), QString("0 3450 3440 3390 0 3400 0"));
    QCOMPARE(figures(T + "_1", "02"), QString("300 3400 3390 3640 0 3650 0"));
    QCOMPARE(figures(W + "_2", "01"), lastWeek);
    QVERIFY(!dm_->cn.connected());
}

void TestSY020::movingAReceiptOffAPastDayRecomputesThatDay() {
    station();
    open();
    find(Y + "_2");
    retype(screen_->DBEdit1, T + "_1"); // delivered today after all
    post();
    QCOMPARE(screen_->tb1->state(), QueryState::Browse);
    closeScreen();
    // Yesterday no longer holds the litres, today does.
    QCOMPARE(figures(Y + "_2", "01").section(' ', 0, 0), QString("0"));
    QCOMPARE(figures(T + "_1", "01").section(' ', 0, 0), QString("3000"));
}

void TestSY020::closingWithoutRecomputing_data() {
    QTest::addColumn<QString>("action");
    QTest::newRow("correcting a receipt of today") << "today";
    QTest::newRow("deleting a receipt of last week") << "delete";
    QTest::newRow("a correction of yesterday cancelled") << "cancel";
}

void TestSY020::closingWithoutRecomputing() {
    QFETCH(QString, action);
    station();
    const QString before = stockTable();
    open();
    if (action == "today") {
        QCOMPARE(current(*screen_), QString("T1"));
        retype(screen_->DBEdit3, "2100");
        post();
        QCOMPARE(receiptOf("T1", "gasoline_vol::numeric(12,0)"), QString("2100"));
    } else if (action == "delete") {
        find(W + "_2");
        QCOMPARE(current(*screen_), QString("W1"));
        bool asked = false; // a question would be declined, keeping the receipt
        gui::answerNextDialog(
            [&asked](QWidget* dialog) {
                asked = true;
                dialog->close();
            },
            nullptr, 300);
        screen_->BiDiDBNavigator1->BtnClick(Nav::nbDelete);
        QTest::qWait(400); // the watch for a dialog is over
        QVERIFY(!asked);   // removed at once, unasked
        QCOMPARE(testdb::adminValue("select count(*) from oil_change where bill_no = 'W1'"), "0");
        QCOMPARE(screen_->tb1->recordCount(), 3);
    } else {
        find(Y + "_2");
        retype(screen_->DBEdit3, "1");
        screen_->BiDiDBNavigator1->BtnClick(Nav::nbCancel);
        QCOMPARE(receiptOf("Y1", "gasoline_vol::numeric(12,0)"), QString("1000"));
    }
    QCOMPARE(screen_->earliestKey(), T);
    closeScreen();
    QCOMPARE(stockTable(), before);
}

void TestSY020::refusedCorrectionStaysInEditing_data() {
    QTest::addColumn<bool>("charCodes");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    const QString shift = QString::fromUtf8("班別錯誤,請重新輸入...");
    const QString tank = QString::fromUtf8("油槽錯誤,請重新輸入...");
    QTest::newRow("a shift of eight characters") << false << "DBEdit1" << Y + "_" << shift;
    QTest::newRow("a shift without tank rows, char codes")
        << true << "DBEdit1" << T + "_3" << shift;
    QTest::newRow("tank 9, which the station lacks") << false << "DBEdit2"
                                                     << "9" << tank;
    QTest::newRow("no tank, char codes") << true << "DBEdit2"
                                         << "" << tank;
    QTest::newRow("litres that are no number")
        << false << "DBEdit3"
        << "1O00" << QString::fromUtf8("數量欄位錯誤,請輸入數字...");
    QTest::newRow("litres as nan") << true << "DBEdit3"
                                   << "nan" << QString::fromUtf8("數量欄位錯誤,請輸入數字...");
    QTest::newRow("a price that is no number")
        << false << "DBEdit4"
        << "25,5" << QString::fromUtf8("進油單價欄位錯誤,請輸入數字...");
}

void TestSY020::refusedCorrectionStaysInEditing() {
    QFETCH(bool, charCodes);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    station(charCodes);
    const QString stored = receiptOf("Y1", "shift, target_tank, gasoline_vol, in_price, prod_id");
    const QString stock = stockTable();
    open();
    find(Y + "_2");
    auto* box = screen_->findChild<TDBEdit*>(field);
    retype(box, typed);
    screen_->DBEdit2->setFocus(); // the field is left before saving
    QString seen;
    post(&seen);
    QCOMPARE(seen, message);
    QCOMPARE(screen_->tb1->state(), QueryState::Edit);
    QCOMPARE(box->text(), typed);
    QTRY_COMPARE(screen_->focusWidget(), static_cast<QWidget*>(box));
    QVERIFY(!screen_->SpeedButtonExit->isEnabled());
    QCOMPARE(receiptOf("Y1", "shift, target_tank, gasoline_vol, in_price, prod_id"), stored);

    // Dropped, the refused correction leaves nothing to recompute.
    screen_->BiDiDBNavigator1->BtnClick(Nav::nbCancel);
    QCOMPARE(screen_->earliestKey(), T);
    closeScreen();
    QCOMPARE(stockTable(), stock);
}

void TestSY020::movedReceiptTakesTheProductOfItsNewTank_data() {
    QTest::addColumn<bool>("charCodes");
    QTest::newRow("varchar codes") << false;
    QTest::newRow("blank-padded char codes") << true;
}

void TestSY020::movedReceiptTakesTheProductOfItsNewTank() {
    QFETCH(bool, charCodes);
    station(charCodes);
    open();
    QCOMPARE(current(*screen_), QString("T1"));
    retype(screen_->DBEdit2, "2");
    retype(screen_->DBEdit4, "26.75");
    post();
    QCOMPARE(screen_->tb1->state(), QueryState::Browse);
    QCOMPARE(receiptOf("T1", "target_tank, in_price, trim(prod_id)"),
             QString("2 26.75 4710000000095"));
    QCOMPARE(screen_->tb1->field("prod_id").asText().trimmed(), QString("4710000000095"));
    closeScreen(); // a receipt of today: nothing recomputed
}

void TestSY020::failedRecomputationIsShownAndChangesNothing() {
    station();
    sql(QStringLiteral("update shift_03_tank set sale = null where shift = '%1_1' and tank = '02'")
            .arg(T));
    open();
    find(Y + "_2");
    retype(screen_->DBEdit3, "1200");
    post();
    const QString before = stockTable();
    QString message;
    closeScreen(&message);
    QVERIFY2(message.contains(T + "_1") && message.contains("02"), qPrintable(message));
    QCOMPARE(stockTable(), before);
    QCOMPARE(receiptOf("Y1", "gasoline_vol::numeric(12,0)"),
             QString("1200")); // the correction stays
}

QTEST_MAIN(TestSY020)
#include "tst_sy020.moc"
