#include "console/sy990_screen.h"

#include "app/data_module.h"
#include "db/date_formats.h"
#include "db/db_error.h"
#include "screens/common/db_grid.h"
#include "screens/common/db_navigator.h"
#include "screens/common/error_box.h"
#include "screens/common/modal_opener.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTextBlock>
#include <QToolButton>

namespace {

using Nav = TBiDiDBNavigator;

Connection& dataModuleConnection() {
    if (!DM) throw DbError(QStringLiteral("資料庫模組尚未建立"));
    return DM->cn;
}

QToolButton* commandButton(QWidget* parent, const char* name, const QString& text,
                           QStyle::StandardPixmap icon, const QRect& geometry) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setGeometry(geometry);
    return button;
}

} // namespace

TFrmSY990::TFrmSY990(QWidget* parent) : TScreen(parent) {
    Connection& cn = dataModuleConnection();
    setObjectName(QStringLiteral("FrmSY990"));
    setWindowTitle(console::caption());
    setFixedSize(800, 639);

    qy = new Query(cn, this);
    qy->setObjectName(QStringLiteral("qy"));
    qy1 = new Query(cn, this);
    qy1->setObjectName(QStringLiteral("qy1"));
    // Rows change only after the navigator's Edit or Insert, never by typing alone.
    ds = new DataSource(qy, this);
    ds->setObjectName(QStringLiteral("ds"));
    ds->setAutoEdit(false);
    ds1 = new DataSource(qy1, this);
    ds1->setObjectName(QStringLiteral("ds1"));
    ds1->setAutoEdit(false);

    RadioGroup1 = new QGroupBox(QStringLiteral("指令"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setGeometry(8, 4, 480, 50);
    RadioGroup1Items = new QButtonGroup(this);
    auto* items = new QHBoxLayout(RadioGroup1);
    items->setContentsMargins(10, 2, 10, 4);
    const char* const names[] = {"Select", "Update", "Insert", "Delete", "Other"};
    for (int i = 0; i < 5; ++i) {
        auto* item = new QRadioButton(QString::fromLatin1(names[i]), RadioGroup1);
        item->setObjectName(QStringLiteral("RadioGroup1_") + QString::fromLatin1(names[i]));
        RadioGroup1Items->addButton(item, i);
        items->addWidget(item, 1);
    }
    RadioGroup1Items->button(int(console::Command::Select))->setChecked(true);

    SpeedButton2 = commandButton(this, "SpeedButton2", QStringLiteral("執行"), QStyle::SP_MediaPlay,
                                 QRect(576, 12, 100, 38));
    SpeedButton1 = commandButton(this, "SpeedButton1", QStringLiteral("離開"),
                                 QStyle::SP_DialogCloseButton, QRect(688, 12, 100, 38));

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(8, 60, 784, 170);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setPlainText(console::firstLine());

    DBGrid2 = new DBGrid(this);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setGeometry(8, 238, 150, 395);
    DBGrid2->setColumns({{QStringLiteral("tablename"), QStringLiteral("資料表"), 120}});
    DBGrid2->setDataSource(ds1);

    BiDiDBNavigator1 = new TBiDiDBNavigator(this);
    BiDiDBNavigator1->setObjectName(QStringLiteral("BiDiDBNavigator1"));
    BiDiDBNavigator1->setGeometry(166, 238, 306, 30);
    BiDiDBNavigator1->setVisibleButtons({Nav::nbFirst, Nav::nbPrior, Nav::nbNext, Nav::nbLast,
                                         Nav::nbInsert, Nav::nbDelete, Nav::nbEdit, Nav::nbPost,
                                         Nav::nbCancel});
    BiDiDBNavigator1->setDataSource(ds);

    sbStop = commandButton(this, "sbStop", QStringLiteral("停止"), QStyle::SP_BrowserStop,
                           QRect(484, 238, 90, 30));
    sbStop->hide();

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(166, 274, 626, 331);
    DBGrid1->setEditable(true);
    DBGrid1->setDataSource(ds);

    LabelNote = new QLabel(this);
    LabelNote->setObjectName(QStringLiteral("LabelNote"));
    LabelNote->setGeometry(166, 609, 626, 24);
    LabelNote->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    connect(RadioGroup1Items, &QButtonGroup::idToggled, this, [this](int item, bool checked) {
        if (checked) RadioGroup1Click(item);
    });
    connect(DBGrid2, &QAbstractItemView::doubleClicked, this, &TFrmSY990::DBGrid2DblClick);
    connect(SpeedButton2, &QToolButton::clicked, this, &TFrmSY990::SpeedButton2Click);
    connect(SpeedButton1, &QToolButton::clicked, this, &QWidget::close);
    connect(sbStop, &QToolButton::clicked, this, [this] {
        stopAsked_ = true;
        sbStop->setEnabled(false);
        LabelNote->setText(QStringLiteral("停止中..."));
    });
    connect(DBGrid1, &DBGrid::titleClicked, this, &TFrmSY990::DBGrid1TitleClick);
    connect(qy, &Query::stateChanged, this, &TFrmSY990::showButtons);
    // Sorting shows the rows anew: the result's widths stay as the run set them.
    connect(DBGrid1->model(), &QAbstractItemModel::modelReset, this, [this] {
        if (DBGrid1->model()->columnCount() != widths_.size()) return;
        for (int c = 0; c < widths_.size(); ++c)
            DBGrid1->setColumnWidth(c, widths_[c]);
    });

    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

TFrmSY990::~TFrmSY990() {
    // The queries and grids outlive this part of the screen while it is taken down.
    qy->whileRunning = nullptr;
    disconnect(qy, nullptr, this, nullptr);
    disconnect(DBGrid1->model(), nullptr, this, nullptr);
}

void TFrmSY990::FormCreate() {
    formats::applyProcessFormats();
    qy1->connection()->connect();
    qy1->close();
    qy1->setSql(console::tableListSql());
    qy1->open();
    try {
        qy1->setSortedFields(QStringLiteral("tablename")); // easier to find by name
    } catch (const DbError&) {
    }
    qy1->first();
    Memo1->setFocus();
}

console::Command TFrmSY990::command() const {
    const int item = RadioGroup1Items->checkedId();
    return item < 0 ? console::Command::Other : console::Command(item);
}

void TFrmSY990::RadioGroup1Click(int item) {
    const QString line = console::templateLine(console::Command(item));
    if (!line.isEmpty()) appendLine(line);
}

void TFrmSY990::DBGrid2DblClick() {
    if (!qy1->active() || qy1->isEmpty()) return;
    appendLine(console::tableLine(qy1->field(QStringLiteral("tablename")).asText()));
}

void TFrmSY990::appendLine(const QString& line) {
    const QTextCursor caret = Memo1->textCursor();
    const int anchor = caret.anchor(), position = caret.position();
    QTextCursor end(Memo1->document());
    end.movePosition(QTextCursor::End);
    if (!end.block().text().isEmpty()) end.insertBlock();
    end.insertText(line);
    QTextCursor back(Memo1->document());
    back.setPosition(anchor);
    back.setPosition(position, QTextCursor::KeepAnchor);
    Memo1->setTextCursor(back);
}

QString TFrmSY990::caretLine() const {
    QTextBlock block = Memo1->textCursor().block();
    if (block.text().isEmpty() && !block.next().isValid() && block.previous().isValid())
        block = block.previous();
    return block.text();
}

void TFrmSY990::SpeedButton2Click() {
    if (running_ || editing()) return;
    const QString line = caretLine();
    setRunning(true);
    const console::Outcome outcome = console::run(*qy, command(), line, [this](qint64 rows) {
        if (!stopAsked_) LabelNote->setText(QStringLiteral("執行中... 已讀取 %1 筆").arg(rows));
        QApplication::processEvents();
        return !stopAsked_;
    });
    setRunning(false);
    LabelNote->setText(outcome.note);
    if (outcome.kind == console::Outcome::Kind::Rows) limitColumnWidths();
    if (!outcome.message.isEmpty())
        QMessageBox::information(this, QStringLiteral("TolvMenu"), outcome.message);
}

void TFrmSY990::setRunning(bool on) {
    running_ = on;
    stopAsked_ = false;
    if (on) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        LabelNote->setText(QStringLiteral("執行中..."));
    } else {
        QApplication::restoreOverrideCursor();
    }
    // While the server works only the stop button answers: the memo, the lists and the rows
    // wait for the statement.
    for (QWidget* w : QList<QWidget*>{RadioGroup1, Memo1, DBGrid2, BiDiDBNavigator1, DBGrid1})
        w->setEnabled(!on);
    sbStop->setEnabled(on);
    sbStop->setVisible(on);
    if (!on) Memo1->setFocus(); // back on the caret, for the next line
    showButtons();
}

bool TFrmSY990::editing() const {
    return qy->state() == QueryState::Edit || qy->state() == QueryState::Insert;
}

void TFrmSY990::showButtons() {
    // A row being edited is saved or dropped first: running another statement or leaving
    // would drop it unseen.
    const bool free = !running_ && !editing();
    SpeedButton2->setEnabled(free);
    SpeedButton1->setEnabled(free);
}

void TFrmSY990::limitColumnWidths() {
    widths_.clear();
    const int most = DBGrid1->width() / 6;
    for (int c = 0; c < DBGrid1->model()->columnCount(); ++c) {
        DBGrid1->resizeColumnToContents(c);
        widths_.append(std::min(DBGrid1->columnWidth(c), most));
        DBGrid1->setColumnWidth(c, widths_.last());
    }
}

void TFrmSY990::DBGrid1TitleClick(const QString& field) {
    if (qy->state() != QueryState::Browse) return; // a row being edited is not saved by a sort
    try {
        qy->setSortedFields(field);
    } catch (const DbError&) {
        // a column that cannot be sorted leaves the rows as they are
    }
}

void TFrmSY990::FormClose() {
    // The console leaves the connection open. A transaction that its statements began and
    // did not end is ended now, so that the next screen's writes are not taken into it.
    Connection* cn = qy->connection();
    if (cn && cn->serverTransactionOpen() && !cn->inTransaction()) {
        const bool commit = confirm(QStringLiteral("尚有未結束的交易：按「確定」提交 (COMMIT)，"
                                                   "按「取消」復原 (ROLLBACK)。"),
                                    this);
        guarded(this,
                [&] { cn->exec(commit ? QStringLiteral("COMMIT") : QStringLiteral("ROLLBACK")); });
    }
    qy->close();
    qy1->close();
}

void TFrmSY990::done(int result) {
    if (running_) return;
    if (editing()) {
        LabelNote->setText(QStringLiteral("檔案目前非  瀏覽  資料狀態"));
        return;
    }
    if (!closed_) {
        closed_ = true;
        FormClose();
    }
    TScreen::done(result);
}

void TFrmSY990::keyPressEvent(QKeyEvent* event) {
    // The console closes through its exit button, not by Escape: the memo would be lost.
    if (event->key() == Qt::Key_Escape) return;
    TScreen::keyPressEvent(event);
}
