// The splash window shown while the program loads: borderless, centred, 580 x 328.
#pragma once

#include <QWidget>

class QProgressBar;

class TSplashForm : public QWidget {
    Q_OBJECT
public:
    explicit TSplashForm(QWidget* parent = nullptr);
    QProgressBar* ProgressBar1;
};
