// The date picker: its titles in both eras, the month and year steps, the day grid, and the
// two ways the calendar buttons of the screens use it (day fields and month fields).
#include "app/gui_start.h"
#include "screens/common/date_picker.h"
#include "support/gui_support.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

namespace {

// Counts the pickers shown while it lives; a refusing watch closes each one at once, so that
// a picker that should never have opened cannot hang the run.
class PickerWatch : public QObject {
public:
    explicit PickerWatch(bool refuse = false) : refuse_(refuse) { qApp->installEventFilter(this); }
    int shown = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (auto* picker = qobject_cast<TBrDateForm*>(watched)) {
                ++shown;
                if (refuse_)
                    QMetaObject::invokeMethod(picker, &QDialog::reject, Qt::QueuedConnection);
            }
        return false;
    }

private:
    bool refuse_;
};

// Clicks whatever the user sees at the titles' place; returns the label that got the click.
QLabel* clickTitle(TBrDateForm& picker) {
    const QPoint centre = picker.TitleLabel->geometry().center();
    auto* hit = qobject_cast<QLabel*>(picker.childAt(centre));
    if (hit) QTest::mouseClick(hit, Qt::LeftButton);
    return hit;
}

QTableView* dayGrid(TBrDateForm& picker) {
    return picker.Calendar1->findChild<QTableView*>();
}

// How the user leaves the picker.
enum class Leave { Ok, Enter, Cancel, Escape, CloseBox };

void leave(TBrDateForm* picker, Leave how) {
    switch (how) {
    case Leave::Ok:
        QTest::mouseClick(picker->OkBtn, Qt::LeftButton);
        break;
    case Leave::Enter:
        QTest::keyClick(picker->focusWidget(), Qt::Key_Return);
        break;
    case Leave::Cancel:
        QTest::mouseClick(picker->CancelBtn, Qt::LeftButton);
        break;
    case Leave::Escape:
        QTest::keyClick(picker->focusWidget(), Qt::Key_Escape);
        break;
    case Leave::CloseBox:
        picker->close();
        break;
    }
}

} // namespace

Q_DECLARE_METATYPE(Leave)

class TestDatePicker : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void window();
    void titles_data();
    void titles();
    void westernTitleEmptyUntilFirstChange();
    void westernTitleFollowsASteppedDate();
    void steps_data();
    void steps();
    void dayGridClicks_data();
    void dayGridClicks();
    void dayField_data();
    void dayField();
    void dayFieldNotADate_data();
    void dayFieldNotADate();
    void monthField_data();
    void monthField();
};

void TestDatePicker::initTestCase() {
    setUpChineseFonts();
}

void TestDatePicker::window() {
    TBrDateForm picker;
    picker.setDate(QDate(2024, 5, 7));
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    QCOMPARE(picker.windowTitle(), QString::fromUtf8("選擇日期"));
    QCOMPARE(picker.minimumSize(), picker.maximumSize());
    QVERIFY(picker.OkBtn->isDefault());
    QCOMPARE(picker.OkBtn->text(), QString::fromUtf8("&OK 確定"));
    QCOMPARE(picker.CancelBtn->text(), QString::fromUtf8("&Cancel 放棄"));
    for (QToolButton* b : {picker.PrevMonthBtn, picker.NextMonthBtn})
        QCOMPARE(b->text(), QString::fromUtf8("月"));
    for (QToolButton* b : {picker.PrevYearBtn, picker.NextYearBtn})
        QCOMPARE(b->text(), QString::fromUtf8("年"));
    QCOMPARE(picker.TitleLabel->geometry(), picker.TitleLabel1->geometry());
    QVERIFY(picker.TitleLabel->isVisible());
    QVERIFY(!picker.TitleLabel1->isVisible());
    // Everything lies inside the window, the titles and the calendar inside the bevel.
    for (QWidget* w : picker.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        QVERIFY2(picker.rect().contains(w->geometry()), qPrintable(w->objectName()));
    for (QWidget* w : std::initializer_list<QWidget*>{picker.TitleLabel, picker.Calendar1,
                                                      picker.PrevMonthBtn, picker.NextYearBtn})
        QVERIFY2(picker.Bevel1->geometry().contains(w->geometry()), qPrintable(w->objectName()));
    // The longest title fits its label.
    QVERIFY(picker.TitleLabel->fontMetrics().horizontalAdvance(picker.TitleLabel->text()) <=
            picker.TitleLabel->width());
    gui::saveScreenshot(&picker, "date_picker");
    QCOMPARE(clickTitle(picker), picker.TitleLabel);
    gui::saveScreenshot(&picker, "date_picker_western");
}

void TestDatePicker::titles_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("roc");
    QTest::addColumn<QString>("western");
    QTest::newRow("2024-05-07") << QDate(2024, 5, 7) << QString::fromUtf8("中華民國113年05月07日")
                                << QString::fromUtf8("    西元2024年05月07日");
    QTest::newRow("ROC year 100") << QDate(2011, 1, 1) << QString::fromUtf8("中華民國100年01月01日")
                                  << QString::fromUtf8("    西元2011年01月01日");
    QTest::newRow("two-digit ROC year")
        << QDate(1990, 12, 31) << QString::fromUtf8("中華民國79年12月31日")
        << QString::fromUtf8("    西元1990年12月31日");
}

void TestDatePicker::titles() {
    QFETCH(QDate, date);
    QFETCH(QString, roc);
    QFETCH(QString, western);
    TBrDateForm picker;
    picker.setDate(date);
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    QCOMPARE(picker.Date(), date);
    QCOMPARE(picker.Calendar1->yearShown(), date.year());
    QCOMPARE(picker.Calendar1->monthShown(), date.month());
    QCOMPARE(picker.TitleLabel->text(), roc);

    QCOMPARE(clickTitle(picker), picker.TitleLabel);
    QVERIFY(!picker.TitleLabel->isVisible());
    QVERIFY(picker.TitleLabel1->isVisible());
    QCOMPARE(picker.TitleLabel1->text(), western);

    QCOMPARE(clickTitle(picker), picker.TitleLabel1);
    QVERIFY(picker.TitleLabel->isVisible());
    QVERIFY(!picker.TitleLabel1->isVisible());
    QCOMPARE(picker.TitleLabel->text(), roc);
}

void TestDatePicker::westernTitleEmptyUntilFirstChange() {
    const QDate today = QDate::currentDate();
    TBrDateForm picker;
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    QCOMPARE(picker.Date(), today);
    QCOMPARE(picker.TitleLabel->text(), QString::fromUtf8("中華民國%1年").arg(today.year() - 1911) +
                                            today.toString(QString::fromUtf8("MM月dd日")));
    QCOMPARE(picker.TitleLabel1->text(), QString());
    QCOMPARE(clickTitle(picker), picker.TitleLabel);
    QCOMPARE(picker.TitleLabel1->text(),
             QString::fromUtf8("    西元") + today.toString(QString::fromUtf8("yyyy年MM月dd日")));
}

void TestDatePicker::westernTitleFollowsASteppedDate() {
    TBrDateForm picker;
    picker.setDate(QDate(2024, 5, 7));
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    QCOMPARE(clickTitle(picker), picker.TitleLabel);
    QTest::mouseClick(picker.NextMonthBtn, Qt::LeftButton);
    QVERIFY(picker.TitleLabel1->isVisible());
    QVERIFY(!picker.TitleLabel->isVisible());
    QCOMPARE(picker.TitleLabel1->text(), QString::fromUtf8("    西元2024年06月07日"));
    QCOMPARE(clickTitle(picker), picker.TitleLabel1);
    QVERIFY(picker.TitleLabel->isVisible());
    QCOMPARE(picker.TitleLabel->text(), QString::fromUtf8("中華民國113年06月07日"));
}

void TestDatePicker::steps_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::newRow("next year") << "NextYearBtn" << QDate(2024, 5, 7) << QDate(2025, 5, 7);
    QTest::newRow("previous year") << "PrevYearBtn" << QDate(2024, 5, 7) << QDate(2023, 5, 7);
    QTest::newRow("previous month") << "PrevMonthBtn" << QDate(2024, 3, 15) << QDate(2024, 2, 15);
    QTest::newRow("next month") << "NextMonthBtn" << QDate(2024, 5, 7) << QDate(2024, 6, 7);
    QTest::newRow("next month into January")
        << "NextMonthBtn" << QDate(2024, 12, 15) << QDate(2025, 1, 15);
    QTest::newRow("previous month into December")
        << "PrevMonthBtn" << QDate(2024, 1, 10) << QDate(2023, 12, 10);
    QTest::newRow("31 March back, leap year")
        << "PrevMonthBtn" << QDate(2024, 3, 31) << QDate(2024, 2, 29);
    QTest::newRow("31 March back, common year")
        << "PrevMonthBtn" << QDate(2023, 3, 31) << QDate(2023, 2, 28);
    QTest::newRow("31 May on to June")
        << "NextMonthBtn" << QDate(2024, 5, 31) << QDate(2024, 6, 30);
    QTest::newRow("29 February on a year")
        << "NextYearBtn" << QDate(2024, 2, 29) << QDate(2025, 2, 28);
    QTest::newRow("29 February back a year")
        << "PrevYearBtn" << QDate(2024, 2, 29) << QDate(2023, 2, 28);
}

void TestDatePicker::steps() {
    QFETCH(QString, button);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    TBrDateForm picker;
    picker.setDate(from);
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    auto* step = picker.findChild<QToolButton*>(button);
    QVERIFY(step);
    QTest::mouseClick(step, Qt::LeftButton);
    QCOMPARE(picker.Date(), to);
    QCOMPARE(picker.Calendar1->yearShown(), to.year());
    QCOMPARE(picker.Calendar1->monthShown(), to.month());
}

void TestDatePicker::dayGridClicks_data() {
    QTest::addColumn<int>("row"); // row 0 holds the names of the days
    QTest::addColumn<int>("column");
    QTest::addColumn<QDate>("chosen");
    QTest::addColumn<QString>("roc");
    // May 2024 begins on a Wednesday.
    QTest::newRow("first column is Sunday")
        << 3 << 0 << QDate(2024, 5, 12) << QString::fromUtf8("中華民國113年05月12日");
    QTest::newRow("last column is Saturday")
        << 3 << 6 << QDate(2024, 5, 18) << QString::fromUtf8("中華民國113年05月18日");
    QTest::newRow("a day of the next month")
        << 6 << 6 << QDate(2024, 6, 8) << QString::fromUtf8("中華民國113年06月08日");
    QTest::newRow("a day of the previous month")
        << 1 << 0 << QDate(2024, 4, 28) << QString::fromUtf8("中華民國113年04月28日");
}

void TestDatePicker::dayGridClicks() {
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QDate, chosen);
    QFETCH(QString, roc);
    TBrDateForm picker;
    picker.setDate(QDate(2024, 5, 7));
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    QTableView* grid = dayGrid(picker);
    QVERIFY(grid);
    const QRect cell = grid->visualRect(grid->model()->index(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(picker.Date(), chosen);
    QCOMPARE(picker.Calendar1->monthShown(), chosen.month());
    QCOMPARE(picker.TitleLabel->text(), roc);
    QCOMPARE(clickTitle(picker), picker.TitleLabel);
    QCOMPARE(picker.TitleLabel1->text(),
             QString::fromUtf8("    西元") + chosen.toString(QString::fromUtf8("yyyy年MM月dd日")));
}

void TestDatePicker::dayField_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("step"); // step button pressed before leaving, if any
    QTest::addColumn<Leave>("how");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("after");
    QTest::newRow("OK keeps the day") << "2024/05/07"
                                      << "" << Leave::Ok << true << "2024/05/07";
    QTest::newRow("OK after a year step") << "2024/05/07"
                                          << "NextYearBtn" << Leave::Ok << true << "2025/05/07";
    QTest::newRow("Enter in the day grid")
        << "2024/03/31"
        << "PrevMonthBtn" << Leave::Enter << true << "2024/02/29";
    QTest::newRow("blanks around the date") << " 2024/05/07 "
                                            << "NextMonthBtn" << Leave::Ok << true << "2024/06/07";
    QTest::newRow("Cancel") << "2024/05/07"
                            << "NextYearBtn" << Leave::Cancel << false << "2024/05/07";
    QTest::newRow("Escape") << "2024/05/07"
                            << "NextYearBtn" << Leave::Escape << false << "2024/05/07";
    QTest::newRow("window closed") << "2024/05/07"
                                   << "NextYearBtn" << Leave::CloseBox << false << "2024/05/07";
}

void TestDatePicker::dayField() {
    QFETCH(QString, text);
    QFETCH(QString, step);
    QFETCH(Leave, how);
    QFETCH(bool, written);
    QFETCH(QString, after);
    QWidget screen;
    auto* field = new QLineEdit(text, &screen);
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));

    PickerWatch watch;
    QDate opened;
    bool gridHadFocus = false;
    gui::answerNextDialog([&](QWidget* dialog) {
        auto* picker = qobject_cast<TBrDateForm*>(dialog);
        if (!picker) return;
        opened = picker->Date();
        gridHadFocus = picker->focusWidget() == dayGrid(*picker);
        if (!step.isEmpty())
            QTest::mouseClick(picker->findChild<QToolButton*>(step), Qt::LeftButton);
        leave(picker, how);
    });
    QCOMPARE(pickDayField(field, &screen), written);
    QCOMPARE(watch.shown, 1);
    QCOMPARE(opened, QDate::fromString(text.trimmed(), "yyyy/MM/dd"));
    QVERIFY(gridHadFocus);
    QCOMPARE(field->text(), written ? after : text);
}

void TestDatePicker::dayFieldNotADate_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty mask") << "    /  /  ";
    QTest::newRow("no such day") << "2023/02/29";
    QTest::newRow("month 13") << "2024/13/01";
    QTest::newRow("not a date at all") << "abc";
    QTest::newRow("empty") << "";
}

void TestDatePicker::dayFieldNotADate() {
    QFETCH(QString, text);
    QLineEdit field(text);
    PickerWatch watch(true);
    QString said;
    gui::pressInNextMessageBox(QMessageBox::Ok, &said);
    QVERIFY(!pickDayField(&field));
    QCOMPARE(said, QString::fromUtf8("'%1' 不是正確的日期").arg(text));
    QCOMPARE(watch.shown, 0);
    QCOMPARE(field.text(), text);
}

void TestDatePicker::monthField_data() {
    QTest::addColumn<Leave>("how");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("after");
    QTest::newRow("OK") << Leave::Ok << true << "2024/05";
    QTest::newRow("Cancel") << Leave::Cancel << false << "2023/11";
    QTest::newRow("window closed") << Leave::CloseBox << false << "2023/11";
}

void TestDatePicker::monthField() {
    QFETCH(Leave, how);
    QFETCH(bool, written);
    QFETCH(QString, after);
    QLineEdit field(QStringLiteral("2023/11"));
    PickerWatch watch;
    QDate opened;
    gui::answerNextDialog([&](QWidget* dialog) {
        auto* picker = qobject_cast<TBrDateForm*>(dialog);
        if (!picker) return;
        opened = picker->Date();
        picker->setDate(QDate(2024, 5, 7));
        leave(picker, how);
    });
    QCOMPARE(pickMonthField(&field), written);
    QCOMPARE(watch.shown, 1);
    QCOMPARE(opened, QDate::currentDate());
    QCOMPARE(field.text(), after);
}

QTEST_MAIN(TestDatePicker)
#include "tst_date_picker.moc"
