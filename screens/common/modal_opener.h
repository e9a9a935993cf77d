// The modal opener through which the main menu opens each screen, and the confirmation
// question.
#pragma once

#include <QString>
#include <functional>
#include <memory>

class QWidget;
class TScreen;

using ScreenFactory = std::function<std::unique_ptr<TScreen>()>;

// Creates the screen under the hourglass, runs its opening steps, shows it modally and
// destroys it when it closes. Returns true when it closed with the OK result. A screen that
// fails while being created or opened shows the error in a message box and returns false.
bool open_modal(const ScreenFactory& create);

// The question box with OK and Cancel; true only for OK.
bool confirm(const QString& text, QWidget* parent = nullptr);
