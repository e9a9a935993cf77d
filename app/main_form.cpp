#include "app/main_form.h"

#include "app/data_module.h"
#include "app/schema_upgrade.h"
#include "db/date_formats.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace {

struct MenuButton {
    const char* name;
    int left, top, height;
    const char* caption;
    const char* colour; // caption colour, empty for black
    bool bold;
};

// The menu page: maintenance screens on the left, the eleven reports in the middle and on
// the right, numbered down the columns.
const MenuButton menuButtons[] = {
    {"sb01", 40, 90, 40, "   1.簽帳公司折讓維護         ", "", false},
    {"sb08", 40, 150, 40, "   2.油槽進油資料維護", "", false},
    {"SpeedButton4", 40, 210, 40, "  3.簽帳交易明細維護", "", false},
    {"SpeedButton6", 40, 450, 44, "               發票試算", "fuchsia", false},
    {"sb04", 260, 90, 40, "   1.營業收入彙總表", "", false},
    {"sb05", 260, 150, 40, "   2.營業(月)統計表", "", false},
    {"sb02", 260, 210, 40, "   3.簽帳客戶明細表", "", false},
    {"sb03", 260, 270, 40, "   4.簽帳客戶統計表", "", false},
    {"sb06", 260, 330, 40, "   5.油錶記錄起迄表", "", false},
    {"sb09", 260, 390, 40, "   6.油槽進銷存報表", "", false},
    {"sb07", 480, 90, 40, "   7.副產品進銷存報表", "", false},
    {"SpeedButton1", 480, 150, 40, "   8.空白發票明細表", "", false},
    {"SpeedButton2", 480, 210, 40, "   9.團體 U 卡明細表", "", false},
    {"sb10", 480, 270, 40, "  10.贈品明細統計表", "", false},
    {"SpeedButton5", 480, 330, 40, "  11.中油結付表", "", false},
};

QLabel* headingPanel(QWidget* parent, const char* name, const QString& caption, int left,
                     const char* colour) {
    auto* panel = new QLabel(caption, parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setGeometry(left, 30, 180, 40);
    panel->setAlignment(Qt::AlignCenter);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
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
    headingPanel(panel, "Panel3", QStringLiteral("報表輸出"), 260, "#80ffff");
    QFont font = this->font();
    font.setPixelSize(16);
    for (const MenuButton& b : menuButtons) {
        auto* button = new QPushButton(QString::fromUtf8(b.caption), panel);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setGeometry(b.left, b.top, 180, b.height);
        button->setFont(font);
        if (*b.colour)
            button->setStyleSheet(QStringLiteral("color: %1").arg(QLatin1String(b.colour)));
        // Screens arrive with later work; until then the button says so instead of opening
        // an empty window.
        button->setEnabled(false);
        button->setToolTip(QStringLiteral("尚未提供"));
    }
    auto* exit = new QPushButton(QStringLiteral("離      開"), panel);
    exit->setObjectName(QStringLiteral("SpeedButton3"));
    exit->setGeometry(260, 450, 180, 44);
    QFont bold = font;
    bold.setBold(true);
    exit->setFont(bold);
    exit->setStyleSheet(QStringLiteral("color: red"));
    exit->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
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

void TMainForm::closeEvent(QCloseEvent* event) {
    QMessageBox box(QMessageBox::Question, windowTitle(),
                    QStringLiteral("離開 TolvMenu 管理系統？"),
                    QMessageBox::Ok | QMessageBox::Cancel, this);
    if (box.exec() == QMessageBox::Ok)
        event->accept();
    else
        event->ignore();
}
