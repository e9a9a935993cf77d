// The one place where errors of the core reach the user: the standard error box with the
// server's or the check's text; the action ends and the screen stays open.
#pragma once

#include <QString>
#include <functional>

class QWidget;

// Shows `message` in the standard error box over `parent`.
void showErrorBox(QWidget* parent, const QString& message);

// Runs `action`, after letting go of a database session that the server has ended meanwhile
// (so that the action connects anew). A DbError or InputRefused it throws is shown in the
// error box (an InputRefused as a plain message, with the focus then put into the control of
// `parent`'s window whose object name is the refused field). Any other exception is shown
// with its text. Returns true when `action` ended normally.
bool guarded(QWidget* parent, const std::function<void()>& action);
