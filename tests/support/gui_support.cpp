#include "support/gui_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace gui {

namespace {

// Answers the next visible modal dialog that `matches` accepts (any, when null).
void watch(std::function<bool(QWidget*)> matches, std::function<void(QWidget*)> answer,
           int timeoutMs, QString* seenText) {
    auto* poll = new QTimer(qApp);
    poll->setObjectName(QStringLiteral("gui::answerNextDialog"));
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(poll, &QTimer::timeout, [=] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog && dialog->isVisible() && (!matches || matches(dialog))) {
            poll->stop();
            poll->deleteLater();
            if (seenText)
                if (auto* box = qobject_cast<QMessageBox*>(dialog)) *seenText = box->text();
            QPointer<QWidget> guard(dialog);
            answer(dialog);
            // Whatever the answer did, the dialog must not outlive the test step.
            QTimer::singleShot(timeoutMs, [guard] {
                if (guard && guard->isVisible())
                    if (auto* d = qobject_cast<QDialog*>(guard.data())) d->reject();
            });
        } else if (started->elapsed() > timeoutMs) {
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start(20);
}

} // namespace

void answerNextDialog(std::function<void(QWidget*)> answer, QString* seenText, int timeoutMs) {
    watch(nullptr, std::move(answer), timeoutMs, seenText);
}

void answerNextDialogWhere(std::function<bool(QWidget*)> matches,
                           std::function<void(QWidget*)> answer, int timeoutMs) {
    watch(std::move(matches), std::move(answer), timeoutMs, nullptr);
}

void pressInNextMessageBox(QMessageBox::StandardButton button, QString* seenText) {
    answerNextDialog(
        [button](QWidget* dialog) {
            if (auto* box = qobject_cast<QMessageBox*>(dialog))
                if (QAbstractButton* b = box->button(button)) b->click();
        },
        seenText);
}

void stopAnswering() {
    for (QTimer* poll : qApp->findChildren<QTimer*>(QStringLiteral("gui::answerNextDialog"),
                                                    Qt::FindDirectChildrenOnly)) {
        poll->stop();
        delete poll;
    }
}

QString saveScreenshot(QWidget* widget, const QString& name) {
    QString folder = qEnvironmentVariable("TOLVAR_SCREENSHOTS");
    if (folder.isEmpty()) folder = QDir::current().filePath("screenshots");
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(name + ".png");
    widget->grab().save(path);
    return path;
}

void retype(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), {});
}

} // namespace gui
