#include "screens/common/process_form.h"

#include "screens/common/station_picture.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

TfmProcess::TfmProcess(QWidget* parent) : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("fmProcess"));
    setFixedSize(580, 328);
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Panel1"));
    frame->setGeometry(rect());
    frame->setStyleSheet(
        QStringLiteral("#Panel1 { background: #ffffe0; border: 2px solid blue; }"));
    auto* layout = new QVBoxLayout(frame);
    auto* picture = new StationPicture(frame);
    picture->setMinimumHeight(130);
    layout->addWidget(picture);
    layout->addWidget(makeCompanyLabel(frame));
    auto* rule = new QFrame(frame);
    rule->setFrameShape(QFrame::HLine);
    layout->addWidget(rule);
    auto* line = new QHBoxLayout;
    line->addWidget(makeRedLabel(QStringLiteral("資料處理中 請稍候....."), 24, frame));
    Label2 = makeRedLabel(QString(), 16, frame);
    Label2->setObjectName(QStringLiteral("Label2"));
    line->addWidget(Label2, 1);
    layout->addLayout(line);
    ProgressBar1 = new QProgressBar(frame);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false); // it shows activity, not a share of the work
    layout->addWidget(ProgressBar1);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

WindowProgress::~WindowProgress() = default;

void WindowProgress::begin() {
    window_ = std::make_unique<TfmProcess>(owner_);
    window_->show();
    window_->repaint();
    QApplication::processEvents();
}

void WindowProgress::setLabel(const QString& text) {
    if (!window_) return;
    window_->Label2->setText(text);
    QApplication::processEvents();
}

void WindowProgress::shown(int counter) {
    if (!window_) return;
    window_->ProgressBar1->setValue(counter);
    QApplication::processEvents();
}

void WindowProgress::end() {
    window_.reset();
}
