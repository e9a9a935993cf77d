// Random choices of the demo station: a fixed engine with distributions of our own, so that a
// seed gives the same station with every compiler and standard library.
#pragma once

#include <QtGlobal>
#include <cstdint>
#include <initializer_list>
#include <random>

class DemoRandom {
public:
    explicit DemoRandom(quint64 seed) : engine_(seed) {}

    // A whole number from 0 to n - 1 (n > 0), each equally likely.
    qint64 below(qint64 n) {
        const quint64 range = quint64(n);
        // Drawing from the largest multiple of `range` keeps the remainders even.
        const quint64 limit = UINT64_MAX - UINT64_MAX % range;
        quint64 x = engine_();
        while (x >= limit)
            x = engine_();
        return qint64(x % range);
    }
    // A whole number from low to high, both included.
    qint64 between(qint64 low, qint64 high) { return low + below(high - low + 1); }
    // True in `count` of `outOf` cases.
    bool chance(qint64 count, qint64 outOf) { return below(outOf) < count; }
    // An index of `weights`, each as likely as its weight.
    template <typename Weights> int weighted(const Weights& weights) {
        qint64 total = 0;
        for (int w : weights)
            total += w;
        qint64 x = below(total);
        int index = 0;
        for (int w : weights) {
            if (x < w) return index;
            x -= w;
            ++index;
        }
        return index - 1;
    }
    int weighted(std::initializer_list<int> weights) {
        return weighted<std::initializer_list<int>>(weights);
    }

private:
    std::mt19937_64 engine_;
};
