#include "app/main_form.h"

#include "app/data_module.h"
#include "app/menu_button.h"
#include "app/menu_screens.h"
#include "app/schema_upgrade.h"
#include "db/date_formats.h"
#include "screens/common/upper_case.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace {

struct MenuEntry {
    const char* name;
    int left, top, height;
    const char* caption;
    const char* colour; // caption colour, empty for black
    const char* screen; // the screen class it opens
};

// The menu page: maintenance screens on the left, the eleven reports in the middle and on
// the right, numbered down the columns.
const MenuEntry menuButtons[] = {
    {"sb01", 40, 90, 40, "   1.簽帳公司折讓維護         ", "", "TFrmSY010"},
    {"sb08", 40, 150, 40, "   2.油槽進油資料維護", "", "TFrmSY020"},
    {"SpeedButton4", 40, 210, 40, "  3.簽帳交易明細維護", "", "TFrmSY040"},
    {"SpeedButton6", 40, 450, 44, "               發票試算", "fuchsia", "TFrmSY050"},
    {"sb04", 260, 90, 40, "   1.營業收入彙總表", "", "TFrmBR030"},
    {"sb05", 260, 150, 40, "   2.營業(月)統計表", "", "TFrmBR040"},
    {"sb02", 260, 210, 40, "   3.簽帳客戶明細表", "", "TFrmBR010"},
    {"sb03", 260, 270, 40, "   4.簽帳客戶統計表", "", "TFrmBR020"},
    {"sb06", 260, 330, 40, "   5.油錶記錄起迄表", "", "TFrmBR050"},
    {"sb09", 260, 390, 40, "   6.油槽進銷存報表", "", "TFrmBR070"},
    {"sb07", 480, 90, 40, "   7.副產品進銷存報表", "", "TFrmBR060"},
    {"SpeedButton1", 480, 150, 40, "   8.空白發票明細表", "", "TFrmBR090"},
    {"SpeedButton2", 480, 210, 40, "   9.團體 U 卡明細表", "", "TFrmBR100"},
    {"sb10", 480, 270, 40, "  10.贈品明細統計表", "", "TFrmBR080"},
    {"SpeedButton5", 480, 330, 40, "  11.中油結付表", "", "TFrmBR110"},
};

const char* const consoleScreen = "TFrmSY990";
const char* const consoleWord = "GATEKEEPER";

QFont menuFont(const QFont& base, bool bold = false) {
    QFont font = base;
    font.setPixelSize(16);
    font.setBold(bold);
    return font;
}

void setCaptionColour(QPushButton* button, const QColor& colour) {
    QPalette palette = button->palette();
    palette.setColor(QPalette::Active, QPalette::ButtonText, colour);
    palette.setColor(QPalette::Inactive, QPalette::ButtonText, colour);
    button->setPalette(palette);
}

QLabel* headingPanel(QWidget* parent, const char* name, const QString& caption, int left,
                     const char* colour) {
    auto* panel = new QLabel(caption, parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setGeometry(left, 30, 180, 40);
    panel->setAlignment(Qt::AlignCenter);
    panel->setFont(menuFont(parent->font()));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    panel->setStyleSheet(QStringLiteral("background: %1; color: black").arg(QLatin1String(colour)));
    return panel;
}

} // namespace

TMainForm::TMainForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    if (!lock_.tryAcquire()) return; // another copy runs: the caller ends the program
    formats::applyProcessFormats();
    if (DM) {
        qy = std::make_unique<Query>(DM->cn);
        qy1 = std::make_unique<Query>(DM->cn);
    }
    setObjectName(QStringLiteral("TMainForm"));
    setWindowTitle(QStringLiteral("Quenrel加油站系統  TOLVAR  Ver 1.4"));
    setFixedSize(712, 560);
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(rect());
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setStyleSheet(QStringLiteral("#Panel1 { background: #285050; }"));
    headingPanel(panel, "Panel2", QStringLiteral("資料維護"), 40, "#ffff80");
    Panel3 = headingPanel(panel, "Panel3", QStringLiteral("報表輸出"), 260, "#80ffff");
    Panel3->installEventFilter(this);

    for (const MenuEntry& b : menuButtons) {
        auto* button = new MenuButton(QString::fromUtf8(b.caption), panel);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setGeometry(b.left, b.top, 180, b.height);
        button->setFont(menuFont(font()));
        if (*b.colour) setCaptionColour(button, QColor(QLatin1String(b.colour)));
        if (ScreenFactory factory = screenFactory(QString::fromLatin1(b.screen))) {
            connect(button, &QPushButton::clicked, this,
                    [factory = std::move(factory)] { open_modal(factory); });
        } else {
            // The screen arrives with later work; until then the button says so instead of
            // opening an empty window.
            button->setEnabled(false);
            button->setToolTip(QStringLiteral("尚未提供"));
        }
    }
    auto* exit = new QPushButton(QStringLiteral("離      開"), panel);
    exit->setObjectName(QStringLiteral("SpeedButton3"));
    exit->setGeometry(260, 450, 180, 44);
    exit->setFont(menuFont(font(), true));
    setCaptionColour(exit, Qt::red);
    exit->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    connect(exit, &QPushButton::clicked, this, &QWidget::close);

    Edit1 = new QLineEdit(panel);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(510, 40, 121, Edit1->sizeHint().height());
    Edit1->setEchoMode(QLineEdit::Password);
    Edit1->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    setUpperCase(Edit1);
    Edit1->hide();
    connect(Edit1, &QLineEdit::textChanged, this, &TMainForm::Edit1Change);

    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

TMainForm::~TMainForm() = default;

QPushButton* TMainForm::button(const QString& name) const {
    return findChild<QPushButton*>(name);
}

bool TMainForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && qy && qy1) upgradeSchema(*qy, *qy1);
    return QWidget::event(event);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Panel3 && event->type() == QEvent::MouseButtonDblClick) {
        Panel3DblClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TMainForm::Panel3DblClick() {
    Edit1->show();
    Edit1->setFocus();
}

void TMainForm::Edit1Change(const QString& text) {
    if (text != QLatin1String(consoleWord)) return;
    Edit1->clear();
    if (ScreenFactory console = screenFactory(QString::fromLatin1(consoleScreen)))
        open_modal(console);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (confirm(QStringLiteral("離開 TolvMenu 管理系統？"), this))
        event->accept();
    else
        event->ignore();
}
