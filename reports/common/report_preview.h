// The preview of a printed report: a maximised window showing one page at a time zoomed to
// the window's width, with paging, printing and keeping the report as a PDF file or an Excel
// workbook.
#pragma once

#include "reports/common/report_renderer.h"
#include "reports/common/sheet.h"

#include <QDialog>
#include <functional>

class QLabel;
class QScrollArea;
class QToolButton;

class ReportPreview : public QDialog {
    Q_OBJECT
public:
    ReportPreview(rpt::RenderedReport report, QString document, QWidget* parent = nullptr);

    int currentPage() const { return page_; }
    // The pages shown.
    const rpt::RenderedReport& report() const { return report_; }
    void showPage(int index);
    // What "存成 Excel" saves: the sheet `sheet` lays out, offered as `fileName`. Without it
    // the sheet is laid out from the printed bands and offered under the report's code.
    void offerWorkbook(std::function<rpt::Sheet()> sheet, const QString& fileName);
    // Writes the workbook to `path` under the progress window; shows a failure in the error
    // box. Returns true when the file was written.
    bool saveWorkbook(const QString& path);
    QToolButton* FirstPage;
    QToolButton* PriorPage;
    QToolButton* NextPage;
    QToolButton* LastPage;
    QToolButton* PrintButton;
    QToolButton* PdfButton;
    QToolButton* ExcelButton;
    QToolButton* CloseButton;
    QLabel* PageLabel;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void redraw();

    rpt::RenderedReport report_;
    QString document_;
    std::function<rpt::Sheet()> workbookSheet_;
    QString workbookName_;
    int page_ = 0;
    QScrollArea* scroll_;
    QLabel* sheet_;
};
