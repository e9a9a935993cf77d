#include "screens/common/modal_opener.h"

#include "screens/common/error_box.h"
#include "screens/common/screen.h"

#include <QApplication>
#include <QMessageBox>

namespace {

// Holds the hourglass pointer while a screen is being made.
class Hourglass {
public:
    Hourglass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Hourglass() { QApplication::restoreOverrideCursor(); }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;
};

} // namespace

bool open_modal(const ScreenFactory& create) {
    std::unique_ptr<TScreen> screen;
    std::exception_ptr failure;
    {
        Hourglass hourglass;
        try {
            screen = create();
            if (screen) screen->FormCreate();
        } catch (...) {
            failure = std::current_exception();
        }
    }
    if (failure) {
        // Shown with the normal pointer back; the half-opened screen is destroyed.
        screen.reset();
        guarded(nullptr, [&] { std::rethrow_exception(failure); });
        return false;
    }
    if (!screen) return false;
    return screen->exec() == QDialog::Accepted;
}

bool confirm(const QString& text, QWidget* parent) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("確認"), text,
                    QMessageBox::Ok | QMessageBox::Cancel, parent);
    return box.exec() == QMessageBox::Ok;
}
