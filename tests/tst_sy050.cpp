// The invoice screen SY050 as the office uses it: its fields and hidden controls, Enter as
// Tab, the month calendar, the trial and its result lines kept across runs, a refused month,
// and the media step asked first and written to the Export folder.
#include "app/data_module.h"
#include "app/gui_start.h"
#include "invoice/sy050_screen.h"
#include "screens/common/date_picker.h"
#include "screens/common/process_form.h"
#include "support/gui_support.h"
#include "support/invoice_fixture.h"
#include "support/test_database.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

class TestSy050 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void fieldsAndHiddenControls();
    void enterMovesOnAndTheCalendarWritesAMonth();
    void trialLinesAreKeptAcrossRuns();
    void refusedMonthsSaySoAndFocusTheField();
    void mediaAsksFirstAndWritesToTheExportFolder();

private:
    QStringList memo() const { return screen_->Memo1->toPlainText().split('\n'); }
    std::unique_ptr<DataModule> dm_;
    std::unique_ptr<TFrmSY050> screen_;
    QTemporaryDir home_;
};

void TestSy050::initTestCase() {
    setUpChineseFonts();
    // The media file goes to Export in the home folder: here, the test's own folder.
    qputenv("HOME", home_.path().toLocal8Bit());
}

void TestSy050::init() {
    testdb::recreate();
    invoicefix::insertRange("11306", "XY12345000", "XY12345999");
    invoicefix::insertSales(
        {{"2024/05/02 10:00:00", "XY12345000", "2", 1050, 50},
         {"2024/06/02 10:00:00", "XY12345001", "2", 2100, 100},
         {"2024/06/03 10:00:00", "XY12345002", "2", 105, 5, "TX", "00000000", 1}});
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
    dm_->settings.uid = "87654321";
    dm_->settings.tax_id = "123456789";
    screen_ = std::make_unique<TFrmSY050>();
    screen_->FormCreate();
    screen_->show();
    QVERIFY(QTest::qWaitForWindowExposed(screen_.get()));
}

void TestSy050::cleanup() {
    gui::stopAnswering();
    if (screen_) screen_->close();
    screen_.reset();
    dm_.reset();
}

void TestSy050::fieldsAndHiddenControls() {
    const QString month = QDate::currentDate().toString("yyyy/MM");
    QCOMPARE(screen_->windowTitle(), QString::fromUtf8("SY050 發票試算媒體轉檔"));
    QCOMPARE(screen_->e01->text(), month);
    QCOMPARE(screen_->e02->text(), month);
    QVERIFY(!(screen_->windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(screen_->minimumSize(), screen_->maximumSize());
    QCOMPARE(screen_->sb06->toolTip(), QString("Calendar"));
    QCOMPARE(screen_->SpeedButton1->toolTip(), QString("Calendar"));
    QCOMPARE(screen_->sb02->text(), QString::fromUtf8("試算"));
    QCOMPARE(screen_->sb03->text(), QString::fromUtf8("媒體"));
    QCOMPARE(screen_->sb05->text(), QString::fromUtf8("離開"));
    QCOMPARE(screen_->Label3->text(), QString::fromUtf8("發票型式 :"));
    QCOMPARE(screen_->Label4->text(), QString::fromUtf8("金        額 :"));
    QCOMPARE(screen_->Label5->text(), QString::fromUtf8("以上"));
    QCOMPARE(screen_->Label6->text(), QString::fromUtf8("調整金額 :"));
    for (QWidget* hidden :
         std::initializer_list<QWidget*>{screen_->e03, screen_->e04, screen_->e05, screen_->Label3,
                                         screen_->Label4, screen_->Label5, screen_->Label6})
        QVERIFY(!hidden->isVisible());
    QCOMPARE(screen_->e03->count(), 3);
    QCOMPARE(screen_->e03->currentText(), QString());
    QCOMPARE(screen_->e04->text(), QString());
    QCOMPARE(screen_->e05->text(), QString("0"));
    QVERIFY(screen_->Memo1->toPlainText().isEmpty());
    QVERIFY(screen_->Memo1->font().bold());
    QCOMPARE(screen_->Memo1->palette().color(QPalette::Text), QColor(Qt::red));
    QVERIFY(dm_->cn.connected());
    screen_->sb05->click();
    QVERIFY(!screen_->isVisible());
    QVERIFY(!dm_->cn.connected());
}

void TestSy050::enterMovesOnAndTheCalendarWritesAMonth() {
    screen_->activateWindow();
    screen_->e01->setFocus();
    QTRY_VERIFY(screen_->e01->hasFocus());
    QTest::keyClick(screen_->e01, Qt::Key_Return);
    QVERIFY(screen_->e02->hasFocus());
    QCOMPARE(screen_->e01->text(), QDate::currentDate().toString("yyyy/MM"));

    bool openedOnToday = false;
    gui::answerNextDialog([&](QWidget* dialog) {
        auto* picker = qobject_cast<TBrDateForm*>(dialog);
        openedOnToday = picker->Date() == QDate::currentDate();
        picker->setDate(QDate(2024, 5, 17));
        picker->OkBtn->click();
    });
    screen_->sb06->click();
    QVERIFY(openedOnToday);
    QCOMPARE(screen_->e01->text(), QString("2024/05"));
    gui::answerNextDialog([](QWidget* dialog) {
        auto* picker = qobject_cast<TBrDateForm*>(dialog);
        picker->setDate(QDate(2023, 1, 1));
        picker->CancelBtn->click();
    });
    screen_->SpeedButton1->click();
    QCOMPARE(screen_->e02->text(), QDate::currentDate().toString("yyyy/MM"));
}

void TestSy050::trialLinesAreKeptAcrossRuns() {
    screen_->e01->setText("2024/05");
    screen_->e02->setText("2024/06");
    screen_->sb02->click();
    const QStringList once{"", QString::fromUtf8("二聯式發票  有效張數 : 2  發票金額 : 3,150"), "",
                           QString::fromUtf8("二聯式發票  作廢張數 : 1")};
    QCOMPARE(memo(), once);
    QVERIFY(screen_->findChildren<TfmProcess*>().isEmpty());
    gui::saveScreenshot(screen_.get(), "sy050_after_trial");
    screen_->sb02->click();
    QCOMPARE(memo(), once + once);
    QCOMPARE(testdb::adminValue("select count(*) from tIN010"), QString("3"));
}

void TestSy050::refusedMonthsSaySoAndFocusTheField() {
    screen_->e01->setText("2024/05");
    screen_->e02->setText("2024/07");
    QString seen;
    gui::pressInNextMessageBox(QMessageBox::Ok, &seen);
    screen_->sb02->click();
    QCOMPARE(seen, QString::fromUtf8("起迄年月 錯誤..."));
    QCOMPARE(screen_->focusWidget(), screen_->e02);
    QVERIFY(screen_->Memo1->toPlainText().isEmpty());
}

void TestSy050::mediaAsksFirstAndWritesToTheExportFolder() {
    screen_->e01->setText("2024/05");
    screen_->e02->setText("2024/06");
    screen_->sb02->click();
    const QStringList trial = memo();
    QDir(home_.path()).mkpath("Export");
    const QString file = QDir(home_.path()).filePath("Export/87654321.TXT");

    QString question;
    gui::pressInNextMessageBox(QMessageBox::Cancel, &question);
    screen_->sb03->click();
    QCOMPARE(question, QString::fromUtf8("請先試算正確後,在執行媒體轉檔作業..."));
    QCOMPARE(memo(), trial);
    QVERIFY(!QFileInfo::exists(file));

    gui::pressInNextMessageBox(QMessageBox::Ok);
    screen_->sb03->click();
    const QStringList lines = memo().mid(trial.size());
    QCOMPARE(lines.mid(0, 2), QStringList({"", QString::fromUtf8("媒體轉檔資料")}));
    QVERIFY(lines.contains(QString::fromUtf8("  轉檔筆數 : 7")));
    QCOMPARE(lines.last(), QString::fromUtf8("  媒體檔 : ") + file);
    QFile written(file);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.size(), 7 * 83);
    gui::saveScreenshot(screen_.get(), "sy050_after_media");

    // Without the folder the error box names it and the result lines stay.
    QVERIFY(QDir(QDir(home_.path()).filePath("Export")).removeRecursively());
    QString error;
    gui::answerNextDialog([&](QWidget* dialog) {
        gui::answerNextDialog([&](QWidget* next) {
            if (auto* box = qobject_cast<QMessageBox*>(next)) {
                error = box->text();
                box->accept();
            }
        });
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) box->button(QMessageBox::Ok)->click();
    });
    screen_->sb03->click();
    QVERIFY2(error.contains(QDir(home_.path()).filePath("Export")), qPrintable(error));
    QCOMPARE(memo().size(), trial.size() + 2 * lines.size() - 1); // all but the file's line
}

QTEST_MAIN(TestSy050)
#include "tst_sy050.moc"
