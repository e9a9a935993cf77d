#include "charge/sy040_screen.h"

#include "app/data_module.h"
#include "db/date_formats.h"
#include "db/db_error.h"
#include "screens/common/date_picker.h"
#include "screens/common/db_grid.h"
#include "screens/common/db_navigator.h"
#include "screens/common/enter_as_tab.h"
#include "screens/common/error_box.h"
#include "screens/common/lookup_picker.h"
#include "screens/common/modal_opener.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

namespace {

using Nav = TBiDiDBNavigator;

const QString ModifyMode = QStringLiteral("sb02");
const QString AddMode = QStringLiteral("sb03");

Connection& dataModuleConnection() {
    if (!DM) throw DbError(QStringLiteral("資料庫模組尚未建立"));
    return DM->cn;
}

// A button of the header bar: its picture above its caption, never taking the focus.
QToolButton* barButton(QWidget* parent, const char* name, const QString& caption,
                       QStyle::StandardPixmap picture, int left) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setIcon(parent->style()->standardIcon(picture));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setGeometry(left, 2, 60, 48);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// Read-only fields are shaded, so the office sees at once what it may type.
void setTypeable(QLineEdit* field, bool typeable) {
    field->setReadOnly(!typeable);
    QPalette shade;
    if (!typeable) shade.setColor(QPalette::Base, QColor(0xe8, 0xe8, 0xe8));
    field->setPalette(shade);
}

QString text(Query& q, const char* field) {
    return q.field(QString::fromLatin1(field)).asText().trimmed();
}

} // namespace

TFrmSY040::TFrmSY040(QWidget* parent) : TScreen(parent) {
    Connection& cn = dataModuleConnection();
    setObjectName(QStringLiteral("FrmSY040"));
    setWindowTitle(QStringLiteral("SY040 簽帳交易資料維護"));
    // No close box: the screen closes through 離開 only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(800, 560);
    tb1 = new Query(cn, this);
    tb1->setObjectName(QStringLiteral("tb1"));
    tb2 = new Query(cn, this);
    tb2->setObjectName(QStringLiteral("tb2"));
    ds1 = new DataSource(tb1, this);
    ds1->setObjectName(QStringLiteral("ds1"));
    ds2 = new DataSource(tb2, this);
    ds2->setObjectName(QStringLiteral("ds2"));

    auto* top = new QFrame(this);
    top->setObjectName(QStringLiteral("Panel1"));
    top->setFrameStyle(QFrame::Panel | QFrame::Raised);
    top->setGeometry(0, 0, 800, 52);
    LabelDate = new QLabel(QStringLiteral("日期 :"), top);
    LabelDate->setGeometry(6, 15, 42, 22);
    LabelDate->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ED1 = new QLineEdit(top);
    ED1->setObjectName(QStringLiteral("ED1"));
    ED1->setGeometry(50, 14, 96, 24);
    ED1->setReadOnly(true);
    ED1->setFocusPolicy(Qt::NoFocus);
    sb06 = makeCalendarButton(top);
    sb06->setObjectName(QStringLiteral("sb06"));
    sb06->move(148, 15);
    sb01 = barButton(top, "sb01", QStringLiteral("查詢"), QStyle::SP_FileDialogContentsView, 180);
    sb02 = barButton(top, "sb02", QStringLiteral("修改"), QStyle::SP_FileDialogDetailedView, 242);
    sb03 = barButton(top, "sb03", QStringLiteral("新增"), QStyle::SP_FileIcon, 304);
    sb04 = barButton(top, "sb04", QStringLiteral("刪除"), QStyle::SP_TrashIcon, 366);
    sb05 = barButton(top, "sb05", QStringLiteral("離開"), QStyle::SP_DialogCloseButton, 428);
    nav1 = new TBiDiDBNavigator(top);
    nav1->setObjectName(QStringLiteral("nav1"));
    nav1->setGeometry(520, 8, 240, 36);
    nav1->setVisibleButtons({Nav::nbFirst, Nav::nbPrior, Nav::nbNext, Nav::nbLast});
    sb11 = barButton(top, "sb11", QStringLiteral("寫入"), QStyle::SP_DialogSaveButton, 520);
    sb12 = barButton(top, "sb12", QStringLiteral("取消"), QStyle::SP_DialogCancelButton, 582);

    Panel6 = new QFrame(this);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    Panel6->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel6->setGeometry(0, 52, 260, 508);
    const char* const labels[] = {
        "島號 :", "槍號:", "日期:", "時間:", "班別:", "車號:", "產品:", "單價:", "數量:", "金額:"};
    QLineEdit** fields[] = {&e01, &e02, &e03, &e04, &e05, &e06, &e07, &e08, &e09, &e10};
    for (int i = 0; i < 10; ++i) {
        const int y = 18 + i * 40;
        auto* label = new QLabel(QString::fromUtf8(labels[i]), Panel6);
        label->setGeometry(6, y, 50, 24);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* field = new QLineEdit(Panel6);
        field->setObjectName(QStringLiteral("e%1").arg(i + 1, 2, 10, QLatin1Char('0')));
        field->setGeometry(60, y, i == 6 ? 150 : 130, 24);
        *fields[i] = field;
    }
    e11 = new QLineEdit(Panel6);
    e11->setObjectName(QStringLiteral("e11"));
    e11->hide();
    e12 = new QLineEdit(Panel6);
    e12->setObjectName(QStringLiteral("e12"));
    e12->hide();
    for (QLineEdit* field : {e03, e06, e07})
        setTypeable(field, false);
    // Browsing, the inert panel still shows the current sale in plain text.
    QPalette plain = Panel6->palette();
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText})
        plain.setColor(QPalette::Disabled, role, plain.color(QPalette::Active, role));
    Panel6->setPalette(plain);
    sb21 = makeCalendarButton(Panel6);
    sb21->setObjectName(QStringLiteral("sb21"));
    sb21->move(194, 18 + 2 * 40 + 1);
    auto pickerButton = [this](const char* name, int y) {
        auto* button = new QToolButton(Panel6);
        button->setObjectName(QString::fromLatin1(name));
        button->setText(QStringLiteral("..."));
        button->setFocusPolicy(Qt::NoFocus);
        button->setGeometry(y == 6 ? 214 : 194, 18 + y * 40 + 1, 22, 22);
        return button;
    };
    sb22 = pickerButton("sb22", 5);
    sb23 = pickerButton("sb23", 6);

    DBGrid2 = new DBGrid(this);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setGeometry(260, 52, 540, 300);
    DBGrid2->setColumns({{QStringLiteral("island"), QStringLiteral("島號"), 44},
                         {QStringLiteral("gun_no"), QStringLiteral("槍號"), 44},
                         {QStringLiteral("tran_time"), QStringLiteral("日期時間"), 140},
                         {QStringLiteral("ref_no2"), QStringLiteral("公司代號"), 76},
                         {QStringLiteral("car_no"), QStringLiteral("車號"), 76},
                         {QStringLiteral("tran_amt"), QStringLiteral("交易金額"), 66},
                         {QStringLiteral("shift"), QStringLiteral("班別"), 76}});
    DBGrid2->setDataSource(ds1);
    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(260, 352, 540, 208);
    DBGrid1->setColumns({{QStringLiteral("class"), QStringLiteral("類別"), 50},
                         {QStringLiteral("product_id"), QStringLiteral("產品"), 130},
                         {QStringLiteral("price"), QStringLiteral("單價"), 70},
                         {QStringLiteral("qty"), QStringLiteral("數量"), 70},
                         {QStringLiteral("amt"), QStringLiteral("金額"), 70}});
    DBGrid1->setDataSource(ds2);
    for (DBGrid* grid : {DBGrid2, DBGrid1})
        connect(grid, &DBGrid::titleClicked, this, &TFrmSY040::DBGrid1TitleClick);

    auto on = [this](QToolButton* button, void (TFrmSY040::*handler)()) {
        connect(button, &QToolButton::clicked, this,
                [this, handler] { guarded(this, [this, handler] { (this->*handler)(); }); });
    };
    on(sb01, &TFrmSY040::sb01Click);
    on(sb02, &TFrmSY040::sb02Click);
    on(sb03, &TFrmSY040::sb03Click);
    on(sb04, &TFrmSY040::sb04Click);
    on(sb05, &TFrmSY040::sb05Click);
    on(sb06, &TFrmSY040::sb06Click);
    on(sb11, &TFrmSY040::sb11Click);
    on(sb12, &TFrmSY040::sb12Click);
    on(sb21, &TFrmSY040::sb21Click);
    on(sb22, &TFrmSY040::sb22Click);
    on(sb23, &TFrmSY040::sb23Click);
    tb1->afterScroll = [this](Query&) { tb1AfterScroll(); };
    setMode({});
    qApp->installEventFilter(this);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

TFrmSY040::~TFrmSY040() {
    qApp->removeEventFilter(this);
    tb1->afterScroll = nullptr;
}

void TFrmSY040::FormCreate() {
    formats::applyProcessFormats();
    tb1->connection()->connect();
    ShiftsToRebuild.clear();
    ED1->setText(QDate::currentDate().toString(formats::dateFormat()));
    nav1->setDataSource(ds1);
    openChargeSales(*tb1, ED1->text()); // its first row brings its lines and fields
}

void TFrmSY040::tb1AfterScroll() {
    openSaleLines(*tb2, *tb1);
    showCurrentSale();
}

void TFrmSY040::showCurrentSale() {
    if (!tb1->active() || tb1->isEmpty()) return; // the fields keep what they showed
    // The sale's own fields follow it even when it has no lines, so that a modify never
    // writes the fields of the sale shown before.
    e01->setText(text(*tb1, "island"));
    e02->setText(text(*tb1, "gun_no"));
    const QDateTime time = tb1->field(QStringLiteral("tran_time")).asDateTime();
    e03->setText(time.date().toString(formats::dateFormat()));
    e04->setText(time.time().toString(formats::timeFormat()));
    e05->setText(text(*tb1, "shift"));
    e06->setText(text(*tb1, "car_no"));
    e11->setText(text(*tb1, "ref_no2"));
    if (!tb2->active() || tb2->isEmpty()) return;
    e07->setText(text(*tb2, "product_id"));
    e08->setText(text(*tb2, "price"));
    e09->setText(text(*tb2, "qty"));
    e10->setText(text(*tb2, "amt"));
    e12->setText(text(*tb2, "class"));
}

void TFrmSY040::setMode(const QString& mode) {
    EditMode = mode;
    const bool browse = mode.isEmpty();
    const bool modify = mode == ModifyMode;
    Panel6->setEnabled(!browse);
    nav1->setVisible(browse);
    sb11->setVisible(!browse);
    sb12->setVisible(!browse);
    for (QToolButton* b : {sb01, sb02, sb03, sb04, sb05, sb06})
        b->setEnabled(browse);
    for (QLineEdit* field : {e01, e02, e08, e09, e10})
        setTypeable(field, !modify);
    sb23->setEnabled(!modify);
    // While a sale is being entered the lists stay on the sale the save applies to.
    DBGrid2->setEnabled(browse);
    DBGrid1->setEnabled(browse);
    if (modify)
        e04->setFocus();
    else if (!browse)
        e01->setFocus();
}

ChargeSaleEntry TFrmSY040::entry() const {
    return {e01->text(), e02->text(), e03->text(), e04->text(), e05->text(), e06->text(),
            e07->text(), e08->text(), e09->text(), e10->text(), e11->text(), e12->text()};
}

void TFrmSY040::showWorkedOut(const ChargeSaleEntry& e) {
    e04->setText(e.e04);
    e09->setText(e.e09);
    e10->setText(e.e10);
}

void TFrmSY040::sb01Click() {
    openChargeSales(*tb1, ED1->text());
}

void TFrmSY040::sb02Click() {
    if (!tb1->active() || tb1->isEmpty()) return;
    snapshot_ = {tb1->field(QStringLiteral("island")).value(),
                 tb1->field(QStringLiteral("gun_no")).value(),
                 tb1->field(QStringLiteral("tran_time")).value(),
                 text(*tb1, "shift"),
                 e03->text().trimmed(),
                 e04->text().trimmed(),
                 e05->text().trimmed(),
                 e06->text().trimmed()};
    OrigShift = snapshot_.origShift;
    setMode(ModifyMode);
}

void TFrmSY040::sb03Click() {
    // The fields stay as they are: the current sale is the starting point of the new one.
    OrigShift.clear();
    setMode(AddMode);
}

void TFrmSY040::sb04Click() {
    if (!tb1->active() || tb1->isEmpty()) return;
    if (!confirm(QStringLiteral("是否確定刪除資料 ?"), this)) return;
    const QString shift = text(*tb1, "shift");
    voidChargeSale(*tb1->connection(), tb1->field(QStringLiteral("island")).value(),
                   tb1->field(QStringLiteral("gun_no")).value(),
                   tb1->field(QStringLiteral("tran_time")).value());
    ShiftsToRebuild += QLatin1Char(' ') + shift;
    // Back on the sale that followed the voided one, or on the last when none did.
    const int at = tb1->recNo();
    tb1->next();
    const QString key =
        tb1->recNo() != at ? tb1->field(QStringLiteral("tran_time")).asText() : QString();
    tb1->refresh();
    if (key.isEmpty()) {
        tb1->last();
    } else {
        LocateOptions partial;
        partial.partialKey = true;
        tb1->locate(QStringLiteral("tran_time"), Value(key), partial);
    }
}

void TFrmSY040::sb05Click() {
    close();
}

void TFrmSY040::sb06Click() {
    pickDayField(ED1, this);
}

void TFrmSY040::sb11Click() {
    save();
}

void TFrmSY040::save() {
    Connection& cn = *tb1->connection();
    ChargeSaleEntry e = entry();
    bool written = true;
    try {
        checkChargeSale(cn, e);
        if (EditMode == ModifyMode) {
            written = modifyChargeSale(cn, snapshot_, e);
        } else {
            workOutQuantityAndAmount(e);
            insertChargeSale(cn, e);
        }
    } catch (...) {
        showWorkedOut(e); // the time and figures as the checks left them
        throw;
    }
    showWorkedOut(e);
    if (written) ShiftsToRebuild += shiftsTouched(OrigShift, e.e05.trimmed());
    setMode({});
    OrigShift.clear();
    if (!written || !tb1->active()) return;
    // The list shows the sale as stored.
    tb1->refresh();
    gotoSale(*tb1, e.e01, e.e02, e.e03.trimmed() + QLatin1Char(' ') + e.e04.trimmed());
}

void TFrmSY040::sb12Click() {
    setMode({});
    OrigShift.clear();
    showCurrentSale();
}

void TFrmSY040::sb21Click() {
    // The calendar starts on the day listed, not on the sale's own day.
    TBrDateForm picker(this);
    picker.setDate(QDate::fromString(ED1->text(), formats::dateFormat()));
    if (picker.exec() == QDialog::Accepted)
        e03->setText(picker.Date().toString(formats::dateFormat()));
}

void TFrmSY040::sb22Click() {
    if (!pickFromList(lookupLists::vehicleWithCustomer, e06->text(), this)) return;
    e06->setText(PickedValue(QStringLiteral("CODE")).toText().trimmed());
    e11->setText(PickedValue(QStringLiteral("cust_id")).toText().trimmed());
}

void TFrmSY040::sb23Click() {
    if (!pickFromList(lookupLists::chargeProduct, e07->text(), this)) return;
    e07->setText(PickedValue(QStringLiteral("CODE")).toText().trimmed());
    e08->setText(PickedValue(QStringLiteral("price")).toText().trimmed());
    e12->setText(PickedValue(QStringLiteral("class")).toText().trimmed());
}

void TFrmSY040::DBGrid1TitleClick(const QString& field) {
    try {
        tb1->setSortedFields(field);
    } catch (...) {
        // a title the sale list has no column for sorts nothing
    }
}

void TFrmSY040::FormClose() {
    if (!ShiftsToRebuild.isEmpty())
        QMessageBox::information(this, QStringLiteral("TolvMenu"),
                                 QStringLiteral("請重新建立班報 ") + ShiftsToRebuild);
    tb1->close();
    tb2->close();
    if (DM) DM->cn.disconnect();
}

void TFrmSY040::done(int result) {
    if (!closed_) {
        if (!EditMode.isEmpty()) return; // a sale being entered is saved or cancelled first
        closed_ = true;
        FormClose();
    }
    TScreen::done(result);
}

bool TFrmSY040::eventFilter(QObject* watched, QEvent* event) {
    if (movesOnAsTab(this, watched, event)) {
        focusNextChild();
        return true;
    }
    return TScreen::eventFilter(watched, event);
}

void TFrmSY040::keyPressEvent(QKeyEvent* event) {
    // The screen closes only through 離開, not by Escape.
    if (event->key() == Qt::Key_Escape) return;
    TScreen::keyPressEvent(event);
}
