// Help for tests of windows: answering the modal dialog a call opens, and screenshots that a
// person can look at afterwards.
#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

class QLineEdit;
class QWidget;

namespace gui {

// Runs `answer` on the next modal dialog once it shows; a dialog still open after
// `timeoutMs` is rejected, so that a failed check never hangs the run. Call it just before
// the call that opens the dialog. The text of the dialog's message, when it is a message
// box, is written to `*seenText`.
void answerNextDialog(std::function<void(QWidget*)> answer, QString* seenText = nullptr,
                      int timeoutMs = 5000);
// Runs `answer` on the next modal dialog of class `Dialog` once it shows, passing over other
// modal windows (the screen that opens it, a progress window); rejected after `timeoutMs`.
void answerNextDialogWhere(std::function<bool(QWidget*)> matches,
                           std::function<void(QWidget*)> answer, int timeoutMs);
template <class Dialog>
void answerNext(std::function<void(Dialog*)> answer, int timeoutMs = 20000) {
    answerNextDialogWhere([](QWidget* w) { return qobject_cast<Dialog*>(w) != nullptr; },
                          [answer](QWidget* w) { answer(qobject_cast<Dialog*>(w)); }, timeoutMs);
}
// Presses `button` of the next message box.
void pressInNextMessageBox(QMessageBox::StandardButton button, QString* seenText = nullptr);
// Forgets every answer still waiting for its dialog. Call it after a step that may or may
// not open a dialog, so that a dialog of a later step is not answered by it and no answer
// writes to a `seenText` that is gone.
void stopAnswering();

// Replaces the text of `field` by `text`, typed as key events as the office types it.
void retype(QLineEdit* field, const QString& text);

// Saves `widget` as build/screenshots/<name>.png (TOLVAR_SCREENSHOTS); returns the path.
QString saveScreenshot(QWidget* widget, const QString& name);

} // namespace gui
