// The windows of start-up: the splash window, the main window with its button page, the
// close question, the schema upgrade when the window becomes active, one copy at a time.
#include "app/data_module.h"
#include "app/gui_start.h"
#include "app/main_form.h"
#include "app/splash_form.h"
#include "support/gui_support.h"
#include "support/test_database.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

class TestStartupWindows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void splash();
    void buttonPage();
    void closeQuestion_data();
    void closeQuestion();
    void activationUpgradesTheSchema();
    void secondCopyGetsNoWindow();
};

void TestStartupWindows::initTestCase() {
    setUpChineseFonts();
}

void TestStartupWindows::splash() {
    TSplashForm splash;
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    QCOMPARE(splash.size(), QSize(580, 328));
    QCOMPARE(splash.ProgressBar1->value(), 0);
    QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    bool loading = false;
    for (QLabel* l : splash.findChildren<QLabel*>())
        loading |= l->text() == QString::fromUtf8("程式載入中 請稍候.....");
    QVERIFY(loading);
    gui::saveScreenshot(&splash, "splash");
}

void TestStartupWindows::buttonPage() {
    TMainForm form;
    QVERIFY(form.ownsInstanceLock());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.size(), QSize(712, 560));
    QCOMPARE(form.windowTitle(), QString::fromUtf8("Quenrel加油站系統  TOLVAR  Ver 1.4"));
    QPushButton* sb01 = form.button("sb01");
    QVERIFY(sb01);
    QCOMPARE(sb01->text(), QString::fromUtf8("   1.簽帳公司折讓維護         "));
    QCOMPARE(sb01->geometry(), QRect(40, 90, 180, 40));
    QCOMPARE(form.button("SpeedButton6")->geometry(), QRect(40, 450, 180, 44));
    QCOMPARE(form.button("SpeedButton5")->text(), QString::fromUtf8("  11.中油結付表"));
    QCOMPARE(form.button("SpeedButton3")->text(), QString::fromUtf8("離      開"));
    QVERIFY(sb01->isEnabled()); // SY010 is built
    // Screens not yet built say so instead of opening an empty window; built ones open.
    for (QPushButton* b : form.findChildren<QPushButton*>())
        QCOMPARE(b->toolTip() == QString::fromUtf8("尚未提供"), !b->isEnabled());
    QVERIFY(form.button("SpeedButton5")->isEnabled()); // BR110 is built
    gui::saveScreenshot(&form, "main_form");
    gui::pressInNextMessageBox(QMessageBox::Ok);
    form.close();
}

void TestStartupWindows::closeQuestion_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::newRow("OK closes") << int(QMessageBox::Ok) << true;
    QTest::newRow("Cancel keeps it") << int(QMessageBox::Cancel) << false;
}

void TestStartupWindows::closeQuestion() {
    QFETCH(int, answer);
    QFETCH(bool, closes);
    TMainForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QString asked;
    gui::pressInNextMessageBox(QMessageBox::StandardButton(answer), &asked);
    form.button("SpeedButton3")->click();
    QCOMPARE(asked, QString::fromUtf8("離開 TolvMenu 管理系統？"));
    QCOMPARE(form.isVisible(), !closes);
    if (!closes) {
        gui::pressInNextMessageBox(QMessageBox::Ok);
        form.close();
    }
}

void TestStartupWindows::activationUpgradesTheSchema() {
    TrialSchemaOptions older;
    older.older = true;
    testdb::recreate(older);
    DataModule dm;
    testdb::configure(dm.cn);
    TMainForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QApplication::setActiveWindow(&form);
    QTRY_COMPARE(
        testdb::adminValue(
            "select count(*) from information_schema.columns where column_name in "
            "('discount_g','discount_d','in_price') and table_name in ('cust_unit', 'oil_change')"),
        QString("3"));
    gui::pressInNextMessageBox(QMessageBox::Ok);
    form.close();
}

void TestStartupWindows::secondCopyGetsNoWindow() {
    TMainForm first;
    TMainForm second;
    QVERIFY(first.ownsInstanceLock());
    QVERIFY(!second.ownsInstanceLock());
    QVERIFY(!second.button("sb01")); // nothing built for a copy that is about to end
}

QTEST_MAIN(TestStartupWindows)
#include "tst_startup_windows.moc"
