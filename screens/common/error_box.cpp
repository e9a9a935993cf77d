#include "screens/common/error_box.h"

#include "app/data_module.h"
#include "db/db_error.h"
#include "db/input_refused.h"

#include <QMessageBox>
#include <QWidget>

void showErrorBox(QWidget* parent, const QString& message) {
    QMessageBox::critical(parent, QStringLiteral("錯誤"), message);
}

bool guarded(QWidget* parent, const std::function<void()>& action) {
    // A session the server ended while the screen sat idle (a restart, a terminated session)
    // is let go now, so that the action connects anew instead of failing on it.
    if (DM) DM->cn.forgetIfClosedByServer();
    try {
        action();
        return true;
    } catch (const InputRefused& refused) {
        QMessageBox::information(parent, QStringLiteral("TolvMenu"), refused.message());
        // The field lies somewhere on the screen, not necessarily under the control that ran
        // the action (the navigator's Post).
        QWidget* screen = parent ? parent->window() : nullptr;
        if (screen && !refused.field().isEmpty())
            if (auto* field = screen->findChild<QWidget*>(refused.field())) field->setFocus();
    } catch (const DbError& error) {
        showErrorBox(parent, error.message());
    } catch (const std::exception& error) {
        showErrorBox(parent, QString::fromUtf8(error.what()));
    }
    return false;
}
