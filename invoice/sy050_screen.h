// The invoice screen TFrmSY050: the trial of one or two months' invoices and the media file
// for the tax office, their result lines kept in Memo1 until the screen closes.
#pragma once

#include "screens/common/screen.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

class TFrmSY050 : public TScreen {
    Q_OBJECT
public:
    // Throws DbError when the data module does not exist.
    explicit TFrmSY050(QWidget* parent = nullptr);
    ~TFrmSY050() override;

    // Formats, this month into e01 and e02, connect.
    void FormCreate() override;

    QLineEdit* e01;            // start month yyyy/MM
    QLineEdit* e02;            // end month
    QToolButton* sb06;         // calendar of e01
    QToolButton* SpeedButton1; // calendar of e02
    QComboBox* e03;            // invoice form, hidden
    QLineEdit* e04;            // amount threshold, hidden
    QLineEdit* e05;            // adjustment per invoice, hidden
    QLabel* Label3;            // "發票型式 :", hidden
    QLabel* Label4;            // "金        額 :", hidden
    QLabel* Label5;            // "以上", hidden
    QLabel* Label6;            // "調整金額 :", hidden
    QPushButton* sb02;         // 試算
    QPushButton* sb03;         // 媒體
    QPushButton* sb05;         // 離開
    QPlainTextEdit* Memo1;     // result lines, never cleared while the screen is open

    void sb02Click();
    void sb03Click();

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void append(const QString& line);
    int linesShown_ = 0;
    bool closed_ = false;
};
