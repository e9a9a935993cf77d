// A report screen as the office uses it, on BR010: defaults, calendar and lookup buttons,
// preview, print without a printer, export, a failing build, closing.
#include "app/data_module.h"
#include "app/gui_start.h"
#include "charge/br010_screen.h"
#include "reports/common/report_preview.h"
#include "screens/common/date_picker.h"
#include "screens/common/lookup_picker.h"
#include "screens/common/process_form.h"
#include "support/gui_support.h"
#include "support/test_database.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

class TestReportScreen : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void defaults();
    void calendarAndLookupButtons();
    void previewShowsTheReport();
    void printWithoutAPrinterSaysSo();
    void exportWritesTheFileAndAnEmptyOneKeepsTheOld();
    void failingBuildKeepsTheScreenOpen();

private:
    std::unique_ptr<DataModule> dm_;
    std::unique_ptr<TFrmBR010> screen_;
    QTemporaryDir folder_;
    QString startFolder_;
};

void TestReportScreen::initTestCase() {
    setUpChineseFonts();
    startFolder_ = QDir::currentPath();
    QDir::setCurrent(folder_.path()); // the export goes to the working folder
}

void TestReportScreen::init() {
    testdb::recreate();
    testdb::admin(QString::fromUtf8("insert into cust_unit (cust_id, unit_name, discount_d, "
                                    "discount_g) values ('C01', '許厝港運輸', 1.2, 0.5)"),
                  "pos_data");
    testdb::admin("insert into car_data values ('AB-1234', 'C01'), ('CD-5678', 'C01')", "pos_data");
    const QString day = QDate::currentDate().addDays(-1).toString("yyyy/MM/dd");
    const QString key = QString("%1%2")
                            .arg(QDate::currentDate().addDays(-1).year() - 1911, 3, 10, QChar('0'))
                            .arg(QDate::currentDate().addDays(-1).toString("MMdd"));
    testdb::admin(QString("insert into tran (island, gun_no, tran_time, shift, car_no, ref_no2, "
                          "payment, an_mark) values ('01', '01', '%1 10:00', '%2_1', 'AB-1234', "
                          "'C01', '903', '000')")
                      .arg(day, key),
                  "pos_data");
    testdb::admin(QString("insert into tran_detl (island, gun_no, tran_time, seq, shift, "
                          "product_id, class, price, qty, amt) values ('01', '01', '%1 10:00', 1, "
                          "'%2_1', '113F 51101001', '101', 25, 40, 1000)")
                      .arg(day, key),
                  "pos_data");
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
    screen_ = std::make_unique<TFrmBR010>();
    screen_->FormCreate();
    screen_->show();
    QVERIFY(QTest::qWaitForWindowExposed(screen_.get()));
}

void TestReportScreen::cleanup() {
    if (screen_) screen_->close();
    screen_.reset();
    dm_.reset();
}

void TestReportScreen::defaults() {
    const QDate today = QDate::currentDate();
    QCOMPARE(screen_->windowTitle(), QString::fromUtf8("BR010 簽帳客戶明細表"));
    QCOMPARE(screen_->e01->text(), today.toString("yyyy/MM/") + "01");
    QCOMPARE(screen_->e02->text(), today.addDays(-1).toString("yyyy/MM/dd"));
    QVERIFY(screen_->e01->isReadOnly());
    QCOMPARE(screen_->e05->currentText(), QString::fromUtf8("1:日期"));
    QCOMPARE(screen_->e06->currentText(), QString("N"));
    QCOMPARE(screen_->e07->currentText(), QString::fromUtf8("1:交班日期"));
    QCOMPARE(screen_->SpeedButtonPrn->text(), QString::fromUtf8("&P 預視列印"));
    QCOMPARE(screen_->SBT->text(), QString::fromUtf8("&T 轉檔 EXCEL"));
    QCOMPARE(screen_->BitBtnExit->text(), QString::fromUtf8("  離  開"));
    QVERIFY(!(screen_->windowFlags() & Qt::WindowCloseButtonHint));
    gui::saveScreenshot(screen_.get(), "br010_screen");
    QVERIFY(dm_->cn.connected());
    screen_->BitBtnExit->click();
    QVERIFY(!screen_->isVisible());
    QVERIFY(!dm_->cn.connected());
}

void TestReportScreen::calendarAndLookupButtons() {
    gui::answerNextDialog([](QWidget* dialog) {
        auto* picker = qobject_cast<TBrDateForm*>(dialog);
        picker->setDate(QDate(2024, 5, 7));
        picker->OkBtn->click();
    });
    screen_->SpeedButton3->click();
    QCOMPARE(screen_->e01->text(), QString("2024/05/07"));

    screen_->e03->setText("CD");
    QString caption;
    gui::answerNextDialog([&](QWidget* dialog) {
        caption = dialog->windowTitle();
        qobject_cast<TFrmgetdata*>(dialog)->BitBtnCanser->click();
    });
    screen_->findChild<QToolButton*>("SB4")->click();
    QCOMPARE(caption, QString::fromUtf8("客戶資料選取"));
    QCOMPARE(screen_->e03->text(), QString("CD-5678"));
}

void TestReportScreen::previewShowsTheReport() {
    QString pageLabel;
    bool progressBehind = false;
    gui::answerNextDialog([&](QWidget* dialog) {
        auto* preview = qobject_cast<ReportPreview*>(dialog);
        if (!preview) return;
        pageLabel = preview->PageLabel->text();
        progressBehind = !screen_->findChildren<TfmProcess*>().isEmpty();
        gui::saveScreenshot(preview, "br010_preview");
        preview->CloseButton->click();
    });
    screen_->SpeedButtonPrn->click();
    QCOMPARE(pageLabel, QString::fromUtf8("第 1 / 1 頁"));
    QVERIFY(progressBehind);
    QVERIFY(screen_->findChildren<TfmProcess*>().isEmpty()); // gone with the preview
    QVERIFY(screen_->isVisible());
}

void TestReportScreen::printWithoutAPrinterSaysSo() {
    QString seen;
    gui::pressInNextMessageBox(QMessageBox::Cancel, &seen);
    screen_->SpeedButton2->click();
    QVERIFY2(seen.contains(QString::fromUtf8("印表機")), qPrintable(seen));
    QVERIFY(seen.contains("PDF"));
    QVERIFY(screen_->isVisible());
}

void TestReportScreen::exportWritesTheFileAndAnEmptyOneKeepsTheOld() {
    QFile::remove("BR010.XLS");
    screen_->SBT->click();
    QFile file("BR010.XLS");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    file.close();
    QVERIFY(written.startsWith("ID;PYSLK;N;E\r\n"));
    QVERIFY(written.contains("AB-1234"));
    QVERIFY(written.endsWith("E\r\n"));

    screen_->e03->setText("NO-SUCH"); // no rows: no file, the older one stays
    screen_->SBT->click();
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), written);
}

void TestReportScreen::failingBuildKeepsTheScreenOpen() {
    testdb::admin("drop table tran_detl", "pos_data");
    QString seen;
    gui::pressInNextMessageBox(QMessageBox::Ok, &seen);
    screen_->SpeedButtonPrn->click();
    QVERIFY2(seen.contains("tran_detl"), qPrintable(seen));
    QVERIFY(screen_->isVisible());
    QVERIFY(screen_->findChildren<TfmProcess*>().isEmpty());
}

QTEST_MAIN(TestReportScreen)
#include "tst_report_screen.moc"
