// The preview of a printed report: a maximised window showing one page at a time zoomed to
// the window's width, with paging, printing and keeping the report as a PDF file.
#pragma once

#include "reports/common/report_renderer.h"

#include <QDialog>

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
    QToolButton* FirstPage;
    QToolButton* PriorPage;
    QToolButton* NextPage;
    QToolButton* LastPage;
    QToolButton* PrintButton;
    QToolButton* PdfButton;
    QToolButton* CloseButton;
    QLabel* PageLabel;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void redraw();

    rpt::RenderedReport report_;
    QString document_;
    int page_ = 0;
    QScrollArea* scroll_;
    QLabel* sheet_;
};
