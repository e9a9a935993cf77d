// SY010, the company discount screen, driven as the office uses it: the rates it rounds,
// the rates it refuses and in which order, the read-only company code and the find box.
#include "app/data_module.h"
#include "app/gui_start.h"
#include "charge/sy010_screen.h"
#include "screens/common/db_edit.h"
#include "screens/common/db_grid.h"
#include "screens/common/db_navigator.h"
#include "support/gui_support.h"
#include "support/test_database.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

namespace {

using Nav = TBiDiDBNavigator;

// Four companies, one with a code in small letters, stored out of order.
void companies(bool charCodes) {
    TrialSchemaOptions options;
    options.charCodes = charCodes;
    testdb::recreate(options);
    testdb::admin(QString::fromUtf8("insert into cust_unit values ('C002', '台塑石化', 0.5, 0.3), "
                                    "('A001', '許厝港貨運', 1, 1.2), ('b003', '小寫公司', 0, 0), "
                                    "('B010', '功學社', 0.8, 0.6)"),
                  "pos_data");
}

void type(QWidget* field, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), {});
}

void retype(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Delete);
    else
        type(field, text);
}

// The two rates of company `code` as stored, in the server's shortest form.
QString storedRates(const QString& code) {
    return testdb::adminValue(
        QStringLiteral("select discount_d::float8 || ' ' || discount_g::float8 from cust_unit "
                       "where cust_id = '%1'")
            .arg(code));
}

} // namespace

class TestSY010 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void opensOnTheFirstCompany();
    void ratesAreRoundedToCents_data();
    void ratesAreRoundedToCents();
    void refusedRateStaysInEditing_data();
    void refusedRateStaysInEditing();
    void findBox_data();
    void findBox();

private:
    void open(bool charCodes = false);
    QString code() const { return screen_->tb1->field("cust_id").asText().trimmed(); }

    std::unique_ptr<DataModule> dm_;
    std::unique_ptr<TFrmSY010> screen_;
};

void TestSY010::initTestCase() {
    setUpChineseFonts();
}

void TestSY010::cleanup() {
    if (screen_ && screen_->isVisible()) {
        screen_->tb1->cancel();
        screen_->close();
    }
    screen_.reset();
    dm_.reset();
}

void TestSY010::open(bool charCodes) {
    companies(charCodes);
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
    screen_ = std::make_unique<TFrmSY010>();
    screen_->FormCreate();
    screen_->show();
    QVERIFY(QTest::qWaitForWindowExposed(screen_.get()));
    QApplication::setActiveWindow(screen_.get());
}

void TestSY010::opensOnTheFirstCompany() {
    open();
    QCOMPARE(screen_->windowTitle(), QString::fromUtf8("SY010 簽帳公司折讓設定"));
    QCOMPARE(screen_->LabelKey->text(), QString::fromUtf8("簽帳公司 :"));
    QCOMPARE(code(), QString("A001"));
    QCOMPARE(screen_->DBEdit2->text(), QString::fromUtf8("許厝港貨運"));
    QCOMPARE(screen_->DBEdit3->text(), QString("1"));
    QCOMPARE(screen_->DBEdit4->text(), QString("1.2"));
    QAbstractItemModel* grid = screen_->DBGrid1->model();
    QStringList codes;
    for (int row = 0; row < grid->rowCount(); ++row)
        codes << grid->index(row, 0).data().toString();
    QCOMPARE(codes, QStringList({"A001", "B010", "C002", "b003"}));
    const QStringList titles{QString::fromUtf8("代號"), QString::fromUtf8("名稱"),
                             QString::fromUtf8("柴油"), QString::fromUtf8("汽油")};
    QCOMPARE(grid->columnCount(), titles.size());
    for (int c = 0; c < titles.size(); ++c)
        QCOMPARE(grid->headerData(c, Qt::Horizontal).toString(), titles[c]);
    QCOMPARE(screen_->DBGrid1->columnWidth(0), 69);
    QCOMPARE(screen_->DBGrid1->columnWidth(1), 160);
    // Neither Insert nor Delete, browsing or editing.
    QCOMPARE(screen_->BiDiDBNavigator1->visibleButtons(),
             Nav::Buttons({Nav::nbFirst, Nav::nbPrior, Nav::nbNext, Nav::nbLast}));
    gui::saveScreenshot(screen_.get(), "sy010");

    // The code cannot be typed over.
    QVERIFY(screen_->DBEdit1->isReadOnly());
    screen_->DBEdit1->setFocus();
    type(screen_->DBEdit1, "Z");
    QCOMPARE(screen_->DBEdit1->text(), QString("A001"));
    QCOMPARE(screen_->tb1->state(), QueryState::Browse);
    retype(screen_->DBEdit2, QString::fromUtf8("許厝港"));
    QCOMPARE(screen_->BiDiDBNavigator1->visibleButtons(),
             Nav::Buttons({Nav::nbPost, Nav::nbCancel}));
    QVERIFY(screen_->DBEdit1->isReadOnly());
    gui::saveScreenshot(screen_.get(), "sy010_editing");
    screen_->BiDiDBNavigator1->BtnClick(Nav::nbPost);
    Query stored(dm_->cn);
    stored.setSql("select unit_name from cust_unit where cust_id = 'A001'");
    stored.open();
    QCOMPARE(stored.field("unit_name").asText(), QString::fromUtf8("許厝港"));
}

void TestSY010::ratesAreRoundedToCents_data() {
    QTest::addColumn<bool>("charCodes");
    QTest::addColumn<QString>("diesel");
    QTest::addColumn<QString>("petrol");
    QTest::addColumn<QString>("stored");
    QTest::newRow("0.125 and 1") << false << "0.125"
                                 << "1"
                                 << "0.13 1";
    QTest::newRow("halves away from zero, char codes") << true << "2.675"
                                                       << "-0.125"
                                                       << "2.68 -0.13";
    QTest::newRow("blanks around, below a cent") << false << " 3 "
                                                 << "0.004"
                                                 << "3 0";
}

void TestSY010::ratesAreRoundedToCents() {
    QFETCH(bool, charCodes);
    QFETCH(QString, diesel);
    QFETCH(QString, petrol);
    QFETCH(QString, stored);
    open(charCodes);
    screen_->BiDiDBNavigator1->BtnClick(Nav::nbNext); // B010
    retype(screen_->DBEdit3, diesel);
    retype(screen_->DBEdit4, petrol);
    screen_->BiDiDBNavigator1->BtnClick(Nav::nbPost);
    QCOMPARE(screen_->tb1->state(), QueryState::Browse);
    QCOMPARE(storedRates("B010"), stored);
    QCOMPARE(screen_->DBEdit3->text() + ' ' + screen_->DBEdit4->text(), stored);
    QCOMPARE(storedRates("A001"), QString("1 1.2")); // only the company edited
}

void TestSY010::refusedRateStaysInEditing_data() {
    QTest::addColumn<QString>("diesel");
    QTest::addColumn<QString>("petrol");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QString dieselWrong = QString::fromUtf8("柴油折扣欄位錯誤...");
    const QString petrolWrong = QString::fromUtf8("汽油折扣欄位錯誤...");
    QTest::newRow("petrol cleared") << "0.5"
                                    << "" << petrolWrong << "DBEdit4";
    QTest::newRow("diesel cleared") << ""
                                    << "0.3" << dieselWrong << "DBEdit3";
    QTest::newRow("both wrong: only diesel said") << "0.5x"
                                                  << "" << dieselWrong << "DBEdit3";
    QTest::newRow("diesel empty, petrol words: only diesel said")
        << ""
        << "abc" << dieselWrong << "DBEdit3";
    QTest::newRow("petrol as inf") << "0.5"
                                   << "inf" << petrolWrong << "DBEdit4";
}

void TestSY010::refusedRateStaysInEditing() {
    QFETCH(QString, diesel);
    QFETCH(QString, petrol);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    open();
    retype(screen_->DBEdit3, diesel);
    retype(screen_->DBEdit4, petrol);
    QString seen;
    gui::pressInNextMessageBox(QMessageBox::Ok, &seen);
    screen_->BiDiDBNavigator1->BtnClick(Nav::nbPost);
    QCOMPARE(seen, message);
    QCOMPARE(screen_->tb1->state(), QueryState::Edit);
    QCOMPARE(screen_->DBEdit3->text(), diesel);
    QCOMPARE(screen_->DBEdit4->text(), petrol);
    QTRY_COMPARE(screen_->focusWidget()->objectName(), focus);
    QVERIFY(!screen_->SpeedButtonExit->isEnabled());
    QCOMPARE(storedRates("A001"), QString("1 1.2"));
}

void TestSY010::findBox_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("found");
    QTest::newRow("a letter, in capitals") << "c"
                                           << "C"
                                           << "C002";
    QTest::newRow("the beginning of a code") << "b01"
                                             << "B01"
                                             << "B010";
    // Typed letter by letter: B finds B010, and B003 then matches no code as typed.
    QTest::newRow("a code stored in small letters is not found") << "b003"
                                                                 << "B003"
                                                                 << "B010";
}

void TestSY010::findBox() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, found);
    open(true); // codes blank-padded to twenty characters
    QTest::keyClicks(screen_->ED1, typed);
    QCOMPARE(screen_->ED1->text(), shown);
    QCOMPARE(code(), found);
    QCOMPARE(screen_->DBEdit1->text(), found);
}

QTEST_MAIN(TestSY010)
#include "tst_sy010.moc"
