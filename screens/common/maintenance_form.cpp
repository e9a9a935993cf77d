#include "screens/common/maintenance_form.h"

#include "app/data_module.h"
#include "db/date_formats.h"
#include "db/db_error.h"
#include "screens/common/db_edit.h"
#include "screens/common/db_grid.h"
#include "screens/common/db_navigator.h"
#include "screens/common/enter_as_tab.h"
#include "screens/common/error_box.h"
#include "screens/common/upper_case.h"

#include <QApplication>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

namespace {

using Nav = TBiDiDBNavigator;

QString stateText(QueryState state) {
    switch (state) {
    case QueryState::Closed:
        return QStringLiteral("關閉  狀態");
    case QueryState::Browse:
        return QStringLiteral("瀏覽  資料狀態");
    case QueryState::Edit:
        return QStringLiteral("編輯  資料狀態");
    case QueryState::Insert:
        return QStringLiteral("新增  資料狀態");
    }
    return {};
}

Connection& dataModuleConnection() {
    if (!DM) throw DbError(QStringLiteral("資料庫模組尚未建立"));
    return DM->cn;
}

} // namespace

TMaintenanceForm::TMaintenanceForm(const QString& caption, QWidget* parent) : TScreen(parent) {
    Connection& cn = dataModuleConnection();
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(791, 509);
    tb1 = new Query(cn, this);
    tb1->setObjectName(QStringLiteral("tb1"));
    ds1 = new DataSource(tb1, this);
    ds1->setObjectName(QStringLiteral("ds1"));

    auto* top = new QFrame(this);
    top->setObjectName(QStringLiteral("PanelTop"));
    top->setFrameStyle(QFrame::Panel | QFrame::Raised);
    top->setGeometry(0, 0, 791, 48);
    BiDiDBNavigator1 = new TBiDiDBNavigator(top);
    BiDiDBNavigator1->setObjectName(QStringLiteral("BiDiDBNavigator1"));
    BiDiDBNavigator1->setGeometry(4, 6, 400, 36);
    LabelKey = new QLabel(top);
    LabelKey->setObjectName(QStringLiteral("LabelKey"));
    LabelKey->setGeometry(414, 14, 90, 20);
    LabelKey->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ED1 = new QLineEdit(top);
    ED1->setObjectName(QStringLiteral("ED1"));
    ED1->setGeometry(510, 12, 150, 24);
    ED1->setFocusPolicy(Qt::ClickFocus); // the Tab key passes it by
    setUpperCase(ED1);
    SpeedButtonExit = new QToolButton(top);
    SpeedButtonExit->setObjectName(QStringLiteral("SpeedButtonExit"));
    SpeedButtonExit->setText(QStringLiteral("離開"));
    SpeedButtonExit->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    SpeedButtonExit->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    SpeedButtonExit->setGeometry(716, 2, 70, 44);
    SpeedButtonExit->setFocusPolicy(Qt::NoFocus);

    PanelEdit = new QFrame(this);
    PanelEdit->setObjectName(QStringLiteral("PanelEdit"));
    PanelEdit->setGeometry(0, 48, 300, 436);
    fields_ = new QFormLayout(PanelEdit);
    fields_->setLabelAlignment(Qt::AlignRight);
    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(300, 48, 491, 436);
    DBGrid1->setFocusPolicy(Qt::ClickFocus);
    DBGrid1->setDataSource(ds1);

    PanelBase_State = new QLabel(this);
    PanelBase_State->setObjectName(QStringLiteral("PanelBase_State"));
    PanelBase_State->setGeometry(0, 484, 791, 25);
    PanelBase_State->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PanelBase_State->setStyleSheet(QStringLiteral("background: #00ff00; color: red"));
    QFont stateFont = PanelBase_State->font();
    stateFont.setPixelSize(16);
    PanelBase_State->setFont(stateFont);

    connect(SpeedButtonExit, &QToolButton::clicked, this, &QWidget::close);
    connect(ED1, &QLineEdit::textChanged, this, &TMaintenanceForm::ED1Change);
    connect(DBGrid1, &DBGrid::titleClicked, this, &TMaintenanceForm::DBGrid1TitleClick);
    tb1->beforePost = [this](Query& tb) { tb1BeforePost(tb); };
    tb1->afterEdit = [this](Query&) { ShowState(); };
    tb1->afterInsert = [this](Query&) { ShowState(); };
    tb1->afterPost = [this](Query&) { ShowState(); };
    tb1->afterCancel = [this](Query&) { ShowState(); };
    // Typing edits the current row. With no row there is nothing to edit: typing would add
    // one, and rows are added only through Insert where a screen shows it.
    auto editOnDemand = [this] { ds1->setAutoEdit(tb1->recordCount() > 0); };
    connect(tb1, &Query::reset, this, editOnDemand);
    connect(tb1, &Query::rowInserted, this, editOnDemand);
    connect(tb1, &Query::rowRemoved, this, editOnDemand);
    qApp->installEventFilter(this);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

TMaintenanceForm::~TMaintenanceForm() {
    qApp->removeEventFilter(this);
    tb1->beforePost = tb1->afterEdit = tb1->afterInsert = nullptr;
    tb1->afterPost = tb1->afterCancel = nullptr;
}

void TMaintenanceForm::FormCreate() {
    formats::applyProcessFormats();
    tb1->connection()->connect();
    LabelKey->setText(keyCaption() + QStringLiteral(" :"));
    tb1->close();
    tb1->setSql(tableSql());
    tb1->open();
    BiDiDBNavigator1->setDataSource(ds1);
    openingSteps();
    ShowState();
}

TDBEdit* TMaintenanceForm::addEditField(const QString& name, const QString& label,
                                        const QString& field) {
    auto* edit = new TDBEdit(PanelEdit);
    edit->setObjectName(name);
    edit->setDataSource(ds1);
    edit->setDataField(field);
    fields_->addRow(label, edit);
    return edit;
}

void TMaintenanceForm::ShowState() {
    const QueryState state = tb1->state();
    PanelBase_State->setText(QStringLiteral("檔案目前為  ") + stateText(state) +
                             QStringLiteral("    筆數 : ") + QString::number(tb1->recordCount()));
    if (state == QueryState::Browse) {
        SpeedButtonExit->setEnabled(true);
        Nav::Buttons browse = {Nav::nbFirst, Nav::nbPrior, Nav::nbNext, Nav::nbLast};
        if (allowsDelete())
            browse = {Nav::nbFirst, Nav::nbPrior, Nav::nbNext, Nav::nbLast, Nav::nbDelete};
        BiDiDBNavigator1->setVisibleButtons(browse);
    } else if (state == QueryState::Edit || state == QueryState::Insert) {
        SpeedButtonExit->setEnabled(false);
        BiDiDBNavigator1->setVisibleButtons({Nav::nbPost, Nav::nbCancel});
    }
}

bool TMaintenanceForm::FormCloseQuery() {
    // A closed query (its statement failed) does not keep the screen open.
    if (tb1->state() == QueryState::Browse || tb1->state() == QueryState::Closed) return true;
    PanelBase_State->setText(QStringLiteral("檔案目前非  瀏覽  資料狀態"));
    return false;
}

void TMaintenanceForm::FormClose() {
    guarded(this, [this] { closingWork(); });
    tb1->close();
    if (DM) DM->cn.disconnect();
}

void TMaintenanceForm::done(int result) {
    if (!closed_) {
        if (!FormCloseQuery()) return;
        closed_ = true;
        FormClose();
    }
    TScreen::done(result);
}

void TMaintenanceForm::ED1Change(const QString& text) {
    const QString wanted = text.trimmed();
    if (wanted.isEmpty() || !tb1->active()) return;
    LocateOptions partial;
    partial.partialKey = true;
    try {
        tb1->locate(keyField(), Value(wanted), partial);
    } catch (...) {
        // the find box never troubles the user: no match, no move
    }
}

void TMaintenanceForm::DBGrid1TitleClick(const QString& field) {
    try {
        tb1->setSortedFields(field);
    } catch (...) {
        // a column that cannot be sorted leaves the grid as it is
    }
}

void TMaintenanceForm::tb1BeforePost(Query& tb) {
    checksBeforePost(tb);
    fillEmptyFields(tb);
}

bool TMaintenanceForm::eventFilter(QObject* watched, QEvent* event) {
    // The screen sees every key before its controls: Enter moves on as Tab would.
    if (movesOnAsTab(this, watched, event)) {
        focusNextChild();
        return true;
    }
    return TScreen::eventFilter(watched, event);
}

void TMaintenanceForm::keyPressEvent(QKeyEvent* event) {
    // The screen closes only through its exit button, not by Escape.
    if (event->key() == Qt::Key_Escape) return;
    TScreen::keyPressEvent(event);
}

void fillEmptyFields(Query& tb) {
    for (int i = 0; i < tb.fieldCount(); ++i) {
        Field field = tb.fieldAt(i);
        if (!field.isNull()) continue;
        switch (field.kind()) {
        case FieldKind::Boolean:
            field.setValue(Value::boolean(true));
            break;
        case FieldKind::Float:
        case FieldKind::Decimal:
        case FieldKind::SmallInt:
        case FieldKind::Integer:
            field.setValue(Value(qint64(0)));
            break;
        case FieldKind::Text:
            field.setText(QString());
            break;
        case FieldKind::BigInt:
        case FieldKind::Date:
        case FieldKind::Time:
        case FieldKind::DateTime:
        case FieldKind::Other:
            break;
        }
    }
}
