// The main menu: its page of buttons, the screens they open, the hidden entry to the SQL
// console and the close question.
#include "app/data_module.h"
#include "app/gui_start.h"
#include "app/main_form.h"
#include "app/menu_screens.h"
#include "db/db_error.h"
#include "screens/common/screen.h"
#include "support/gui_support.h"
#include "support/test_database.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// A stand-in screen: shows its caption and counts how often it was opened.
class StandInScreen : public TScreen {
public:
    explicit StandInScreen(const QString& caption, bool failOpening = false)
        : failOpening_(failOpening) {
        setWindowTitle(caption);
        ++made;
    }
    void FormCreate() override {
        if (failOpening_) throw DbError(QStringLiteral("could not connect to server"));
        // Closes itself once shown, so that a screen opened too early cannot hang the test.
        if (closeItself) QTimer::singleShot(0, this, [this] { close(); });
    }
    static inline int made = 0;
    static inline bool closeItself = false;

private:
    bool failOpening_;
};

ScreenFactory standIn(const QString& caption, bool failOpening = false) {
    return [=] { return std::unique_ptr<TScreen>(new StandInScreen(caption, failOpening)); };
}

// Opens the next modal screen's caption into `*caption` and closes it, noting whether the
// menu was disabled behind it.
void closeNextScreen(QString* caption, bool* menuBlocked, QWidget* menu) {
    gui::answerNextDialog([=](QWidget* dialog) {
        *caption = dialog->windowTitle();
        *menuBlocked = !menu->isEnabled() || QApplication::activeModalWidget() == dialog;
        dialog->close();
    });
}

} // namespace

class TestMainMenu : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void buttonPage_data();
    void buttonPage();
    void eachButtonOpensItsScreen_data();
    void eachButtonOpensItsScreen();
    void registeredScreenOpensAndReturns();
    void screenFailingToOpenLeavesTheMenuUsable();
    void consoleEntry();
    void cancelOnTheCloseQuestionKeepsTheMenu();

private:
    std::unique_ptr<DataModule> dm_;
    std::unique_ptr<TMainForm> form_;
};

void TestMainMenu::initTestCase() {
    setUpChineseFonts();
    testdb::recreate();
}

void TestMainMenu::init() {
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
}

void TestMainMenu::cleanup() {
    if (form_) {
        gui::pressInNextMessageBox(QMessageBox::Ok);
        form_->close();
        form_.reset();
    }
    dm_.reset();
}

void TestMainMenu::buttonPage_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    auto row = [](const char* name, int left, int top, int height, const char* caption) {
        QTest::newRow(name) << QString(name) << QRect(left, top, 180, height)
                            << QString::fromUtf8(caption);
    };
    row("sb01", 40, 90, 40, "   1.簽帳公司折讓維護         ");
    row("sb08", 40, 150, 40, "   2.油槽進油資料維護");
    row("SpeedButton4", 40, 210, 40, "  3.簽帳交易明細維護");
    row("SpeedButton6", 40, 450, 44, "               發票試算");
    row("sb04", 260, 90, 40, "   1.營業收入彙總表");
    row("sb05", 260, 150, 40, "   2.營業(月)統計表");
    row("sb02", 260, 210, 40, "   3.簽帳客戶明細表");
    row("sb03", 260, 270, 40, "   4.簽帳客戶統計表");
    row("sb06", 260, 330, 40, "   5.油錶記錄起迄表");
    row("sb09", 260, 390, 40, "   6.油槽進銷存報表");
    row("sb07", 480, 90, 40, "   7.副產品進銷存報表");
    row("SpeedButton1", 480, 150, 40, "   8.空白發票明細表");
    row("SpeedButton2", 480, 210, 40, "   9.團體 U 卡明細表");
    row("sb10", 480, 270, 40, "  10.贈品明細統計表");
    row("SpeedButton5", 480, 330, 40, "  11.中油結付表");
    row("SpeedButton3", 260, 450, 44, "離      開");
}

void TestMainMenu::buttonPage() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    form_ = std::make_unique<TMainForm>();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    QCOMPARE(form_->size(), QSize(712, 560));
    QVERIFY(!(form_->windowFlags() & Qt::WindowMaximizeButtonHint));
    QPushButton* button = form_->button(name);
    QVERIFY(button);
    QCOMPARE(button->geometry(), geometry);
    QCOMPARE(button->text(), caption);
    QCOMPARE(button->font().pixelSize(), 16);
    // The captions resolve to a Traditional Chinese Ming face, not a Simplified fallback.
    const QString family = QFontInfo(button->font()).family();
    QVERIFY2(family.contains("Ming") || family == QString::fromUtf8("新細明體"),
             qPrintable(family));
    auto* heading = form_->findChild<QLabel*>("Panel2");
    QVERIFY(heading);
    QCOMPARE(heading->text(), QString::fromUtf8("資料維護"));
    QCOMPARE(heading->geometry(), QRect(40, 30, 180, 40));
    QCOMPARE(form_->Panel3->text(), QString::fromUtf8("報表輸出"));
    QCOMPARE(form_->Panel3->geometry(), QRect(260, 30, 180, 40));
    if (name == "sb01") gui::saveScreenshot(form_.get(), "main_menu");
}

void TestMainMenu::eachButtonOpensItsScreen_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("caption");
    auto row = [](const char* name, const char* screen, const char* caption) {
        QTest::newRow(name) << QString(name) << QString(screen) << QString::fromUtf8(caption);
    };
    row("sb01", "TFrmSY010", "SY010 簽帳公司折讓設定");
    row("sb08", "TFrmSY020", "SY020 油槽進油資料維護");
    row("SpeedButton4", "TFrmSY040", "SY040 簽帳交易資料維護");
    row("SpeedButton6", "TFrmSY050", "SY050 發票試算媒體轉檔");
    row("sb04", "TFrmBR030", "BR030 營業收入彙總表");
    row("sb05", "TFrmBR040", "BR040 總營業月統計表");
    row("sb02", "TFrmBR010", "BR010 簽帳客戶明細表");
    row("sb03", "TFrmBR020", "BR020 簽帳客戶統計表");
    row("sb06", "TFrmBR050", "BR050 油錶記錄起迄表");
    row("sb09", "TFrmBR070", "BR070 油槽進銷存報表");
    row("sb07", "TFrmBR060", "BR060 副產品進銷存明細表");
    row("SpeedButton1", "TFrmBR090", "BR090 空白發票明細表");
    row("SpeedButton2", "TFrmBR100", "BR100 團體 U 卡明細表");
    row("sb10", "TFrmBR080", "BR080 贈品明細統計表");
    row("SpeedButton5", "TFrmBR110", "BR110 中油結付表");
}

// Every screen the program has built opens from its own button and returns to the menu;
// every other button is disabled and says the screen is not there yet.
void TestMainMenu::eachButtonOpensItsScreen() {
    QFETCH(QString, name);
    QFETCH(QString, screen);
    QFETCH(QString, caption);
    form_ = std::make_unique<TMainForm>();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    QPushButton* button = form_->button(name);
    QVERIFY(button);
    if (!screenFactory(screen)) {
        QVERIFY(!button->isEnabled());
        QCOMPARE(button->toolTip(), QString::fromUtf8("尚未提供"));
        return;
    }
    QVERIFY(button->isEnabled());
    QString seen;
    bool blocked = false;
    closeNextScreen(&seen, &blocked, form_.get());
    button->click();
    QCOMPARE(seen, caption);
    QVERIFY(blocked);
    QVERIFY(form_->isVisible());
    QVERIFY(form_->isEnabled());
}

void TestMainMenu::registeredScreenOpensAndReturns() {
    const ScreenFactory before = screenFactory("TFrmBR030");
    registerScreen("TFrmBR030", standIn(QString::fromUtf8("BR030 營業收入彙總表")));
    form_ = std::make_unique<TMainForm>();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    QPushButton* sb04 = form_->button("sb04");
    QVERIFY(sb04->isEnabled());
    QVERIFY(sb04->toolTip().isEmpty());
    gui::saveScreenshot(form_.get(), "main_menu_one_screen_built");
    for (int time = 1; time <= 2; ++time) { // a fresh screen each time
        QString seen;
        bool blocked = false;
        closeNextScreen(&seen, &blocked, form_.get());
        const int made = StandInScreen::made;
        QTest::mouseClick(sb04, Qt::LeftButton);
        QCOMPARE(StandInScreen::made, made + 1);
        QCOMPARE(seen, QString::fromUtf8("BR030 營業收入彙總表"));
        QVERIFY(blocked);
        QVERIFY(form_->isEnabled());
    }
    registerScreen("TFrmBR030", before);
}

void TestMainMenu::screenFailingToOpenLeavesTheMenuUsable() {
    const ScreenFactory before = screenFactory("TFrmBR050");
    registerScreen("TFrmBR050", standIn(QString::fromUtf8("BR050 油錶記錄起迄表"), true));
    form_ = std::make_unique<TMainForm>();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    QString seen;
    gui::pressInNextMessageBox(QMessageBox::Ok, &seen);
    form_->button("sb06")->click();
    QCOMPARE(seen, QStringLiteral("could not connect to server"));
    QVERIFY(form_->isVisible());
    QVERIFY(form_->isEnabled());
    QVERIFY(form_->button("sb06")->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
    registerScreen("TFrmBR050", before);
}

void TestMainMenu::consoleEntry() {
    const ScreenFactory before = screenFactory("TFrmSY990");
    registerScreen("TFrmSY990", standIn(QStringLiteral("SY990")));
    form_ = std::make_unique<TMainForm>();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    QApplication::setActiveWindow(form_.get());
    QLineEdit* edit = form_->Edit1;
    QVERIFY(!edit->isVisible());
    QCOMPARE(edit->geometry().topLeft(), QPoint(510, 40));
    QCOMPARE(edit->width(), 121);
    QTest::mouseDClick(form_->Panel3, Qt::LeftButton);
    QVERIFY(edit->isVisible());
    QTRY_VERIFY(edit->hasFocus());

    StandInScreen::closeItself = true;
    const int made = StandInScreen::made;
    // The word with a further letter, typed as "gatekeepes", then an R before the S.
    QTest::keyClicks(edit, "gatekeepes");
    QTest::keyClick(edit, Qt::Key_Left);
    QTest::keyClicks(edit, "r");
    QCOMPARE(edit->text(), QStringLiteral("GATEKEEPERS")); // capitals as typed
    QCOMPARE(edit->displayText(), QStringLiteral("***********"));
    QCOMPARE(StandInScreen::made, made); // more letters than the word: nothing opens

    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClick(edit, Qt::Key_Backspace); // back to the exact word
    StandInScreen::closeItself = false;
    QCOMPARE(StandInScreen::made, made + 1);
    QVERIFY(edit->text().isEmpty());
    QVERIFY(edit->isVisible());
    registerScreen("TFrmSY990", before);
}

void TestMainMenu::cancelOnTheCloseQuestionKeepsTheMenu() {
    form_ = std::make_unique<TMainForm>();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    QTest::mouseDClick(form_->Panel3, Qt::LeftButton);
    QTest::keyClicks(form_->Edit1, "GATE");
    QString asked;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    gui::answerNextDialog(
        [&](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            icon = box->icon();
            box->button(QMessageBox::Cancel)->click();
        },
        &asked);
    form_->close(); // the system menu's close goes the same way
    QCOMPARE(asked, QString::fromUtf8("離開 TolvMenu 管理系統？"));
    QCOMPARE(icon, QMessageBox::Question);
    QVERIFY(form_->isVisible());
    QVERIFY(form_->isEnabled());
    QCOMPARE(form_->Edit1->text(), QStringLiteral("GATE"));
    QVERIFY(form_->Edit1->isVisible());
}

QTEST_MAIN(TestMainMenu)
#include "tst_main_menu.moc"
