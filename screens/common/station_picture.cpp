#include "screens/common/station_picture.h"

#include <QLabel>
#include <QPainter>

void StationPicture::paintEvent(QPaintEvent*) {
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
        p.drawRoundedRect(QRectF(x, r.height() * 0.4, r.width() * 0.08, r.height() * 0.55), 4, 4);
    }
}

QLabel* makeCompanyLabel(QWidget* parent) {
    auto* company = new QLabel(QStringLiteral("Quenrel 資訊系統股份有限公司"), parent);
    QFont font = company->font();
    font.setPixelSize(24);
    font.setBold(true);
    font.setItalic(true);
    font.setUnderline(true);
    company->setFont(font);
    company->setStyleSheet(QStringLiteral("color: navy"));
    company->setAlignment(Qt::AlignCenter);
    return company;
}

QLabel* makeRedLabel(const QString& text, int pixels, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPixelSize(pixels);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: red"));
    return label;
}
