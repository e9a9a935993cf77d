#include "app/menu_button.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

constexpr int margin = 4;

QString withoutTrailingBlanks(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.left(end);
}

} // namespace

MenuButton::MenuButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

void MenuButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = withoutTrailingBlanks(option.text);
    option.text.clear();
    p.drawControl(QStyle::CE_PushButton, option);

    QRect area = rect().adjusted(margin, 0, -margin, 0);
    int iconWidth = 0;
    if (!option.icon.isNull()) {
        iconWidth = option.iconSize.width() + margin;
        const QPixmap pixmap = option.icon.pixmap(option.iconSize, devicePixelRatio(),
                                                  isEnabled() ? QIcon::Normal : QIcon::Disabled);
        p.drawPixmap(area.left(), (height() - option.iconSize.height()) / 2, pixmap);
        area.setLeft(area.left() + iconWidth);
    }
    const int textWidth = fontMetrics().horizontalAdvance(caption);
    const int flags = Qt::AlignVCenter | Qt::TextSingleLine |
                      (textWidth > area.width() ? Qt::AlignRight : Qt::AlignLeft);
    p.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(area, flags, caption);
}
