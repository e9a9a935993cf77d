// Progress that runs a hook once, at the build's first step: the point-of-sale system writing
// while a build reads.
#pragma once

#include "app/progress.h"

#include <functional>
#include <utility>

class WritingMeanwhile : public Progress {
public:
    explicit WritingMeanwhile(std::function<void()> hook) : hook_(std::move(hook)) {}

protected:
    void shown(int) override {
        if (hook_) std::exchange(hook_, nullptr)();
    }

private:
    std::function<void()> hook_;
};
