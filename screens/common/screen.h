// A working screen of the program: a dialog that the main menu opens modally. Its opening
// steps run in FormCreate, after construction, so that a screen's own steps are reached and
// a failure there is shown without leaving a half-made window on screen.
#pragma once

#include <QDialog>

class TScreen : public QDialog {
    Q_OBJECT
public:
    explicit TScreen(QWidget* parent = nullptr) : QDialog(parent) {}

    // The screen's opening steps (connect, open its queries, fill defaults). Throws
    // DbError or InputRefused; the opener then shows the error and destroys the screen.
    virtual void FormCreate() {}
};
