#include "screens/common/error_box.h"

#include "db/db_error.h"
#include "db/input_refused.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

QString messageBoxTitle() {
    const QString name = QApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("TolvMenu") : name;
}

void showErrorBox(QWidget* parent, const QString& message) {
    QMessageBox::critical(parent, messageBoxTitle(), message);
}

bool guarded(QWidget* parent, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const InputRefused& refused) {
        QMessageBox::warning(parent, messageBoxTitle(), refused.message());
        if (parent && !refused.field().isEmpty())
            if (auto* field = parent->findChild<QWidget*>(refused.field())) field->setFocus();
    } catch (const DbError& error) {
        showErrorBox(parent, error.message());
    } catch (const std::exception& error) {
        showErrorBox(parent, QString::fromUtf8(error.what()));
    }
    return false;
}
