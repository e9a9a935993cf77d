#include "reports/common/report_form.h"

#include "app/data_module.h"
#include "db/date_formats.h"
#include "db/db_error.h"
#include "reports/common/date_basis.h"
#include "reports/common/page_painter.h"
#include "reports/common/report_preview.h"
#include "reports/common/report_printer.h"
#include "reports/common/report_workbook.h"
#include "reports/common/sylk_writer.h"
#include "screens/common/date_picker.h"
#include "screens/common/error_box.h"
#include "screens/common/lookup_picker.h"
#include "screens/common/process_form.h"

#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

DataModule& dataModule() {
    if (!DM) throw DbError(QStringLiteral("資料庫模組尚未建立"));
    return *DM;
}

QPushButton* actionButton(QWidget* parent, const char* name, const QString& text,
                          QStyle::StandardPixmap icon) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(parent->style()->standardIcon(icon));
    b->setAutoDefault(false);
    b->setMinimumHeight(34);
    return b;
}

} // namespace

QLineEdit* makeDateField(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setInputMask(QStringLiteral("9999/99/99; "));
    field->setReadOnly(true); // a date changes only through its calendar button
    field->setFixedWidth(110);
    return field;
}

TReportForm::TReportForm(const ReportDef& report, QWidget* parent)
    : TReportForm(report, ReportDateRows(), parent) {}

TReportForm::TReportForm(const ReportDef& report, const ReportDateRows& dates, QWidget* parent)
    : TScreen(parent), report_(report) {
    DataModule& dm = dataModule();
    setWindowTitle(report.title);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    qy = new Query(dm.cn, this);
    qy->setObjectName(QStringLiteral("qy"));
    auto* layout = new QVBoxLayout(this);
    rows_ = new QFormLayout;
    rows_->setLabelAlignment(Qt::AlignRight);
    layout->addLayout(rows_);
    e01 = addDateRow(QStringLiteral("e01"), dates.startLabel, &SpeedButton3, dates.startButton);
    e02 = nullptr;
    SpeedButton4 = nullptr;
    if (!dates.endLabel.isEmpty())
        e02 = addDateRow(QStringLiteral("e02"), dates.endLabel, &SpeedButton4, dates.endButton);
    auto* buttons = new QHBoxLayout;
    SpeedButtonPrn = actionButton(this, "SpeedButtonPrn", QStringLiteral("&P 預視列印"),
                                  QStyle::SP_FileDialogContentsView);
    SpeedButton2 = actionButton(this, "SpeedButton2", QStringLiteral("&S 開始列印"),
                                QStyle::SP_DialogApplyButton);
    SBT = report.exportRows ? actionButton(this, "SBT", QStringLiteral("&T 轉檔 EXCEL"),
                                           QStyle::SP_DialogSaveButton)
                            : nullptr;
    BitBtnExit =
        actionButton(this, "BitBtnExit", QStringLiteral("  離  開"), QStyle::SP_DialogCloseButton);
    buttons->addWidget(SpeedButtonPrn);
    buttons->addWidget(SpeedButton2);
    if (SBT) buttons->addWidget(SBT);
    buttons->addWidget(BitBtnExit);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    connect(SpeedButtonPrn, &QPushButton::clicked, this, &TReportForm::SpeedButtonPrnClick);
    connect(SpeedButton2, &QPushButton::clicked, this, &TReportForm::SpeedButton2Click);
    if (SBT) connect(SBT, &QPushButton::clicked, this, &TReportForm::SBTClick);
    connect(BitBtnExit, &QPushButton::clicked, this, &QWidget::close);
}

TReportForm::~TReportForm() = default;

QLineEdit* TReportForm::addDateRow(const QString& name, const QString& label, QToolButton** button,
                                   const QString& buttonName) {
    QLineEdit* field = makeDateField(this);
    field->setObjectName(name);
    *button = makeCalendarButton(this);
    (*button)->setObjectName(buttonName);
    connect(*button, &QToolButton::clicked, this, [this, field] { pickDayField(field, this); });
    addRow(label, field, *button);
    return field;
}

void TReportForm::addRow(const QString& label, QWidget* field, QWidget* button) {
    auto* row = new QHBoxLayout;
    row->addWidget(field);
    if (button) row->addWidget(button);
    row->addStretch(1);
    rows_->addRow(label, row);
}

void TReportForm::addBeside(QWidget* field, QWidget* extra) {
    for (int row = 0; row < rows_->rowCount(); ++row) {
        QLayoutItem* item = rows_->itemAt(row, QFormLayout::FieldRole);
        auto* line = item ? qobject_cast<QHBoxLayout*>(item->layout()) : nullptr;
        if (!line || line->indexOf(field) < 0) continue;
        line->insertWidget(line->count() - 1, extra); // before the row's closing stretch
        return;
    }
}

QLineEdit* TReportForm::addCodeRow(const QString& name, const QString& label,
                                   const QString& buttonName, const LookupList& list) {
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->setFixedWidth(160);
    auto* button = new QToolButton(this);
    button->setObjectName(buttonName);
    button->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    button->setToolTip(QString::fromUtf8(list.caption));
    connect(button, &QToolButton::clicked, this, [this, field, &list] {
        guarded(this, [&] {
            if (pickFromList(list, field->text(), this))
                field->setText(PickedValue(QStringLiteral("CODE")).toText().trimmed());
        });
    });
    addRow(label, field, button);
    return field;
}

QComboBox* TReportForm::addListRow(const QString& name, const QString& label,
                                   const QStringList& items, int current) {
    auto* box = new QComboBox(this);
    box->setObjectName(name);
    box->addItems(items);
    box->setCurrentIndex(current);
    box->setMinimumWidth(120);
    addRow(label, box);
    return box;
}

void TReportForm::FormCreate() {
    formats::applyProcessFormats();
    DataModule& dm = dataModule();
    dm.cn.connect();
    const QDate today = QDate::currentDate();
    const ReportOptions defaults = defaultOptions(report_, today);
    e01->setText(e02 ? defaults.from : defaults.date);
    if (e02) e02->setText(defaults.to);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

ReportOptions TReportForm::options() const {
    ReportOptions o;
    if (!e02) {
        o.date = e01->text();
        return o;
    }
    o.from = e01->text();
    o.to = e02->text();
    return o;
}

void TReportForm::SpeedButtonPrnClick() {
    guarded(this, [this] {
        withProgressWindow(this, [this](Progress& progress) {
            const ReportOptions chosen = options();
            PrintJob job = report_.print(*DM, *qy, chosen, progress);
            // The progress window stays behind the preview until the preview closes.
            ReportPreview preview(renderJob(job), report_.title, this);
            preview.offerWorkbook([&] { return reportSheet(job, preview.report(), report_.title); },
                                  workbookName(report_, chosen));
            preview.exec();
        });
    });
}

void TReportForm::SpeedButton2Click() {
    guarded(this, [this] {
        const rpt::RenderedReport pages = withProgressWindow(this, [this](Progress& progress) {
            PrintJob job = report_.print(*DM, *qy, options(), progress);
            return renderJob(job);
        });
        if (!pages.pages.isEmpty())
            printOrKeepAsPdf(pages, report_.title, report_.code + QStringLiteral(".pdf"), this);
    });
}

void TReportForm::SBTClick() {
    guarded(this, [this] {
        withProgressWindow(this, [this](Progress& progress) {
            const QList<ExportColumn> columns = report_.exportRows(*DM, *qy, options(), progress);
            if (qy->isEmpty()) return; // no rows: no file, an older one stays as it was
            TsxYSLK writer;
            writer.Visible = false;
            writer.FileName = QDir::current().filePath(report_.exportFile);
            writer.begin();
            writer.writeGrid(*qy, columns);
            writer.end();
        });
    });
}

void TReportForm::done(int result) {
    if (!closed_) {
        closed_ = true;
        qy->close();
        if (DM) {
            DM->qy.close();
            DM->qy1.close();
            DM->cn.disconnect();
        }
    }
    TScreen::done(result);
}

void TReportForm::keyPressEvent(QKeyEvent* event) {
    // The screen closes only through its exit button, not by Escape.
    if (event->key() == Qt::Key_Escape) return;
    TScreen::keyPressEvent(event);
}
