// Timing shared by the benchmarks: each figure is the best of several timed
// rounds, and every result line has the same tab-separated form, which
// scripts/bench.sh turns into the table.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Seconds per call of `work`, the best round of `rounds`, each round at least
// `minRound` seconds long (so short calls are repeated enough to be timed).
template <typename Work>
double BestSecondsPerCall(Work&& work, int rounds = 15, double minRound = 0.02)
{
    int calls = 1;
    for (;;) { // calibrate the calls per round
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < calls; ++i) work();
        if (Seconds(start) >= minRound || calls >= (1 << 24)) break;
        calls *= 2;
    }
    double best = 1e30;
    for (int r = 0; r < rounds; ++r) {
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < calls; ++i) work();
        best = std::min(best, Seconds(start) / calls);
    }
    return best;
}

// One line of the table: the measure, the project's figure and the floor's in
// `unit`, the ratio and the goal for it.
inline void Report(const char* measure, double project, double floor, const char* unit, double goal)
{
    std::printf("RESULT\t%s\t%.3f %s\t%.3f %s\t%.2f x\t%.1f x\n", measure, project, unit, floor, unit,
                project / floor, goal);
    std::fflush(stdout);
}

} // namespace bench
