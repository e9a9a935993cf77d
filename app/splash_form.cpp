#include "app/splash_form.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// The picture across the top: a pump island under the station canopy.
class SplashPicture : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = rect();
        QLinearGradient sky(r.topLeft(), r.bottomLeft());
        sky.setColorAt(0, QColor(0x28, 0x50, 0x50));
        sky.setColorAt(1, QColor(0x7f, 0xb2, 0xb2));
        p.fillRect(r, sky);
        p.setBrush(QColor(0xff, 0xff, 0x80));
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(r.width() * 0.1, r.height() * 0.15, r.width() * 0.8, r.height() * 0.12));
        p.setBrush(QColor(0xe0, 0xe0, 0xe0));
        for (int i = 0; i < 4; ++i) {
            const double x = r.width() * (0.2 + 0.17 * i);
            p.drawRoundedRect(QRectF(x, r.height() * 0.4, r.width() * 0.08, r.height() * 0.55), 4,
                              4);
        }
    }
};

} // namespace

TSplashForm::TSplashForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setFixedSize(580, 328);
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Raised);
    frame->setGeometry(rect());
    auto* layout = new QVBoxLayout(frame);
    auto* picture = new SplashPicture(frame);
    picture->setMinimumHeight(150);
    layout->addWidget(picture);
    auto* company = new QLabel(QStringLiteral("Quenrel 資訊系統股份有限公司"), frame);
    QFont font = company->font();
    font.setPixelSize(24);
    font.setBold(true);
    font.setItalic(true);
    font.setUnderline(true);
    company->setFont(font);
    company->setStyleSheet(QStringLiteral("color: navy"));
    company->setAlignment(Qt::AlignCenter);
    layout->addWidget(company);
    auto* rule = new QFrame(frame);
    rule->setFrameShape(QFrame::HLine);
    layout->addWidget(rule);
    auto* loading = new QLabel(QStringLiteral("程式載入中 請稍候....."), frame);
    QFont red = loading->font();
    red.setPixelSize(24);
    loading->setFont(red);
    loading->setStyleSheet(QStringLiteral("color: red"));
    layout->addWidget(loading);
    ProgressBar1 = new QProgressBar(frame);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    layout->addWidget(ProgressBar1);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}
