// The pictures shared by the splash and progress windows: a pump island under the station
// canopy, and the maker's name line.
#pragma once

#include <QWidget>

class QLabel;

class StationPicture : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override;
};

// The maker's company name: bold, italic, underlined, navy, 24 pixels, centred.
QLabel* makeCompanyLabel(QWidget* parent);
// A label in red at `pixels` size.
QLabel* makeRedLabel(const QString& text, int pixels, QWidget* parent);
