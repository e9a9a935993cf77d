// Progress on the command line: one line on stderr, rewritten in place on a terminal.
#pragma once

#include "app/progress.h"

#include <QElapsedTimer>

class ConsoleProgress : public Progress {
public:
    explicit ConsoleProgress(QString task) : task_(std::move(task)) {}
    void begin() override;
    void setLabel(const QString& text) override;
    void end() override;

protected:
    void shown(int counter) override;

private:
    void print(bool force);

    QString task_;
    QString label_;
    qint64 steps_ = 0;
    bool terminal_ = false;
    QElapsedTimer shownAt_;
};
