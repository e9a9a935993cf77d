#include "support/modal_answers.h"

#include "reports/common/report_preview.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QToolButton>

ModalAnswers::ModalAnswers(QMessageBox::StandardButton button) : button_(button) {
    QObject::connect(&poll_, &QTimer::timeout, [this] { answer(); });
    poll_.start(20);
}

void ModalAnswers::answer() {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog || !dialog->isVisible()) return;
    for (const QPointer<QWidget>& seen : handled_)
        if (seen == dialog) return;
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
        handled_ << dialog;
        boxes << box->text();
        QAbstractButton* b = box->button(button_);
        if (!b) b = box->button(QMessageBox::Ok);
        if (b)
            b->click();
        else
            box->reject();
    } else if (auto* preview = qobject_cast<ReportPreview*>(dialog)) {
        handled_ << dialog;
        ++previews;
        preview->CloseButton->click();
    }
}
