#include "reports/common/report_preview.h"

#include "reports/common/page_painter.h"
#include "reports/common/report_printer.h"
#include "reports/common/report_sheet.h"
#include "reports/common/xlsx_writer.h"
#include "screens/common/error_box.h"
#include "screens/common/process_form.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* toolButton(QWidget* parent, const QString& text, QStyle::StandardPixmap icon) {
    auto* b = new QToolButton(parent);
    b->setText(text);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    return b;
}

} // namespace

ReportPreview::ReportPreview(rpt::RenderedReport report, QString document, QWidget* parent)
    : QDialog(parent), report_(std::move(report)), document_(std::move(document)) {
    setWindowTitle(document_ + QStringLiteral(" - 預覽"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMaximizeButtonHint);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QHBoxLayout;
    FirstPage = toolButton(this, QStringLiteral("第一頁"), QStyle::SP_MediaSkipBackward);
    PriorPage = toolButton(this, QStringLiteral("上一頁"), QStyle::SP_MediaSeekBackward);
    NextPage = toolButton(this, QStringLiteral("下一頁"), QStyle::SP_MediaSeekForward);
    LastPage = toolButton(this, QStringLiteral("最後頁"), QStyle::SP_MediaSkipForward);
    PageLabel = new QLabel(this);
    PrintButton = toolButton(this, QStringLiteral("列印"), QStyle::SP_DialogApplyButton);
    PdfButton = toolButton(this, QStringLiteral("存成 PDF"), QStyle::SP_DialogSaveButton);
    ExcelButton = toolButton(this, QStringLiteral("存成 Excel"), QStyle::SP_DialogSaveButton);
    ExcelButton->setObjectName(QStringLiteral("ExcelButton"));
    ExcelButton->setEnabled(!report_.pages.isEmpty()); // nothing printed: no workbook
    workbookName_ = document_.left(5) + QStringLiteral(".xlsx");
    CloseButton = toolButton(this, QStringLiteral("關閉"), QStyle::SP_DialogCloseButton);
    for (QWidget* w : {static_cast<QWidget*>(FirstPage), static_cast<QWidget*>(PriorPage),
                       static_cast<QWidget*>(NextPage), static_cast<QWidget*>(LastPage),
                       static_cast<QWidget*>(PageLabel)})
        bar->addWidget(w);
    bar->addStretch(1);
    bar->addWidget(PrintButton);
    bar->addWidget(PdfButton);
    bar->addWidget(ExcelButton);
    bar->addWidget(CloseButton);
    layout->addLayout(bar);
    scroll_ = new QScrollArea(this);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setAlignment(Qt::AlignHCenter);
    sheet_ = new QLabel;
    scroll_->setWidget(sheet_);
    layout->addWidget(scroll_, 1);

    connect(FirstPage, &QToolButton::clicked, this, [this] { showPage(0); });
    connect(PriorPage, &QToolButton::clicked, this, [this] { showPage(page_ - 1); });
    connect(NextPage, &QToolButton::clicked, this, [this] { showPage(page_ + 1); });
    connect(LastPage, &QToolButton::clicked, this,
            [this] { showPage(int(report_.pages.size()) - 1); });
    connect(PrintButton, &QToolButton::clicked, this, [this] {
        printOrKeepAsPdf(report_, document_, document_.left(5) + QStringLiteral(".pdf"), this);
    });
    connect(PdfButton, &QToolButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(
            this, QStringLiteral("存成 PDF 檔"),
            QDir::current().filePath(document_.left(5) + QStringLiteral(".pdf")),
            QStringLiteral("PDF 檔 (*.pdf)"));
        if (!path.isEmpty()) guarded(this, [&] { rpt::writePdf(report_, path); });
    });
    connect(ExcelButton, &QToolButton::clicked, this, [this] {
        QString path = QFileDialog::getSaveFileName(this, QStringLiteral("存成 Excel 活頁簿"),
                                                    QDir::current().filePath(workbookName_),
                                                    QStringLiteral("Excel 活頁簿 (*.xlsx)"));
        if (path.isEmpty()) return;
        if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".xlsx");
        saveWorkbook(path);
    });
    connect(CloseButton, &QToolButton::clicked, this, &QDialog::accept);
    setWindowState(Qt::WindowMaximized);
    resize(1000, 760);
    showPage(0);
}

void ReportPreview::offerWorkbook(std::function<rpt::Sheet()> sheet, const QString& fileName) {
    workbookSheet_ = std::move(sheet);
    workbookName_ = fileName;
}

bool ReportPreview::saveWorkbook(const QString& path) {
    if (report_.pages.isEmpty()) return false;
    return guarded(this, [&] {
        withProgressWindow(this, [&](Progress& progress) {
            progress.setLabel(QStringLiteral("寫入活頁簿"));
            const rpt::Sheet sheet =
                workbookSheet_ ? workbookSheet_() : rpt::sheetFromPrint(report_, document_);
            rpt::writeXlsx(sheet, path, &progress);
        });
    });
}

void ReportPreview::showPage(int index) {
    const int last = int(report_.pages.size()) - 1;
    page_ = std::clamp(index, 0, std::max(0, last));
    FirstPage->setEnabled(page_ > 0);
    PriorPage->setEnabled(page_ > 0);
    NextPage->setEnabled(page_ < last);
    LastPage->setEnabled(page_ < last);
    PageLabel->setText(report_.pages.isEmpty()
                           ? QStringLiteral("沒有資料")
                           : QStringLiteral("第 %1 / %2 頁").arg(page_ + 1).arg(last + 1));
    redraw();
}

void ReportPreview::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    // The page is zoomed to the scroll area's width, which the window's layout sets only
    // after this event.
    QTimer::singleShot(0, this, [this] { redraw(); });
}

void ReportPreview::redraw() {
    // Zoomed to the page width: the paper fills the window's width.
    const int width = std::max(200, scroll_->viewport()->width() - 20);
    const double pixelsPerMm = width / report_.paper.width();
    const QImage image = rpt::pageImage(report_, page_, pixelsPerMm);
    sheet_->setPixmap(QPixmap::fromImage(image));
    sheet_->resize(image.size());
}
