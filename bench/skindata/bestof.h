// The time of one run of a piece of work, for the skin data benches.
#pragma once

#include <algorithm>
#include <chrono>

namespace srt::bench {

// The fastest of at least `minRuns` runs taking `minSeconds` in all: the
// figure least disturbed by other work on the machine.
template <class F>
double SecondsPerRun(F&& f, int minRuns, double minSeconds) {
    using Clock = std::chrono::steady_clock;
    int runs = 0;
    double best = 1e9, total = 0;
    do {
        const auto start = Clock::now();
        f();
        const double t = std::chrono::duration<double>(Clock::now() - start).count();
        best = std::min(best, t);
        total += t;
        ++runs;
    } while (runs < minRuns || total < minSeconds);
    return best;
}

}  // namespace srt::bench
