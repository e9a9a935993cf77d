// The date picker TBrDateForm behind every calendar button: a month calendar with month and
// year steps and a title that spells the date out in the ROC era or, clicked, the western one.
#pragma once

#include <QDate>
#include <QDialog>

class QCalendarWidget;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

class TBrDateForm : public QDialog {
    Q_OBJECT
public:
    // Starts on today's date with the ROC title shown; the western title stays empty until
    // the first change of the date or the first click on the ROC title.
    explicit TBrDateForm(QWidget* parent = nullptr);

    // The selected day.
    QDate Date() const;
    // Selects `date` and shows its month; an invalid date leaves the selection as it is.
    // Both titles are recomputed either way.
    void setDate(const QDate& date);

    QCalendarWidget* Calendar1;
    QToolButton* PrevMonthBtn;
    QToolButton* NextMonthBtn;
    QToolButton* PrevYearBtn;
    QToolButton* NextYearBtn;
    QLabel* TitleLabel;  // ROC title, on top of TitleLabel1
    QLabel* TitleLabel1; // western title, shown only while TitleLabel is hidden
    QPushButton* OkBtn;
    QPushButton* CancelBtn;
    QFrame* Bevel1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Calendar1Change();
    void TitleLabelClick();
    void TitleLabel1Click();
    void step(int months, int years);
};

// The day-field caller: opens the picker on the date in `field` ("yyyy/MM/dd") and on OK
// writes the chosen date back in that form. Text that is not such a date is reported in an
// error box over `parent` (the field's window when null) and the picker is not shown.
// Returns true only when the field was written; Cancel or closing the window leaves it as
// it was.
bool pickDayField(QLineEdit* field, QWidget* parent = nullptr);

// The month-field caller: opens the picker on today and on OK writes the chosen year and
// month ("yyyy/MM") into `field`. Returns true only when the field was written.
bool pickMonthField(QLineEdit* field, QWidget* parent = nullptr);

// The small calendar button placed beside a date or month field (hint "Calendar"); the
// caller connects its clicked() to one of the two functions above. Owned by `parent`.
QToolButton* makeCalendarButton(QWidget* parent);
