#include "screens/common/enter_as_tab.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextEdit>

bool movesOnAsTab(const QWidget* screen, QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() ||
        static_cast<QWidget*>(watched)->window() != screen)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
        key->modifiers() != Qt::NoModifier)
        return false;
    QWidget* focus = QApplication::focusWidget();
    return !qobject_cast<QTextEdit*>(focus) && !qobject_cast<QPlainTextEdit*>(focus);
}
