#include "screens/common/date_picker.h"

#include "db/date_formats.h"
#include "screens/common/error_box.h"

#include <QCalendarWidget>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QToolButton>

namespace {

// The ROC year counts from 1912, the first year of the Republic.
constexpr int rocYearOffset = 1911;

QString rocTitle(const QDate& d) {
    return QStringLiteral("中華民國%1年%2月%3日")
        .arg(d.year() - rocYearOffset)
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.day(), 2, 10, QLatin1Char('0'));
}

QString westernTitle(const QDate& d) {
    return QStringLiteral("    西元%1年%2月%3日")
        .arg(d.year(), 4, 10, QLatin1Char('0'))
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.day(), 2, 10, QLatin1Char('0'));
}

QFont boldFont(const QWidget* w) {
    QFont f = w->font();
    f.setPixelSize(16);
    f.setBold(true);
    return f;
}

QLabel* titleLabel(QWidget* parent, const char* name, const char* colour, Qt::Alignment alignment) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(76, 28, 198, 24);
    label->setFont(boldFont(label));
    label->setStyleSheet(QStringLiteral("color: %1").arg(QLatin1String(colour)));
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

// A speed button: never takes the focus, the glyph before the caption, or after it when
// `glyphAfter` (a right-to-left button puts its icon on the right).
QToolButton* stepButton(QWidget* parent, const char* name, const QString& caption,
                        QStyle::StandardPixmap glyph, bool glyphAfter, const QRect& geometry) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setIcon(parent->style()->standardIcon(glyph));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    if (glyphAfter) button->setLayoutDirection(Qt::RightToLeft);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(geometry);
    return button;
}

// A leaf of a desk calendar: a red band over a white page ruled into days.
QIcon calendarIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(Qt::darkGray);
    p.setBrush(Qt::white);
    p.drawRect(1, 2, 13, 12);
    p.fillRect(2, 3, 12, 3, QColor(0xc0, 0x20, 0x20));
    p.setPen(Qt::gray);
    for (int y = 8; y <= 12; y += 2)
        for (int x = 3; x <= 12; x += 3)
            p.drawPoint(x, y);
    return QIcon(pixmap);
}

} // namespace

TBrDateForm::TBrDateForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("選擇日期"));
    setFixedSize(350, 324);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(8, 8, 334, 266);

    PrevMonthBtn = stepButton(this, "PrevMonthBtn", QStringLiteral("月"), QStyle::SP_ArrowLeft,
                              false, QRect(16, 16, 56, 26));
    PrevYearBtn = stepButton(this, "PrevYearBtn", QStringLiteral("年"),
                             QStyle::SP_MediaSeekBackward, false, QRect(16, 44, 56, 26));
    NextMonthBtn = stepButton(this, "NextMonthBtn", QStringLiteral("月"), QStyle::SP_ArrowRight,
                              true, QRect(278, 16, 56, 26));
    NextYearBtn = stepButton(this, "NextYearBtn", QStringLiteral("年"), QStyle::SP_MediaSeekForward,
                             true, QRect(278, 44, 56, 26));
    connect(PrevMonthBtn, &QToolButton::clicked, this, [this] { step(-1, 0); });
    connect(NextMonthBtn, &QToolButton::clicked, this, [this] { step(1, 0); });
    connect(PrevYearBtn, &QToolButton::clicked, this, [this] { step(0, -1); });
    connect(NextYearBtn, &QToolButton::clicked, this, [this] { step(0, 1); });

    TitleLabel1 = titleLabel(this, "TitleLabel1", "black", Qt::AlignLeft);
    TitleLabel1->hide();
    TitleLabel = titleLabel(this, "TitleLabel", "red", Qt::AlignHCenter);
    TitleLabel->installEventFilter(this);
    TitleLabel1->installEventFilter(this);

    Calendar1 = new QCalendarWidget(this);
    Calendar1->setObjectName(QStringLiteral("Calendar1"));
    Calendar1->setGeometry(16, 76, 318, 190);
    // Day names as in Taiwan; a change of locale resets the first day of the week, so the
    // locale comes first.
    Calendar1->setLocale(
        QLocale(QLocale::Chinese, QLocale::TraditionalChineseScript, QLocale::Taiwan));
    Calendar1->setFirstDayOfWeek(Qt::Sunday);
    Calendar1->setNavigationBarVisible(false); // the step buttons move it
    Calendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    Calendar1->setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    Calendar1->setFont(boldFont(Calendar1));
    QPalette silver = Calendar1->palette();
    silver.setColor(QPalette::Base, QColor(0xc0, 0xc0, 0xc0));
    silver.setColor(QPalette::AlternateBase, QColor(0xc0, 0xc0, 0xc0));
    silver.setColor(QPalette::Window, QColor(0xc0, 0xc0, 0xc0));
    // Days of the neighbouring months come in the disabled text colour, light grey by default
    // and invisible on silver.
    silver.setColor(QPalette::Disabled, QPalette::Text, Qt::darkGray);
    Calendar1->setPalette(silver);
    connect(Calendar1, &QCalendarWidget::selectionChanged, this, &TBrDateForm::Calendar1Change);
    // The day grid keeps Enter for itself; here it chooses the day like the OK button.
    if (auto* grid = Calendar1->findChild<QTableView*>()) grid->installEventFilter(this);

    OkBtn = new QPushButton(QStringLiteral("&OK 確定"), this);
    OkBtn->setObjectName(QStringLiteral("OkBtn"));
    OkBtn->setGeometry(82, 284, 88, 30);
    OkBtn->setDefault(true);
    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    CancelBtn = new QPushButton(QStringLiteral("&Cancel 放棄"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(180, 284, 88, 30);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    TitleLabel->setText(rocTitle(Date()));
    Calendar1->setFocus();
}

QDate TBrDateForm::Date() const {
    return Calendar1->selectedDate();
}

void TBrDateForm::setDate(const QDate& date) {
    if (date.isValid()) Calendar1->setSelectedDate(date);
    Calendar1Change(); // also when the day was already selected
}

bool TBrDateForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        (watched == TitleLabel || watched == TitleLabel1)) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* label = static_cast<QLabel*>(watched);
        if (mouse->button() == Qt::LeftButton &&
            label->rect().contains(mouse->position().toPoint())) {
            if (label == TitleLabel)
                TitleLabelClick();
            else
                TitleLabel1Click();
            return true;
        }
    } else if (event->type() == QEvent::KeyPress && qobject_cast<QTableView*>(watched)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OkBtn->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TBrDateForm::Calendar1Change() {
    const QDate d = Date();
    TitleLabel->setText(rocTitle(d));
    TitleLabel1->setText(westernTitle(d));
}

void TBrDateForm::TitleLabelClick() {
    TitleLabel1->setText(westernTitle(Date()));
    TitleLabel->hide();
    TitleLabel1->show();
}

void TBrDateForm::TitleLabel1Click() {
    TitleLabel1->hide();
    TitleLabel->show();
}

// Qt's month and year arithmetic lands on the last day of a shorter target month
// (31 March back a month gives the end of February; 29 February on a year gives 28 February).
void TBrDateForm::step(int months, int years) {
    setDate(Date().addMonths(months).addYears(years));
}

bool pickDayField(QLineEdit* field, QWidget* parent) {
    if (!parent) parent = field->window();
    const QDate start = QDate::fromString(field->text().trimmed(), formats::dateFormat());
    if (!start.isValid()) {
        showErrorBox(parent, QStringLiteral("'%1' 不是正確的日期").arg(field->text()));
        return false;
    }
    TBrDateForm picker(parent);
    picker.setDate(start);
    if (picker.exec() != QDialog::Accepted) return false;
    field->setText(picker.Date().toString(formats::dateFormat()));
    return true;
}

bool pickMonthField(QLineEdit* field, QWidget* parent) {
    if (!parent) parent = field->window();
    TBrDateForm picker(parent);
    picker.setDate(QDate::currentDate());
    if (picker.exec() != QDialog::Accepted) return false;
    field->setText(picker.Date().toString(formats::dateFormat()).left(7));
    return true;
}

QToolButton* makeCalendarButton(QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setIcon(calendarIcon());
    button->setToolTip(QStringLiteral("Calendar"));
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(22, 22);
    return button;
}
