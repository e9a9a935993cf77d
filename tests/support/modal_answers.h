// Answers every modal window that opens while the object lives, for tests that drive a screen
// through actions whose dialogs they do not know in advance.
#pragma once

#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>

class ModalAnswers {
public:
    // A message box is answered with `button` (or OK when it has no such button, rejected when
    // it has neither) and its text kept; a report preview is closed and counted.
    explicit ModalAnswers(QMessageBox::StandardButton button = QMessageBox::Ok);
    ModalAnswers(const ModalAnswers&) = delete;
    ModalAnswers& operator=(const ModalAnswers&) = delete;

    QStringList boxes;
    int previews = 0;
    // Every message box text, one per line.
    QString said() const { return boxes.join(QLatin1Char('\n')); }

private:
    void answer();

    QMessageBox::StandardButton button_;
    QTimer poll_;
    QList<QPointer<QWidget>> handled_;
};
