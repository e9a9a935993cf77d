// Progress of long work, reported by the core and shown by whoever runs it: the progress
// window on screen, a line on stderr on the command line, nothing in tests.
#pragma once

#include <QString>

// The bar counts 1 to 100 and starts again at 1: it shows activity, not a fraction.
class Progress {
public:
    virtual ~Progress() = default;

    // Shows the indicator; called once before the work starts.
    virtual void begin() {}
    // Names the step now running (the progress window's Label2).
    virtual void setLabel(const QString& text) { (void)text; }
    // One unit of work done: advances the counter (101 becomes 1) and lets the display repaint.
    void step() {
        if (++counter_ > 100) counter_ = 1;
        shown(counter_);
    }
    // Removes the indicator; called once when the work ends, also when it failed.
    virtual void end() {}

    int counter() const { return counter_; }
    void resetCounter(int value = 0) { counter_ = value; }

protected:
    // Called after every step with the new counter value (1 to 100).
    virtual void shown(int counter) { (void)counter; }

private:
    int counter_ = 0;
};

// Progress that shows nothing: for tests and for callers that have no display.
class SilentProgress : public Progress {};
