// A button of the main menu page. Its caption's leading blanks indent the numbering, so the
// caption is drawn from the left edge rather than centred; a caption wider than the button
// is moved left until it fits instead of being cut off.
#pragma once

#include <QPushButton>

class MenuButton : public QPushButton {
public:
    MenuButton(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
