// The Enter key on the screens: it moves the focus on to the next control as Tab would,
// except in a multi-line text box, which takes its own line breaks.
#pragma once

class QEvent;
class QObject;
class QWidget;

// Whether `event`, seen by an application-wide event filter of `screen`, is an Enter key
// pressed in one of the screen's controls that must move the focus on instead of reaching
// the control. The screen then calls its focusNextChild() and swallows the event.
bool movesOnAsTab(const QWidget* screen, QObject* watched, QEvent* event);
