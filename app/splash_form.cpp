#include "app/splash_form.h"

#include "screens/common/station_picture.h"

#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

TSplashForm::TSplashForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setFixedSize(580, 328);
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Raised);
    frame->setGeometry(rect());
    auto* layout = new QVBoxLayout(frame);
    auto* picture = new StationPicture(frame);
    picture->setMinimumHeight(150);
    layout->addWidget(picture);
    layout->addWidget(makeCompanyLabel(frame));
    auto* rule = new QFrame(frame);
    rule->setFrameShape(QFrame::HLine);
    layout->addWidget(rule);
    layout->addWidget(makeRedLabel(QStringLiteral("程式載入中 請稍候....."), 24, frame));
    ProgressBar1 = new QProgressBar(frame);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    layout->addWidget(ProgressBar1);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}
