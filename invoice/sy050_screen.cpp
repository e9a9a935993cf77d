#include "invoice/sy050_screen.h"

#include "app/data_module.h"
#include "db/date_formats.h"
#include "db/db_error.h"
#include "invoice/invoice_media.h"
#include "invoice/invoice_trial.h"
#include "screens/common/date_picker.h"
#include "screens/common/enter_as_tab.h"
#include "screens/common/error_box.h"
#include "screens/common/modal_opener.h"
#include "screens/common/process_form.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextCursor>
#include <QToolButton>

namespace {

DataModule& dataModule() {
    if (!DM) throw DbError(QStringLiteral("資料庫模組尚未建立"));
    return *DM;
}

QLabel* fieldLabel(QWidget* parent, const QString& text, int y) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(20, y, 96, 26);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLineEdit* edit(QWidget* parent, const char* name, int y) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setGeometry(122, y, 96, 26);
    return field;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption,
                    QStyle::StandardPixmap icon, int y) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(parent->style()->standardIcon(icon));
    b->setAutoDefault(false);
    b->setGeometry(400, y, 130, 40);
    return b;
}

} // namespace

TFrmSY050::TFrmSY050(QWidget* parent) : TScreen(parent) {
    dataModule();
    setObjectName(QStringLiteral("FrmSY050"));
    setWindowTitle(QStringLiteral("SY050 發票試算媒體轉檔"));
    // No system buttons: the screen closes through 離開 only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(560, 470);

    fieldLabel(this, QStringLiteral("起始年月 :"), 20);
    e01 = edit(this, "e01", 20);
    sb06 = makeCalendarButton(this);
    sb06->setObjectName(QStringLiteral("sb06"));
    sb06->move(222, 22);
    fieldLabel(this, QStringLiteral("終止年月 :"), 56);
    e02 = edit(this, "e02", 56);
    SpeedButton1 = makeCalendarButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->move(222, 58);

    // Laid out but hidden: in use they stay as they start.
    Label3 = fieldLabel(this, QStringLiteral("發票型式 :"), 92);
    e03 = new QComboBox(this);
    e03->setObjectName(QStringLiteral("e03"));
    e03->addItems({QStringLiteral("2"), QStringLiteral("3"), QString()});
    e03->setCurrentIndex(2);
    e03->setGeometry(122, 92, 96, 26);
    Label4 = fieldLabel(this, QStringLiteral("金        額 :"), 128);
    e04 = edit(this, "e04", 128);
    Label5 = new QLabel(QStringLiteral("以上"), this);
    Label5->setGeometry(224, 128, 40, 26);
    Label6 = fieldLabel(this, QStringLiteral("調整金額 :"), 164);
    e05 = edit(this, "e05", 164);
    e05->setText(QStringLiteral("0"));
    for (QWidget* hidden :
         std::initializer_list<QWidget*>{Label3, e03, Label4, e04, Label5, Label6, e05})
        hidden->hide();

    sb02 = button(this, "sb02", QStringLiteral("試算"), QStyle::SP_FileDialogContentsView, 20);
    sb03 = button(this, "sb03", QStringLiteral("媒體"), QStyle::SP_DialogSaveButton, 70);
    sb05 = button(this, "sb05", QStringLiteral("離開"), QStyle::SP_DialogCloseButton, 120);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(20, 200, 520, 250);
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont bold = Memo1->font();
    bold.setBold(true);
    Memo1->setFont(bold);
    QPalette red = Memo1->palette();
    red.setColor(QPalette::Text, Qt::red);
    Memo1->setPalette(red);

    connect(sb06, &QToolButton::clicked, this, [this] { pickMonthField(e01, this); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { pickMonthField(e02, this); });
    connect(sb02, &QPushButton::clicked, this, &TFrmSY050::sb02Click);
    connect(sb03, &QPushButton::clicked, this, &TFrmSY050::sb03Click);
    connect(sb05, &QPushButton::clicked, this, &QWidget::close);
    qApp->installEventFilter(this);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

TFrmSY050::~TFrmSY050() {
    qApp->removeEventFilter(this);
}

void TFrmSY050::FormCreate() {
    formats::applyProcessFormats();
    const QString month = QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")).left(7);
    e01->setText(month);
    e02->setText(month);
    dataModule().cn.connect();
}

void TFrmSY050::append(const QString& line) {
    // Line by line as written, an empty first line included (appendPlainText would merge it
    // into the empty document's first line).
    QTextCursor cursor(Memo1->document());
    cursor.movePosition(QTextCursor::End);
    if (linesShown_++ > 0) cursor.insertBlock();
    cursor.insertText(line);
    Memo1->setTextCursor(cursor);
    Memo1->ensureCursorVisible();
}

void TFrmSY050::sb02Click() {
    guarded(this, [this] {
        const InvoiceTrialParams params{e01->text(), e02->text(), e03->currentText(), e04->text(),
                                        e05->text()};
        withProgressWindow(this, [&](Progress& progress) {
            runInvoiceTrial(dataModule(), params, progress,
                            [this](const QString& line) { append(line); });
        });
    });
}

void TFrmSY050::sb03Click() {
    if (!confirm(QStringLiteral("請先試算正確後,在執行媒體轉檔作業..."), this)) return;
    guarded(this, [this] {
        const InvoiceMediaParams params{e01->text(), e02->text(), {}};
        const InvoiceMediaResult written = withProgressWindow(this, [&](Progress& progress) {
            return runInvoiceMedia(dataModule(), params, progress,
                                   [this](const QString& line) { append(line); });
        });
        // Where the file went, for the office to hand it on.
        append(QStringLiteral("  媒體檔 : ") + QDir::toNativeSeparators(written.file));
    });
}

void TFrmSY050::done(int result) {
    if (!closed_) {
        closed_ = true;
        if (DM) DM->cn.disconnect();
    }
    TScreen::done(result);
}

bool TFrmSY050::eventFilter(QObject* watched, QEvent* event) {
    if (movesOnAsTab(this, watched, event)) {
        focusNextChild();
        return true;
    }
    return TScreen::eventFilter(watched, event);
}

void TFrmSY050::keyPressEvent(QKeyEvent* event) {
    // The screen closes only through 離開, not by Escape.
    if (event->key() == Qt::Key_Escape) return;
    TScreen::keyPressEvent(event);
}
