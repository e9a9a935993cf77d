// The progress window TfmProcess shown while long work runs, and the Progress that drives
// it: the bar counts 1 to 100 and starts again, and the window repaints after every step.
#pragma once

#include "app/progress.h"

#include <QWidget>
#include <memory>

class QLabel;
class QProgressBar;

class TfmProcess : public QWidget {
    Q_OBJECT
public:
    explicit TfmProcess(QWidget* parent = nullptr);

    QLabel* Label2;             // the step now running, empty until a caller names one
    QProgressBar* ProgressBar1; // 0 to 100
};

// Progress shown in a TfmProcess over `owner`: begin() shows and paints it, every step sets
// the bar and processes pending events, end() hides and destroys it.
class WindowProgress : public Progress {
public:
    explicit WindowProgress(QWidget* owner = nullptr) : owner_(owner) {}
    ~WindowProgress() override;

    void begin() override;
    void setLabel(const QString& text) override;
    void end() override;

    // The window while it shows, else null.
    TfmProcess* window() const { return window_.get(); }

protected:
    void shown(int counter) override;

private:
    QWidget* owner_;
    std::unique_ptr<TfmProcess> window_;
};

// Runs `work` with the progress window shown, and hides it also when the work throws.
template <class Work> auto withProgressWindow(QWidget* owner, Work&& work) {
    WindowProgress progress(owner);
    progress.begin();
    struct Ender {
        WindowProgress& p;
        ~Ender() { p.end(); }
    } ender{progress};
    return work(static_cast<Progress&>(progress));
}
