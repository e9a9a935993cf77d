// The base of the report parameter screens: the date fields with their calendar buttons,
// the report's own parameters, and the buttons that preview, print and export the report
// built from them under the progress window.
#pragma once

#include "reports/report_catalogue.h"
#include "screens/common/screen.h"

class QComboBox;
class QFormLayout;
class QLineEdit;
class QPushButton;
class QToolButton;
class Query;

// The date fields of a report screen: their captions and the names of their calendar
// buttons. Without an end caption the screen has one date, e01, which starts on today.
struct ReportDateRows {
    QString startLabel = QStringLiteral("選擇起始日期 :");
    QString startButton = QStringLiteral("SpeedButton3");
    QString endLabel = QStringLiteral("選擇終止日期 :");
    QString endButton = QStringLiteral("SpeedButton4");
};

class TReportForm : public TScreen {
    Q_OBJECT
public:
    ~TReportForm() override;

    // Formats, connect, the default dates (the first of this month to yesterday). Throws
    // DbError when the database cannot be reached.
    void FormCreate() override;

    QLineEdit* e01;            // start date (a one-date screen's date)
    QLineEdit* e02;            // end date; null on a one-date screen
    QToolButton* SpeedButton3; // calendar of e01
    QToolButton* SpeedButton4; // calendar of e02; null on a one-date screen
    QPushButton* SpeedButtonPrn;
    QPushButton* SpeedButton2;
    QPushButton* SBT; // null when the report does not export
    QPushButton* BitBtnExit;
    Query* qy;

    void SpeedButtonPrnClick();
    void SpeedButton2Click();
    void SBTClick();

protected:
    // `report` names the caption, the builds and the export file.
    explicit TReportForm(const ReportDef& report, QWidget* parent = nullptr);
    TReportForm(const ReportDef& report, const ReportDateRows& dates, QWidget* parent = nullptr);

    // The parameters as the screen shows them; the base fills the dates (a one-date
    // screen's in `date`).
    virtual ReportOptions options() const;
    // Adds a labelled row of parameter widgets below the dates.
    void addRow(const QString& label, QWidget* field, QWidget* button = nullptr);
    // Adds `extra` at the end of the row that holds `field` (a shift beside its date).
    void addBeside(QWidget* field, QWidget* extra);
    // A code field with its lookup button: the picked row's code is written into it.
    QLineEdit* addCodeRow(const QString& name, const QString& label, const QString& buttonName,
                          const struct LookupList& list);
    // A labelled drop-down list of `items`, starting on item `current`.
    QComboBox* addListRow(const QString& name, const QString& label, const QStringList& items,
                          int current = 0);

    void done(int result) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLineEdit* addDateRow(const QString& name, const QString& label, QToolButton** button,
                          const QString& buttonName);

    const ReportDef& report_;
    QFormLayout* rows_;
    bool closed_ = false;
};

// A read-only date field of the report screens: "yyyy/mm/dd", blanks when empty.
QLineEdit* makeDateField(QWidget* parent);
