// Floors for the benchmarks: the time of the least work that touches the same bytes, measured in
// the same process just before the benchmark, so that the ratio to it holds on a busy machine.
// Times are the thread's processor time (user and system), which other programs on the machine
// disturb far less than the clock on the wall.
#pragma once

#include <benchmark/benchmark.h>

#include <ctime>
#include <map>
#include <string>

namespace benchfloor {

inline double Now()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Mean seconds per call of op, over calls that run for at least minSeconds in all.
template <class Op>
double SecondsPerCall(Op&& op, double minSeconds = 0.05)
{
    op(); // warm caches and pages
    long calls = 0;
    const double start = Now();
    double elapsed = 0;
    do {
        op();
        ++calls;
        elapsed = Now() - start;
    } while (elapsed < minSeconds);
    return elapsed / double(calls);
}

// Times a benchmark's loop itself and reports it as a ratio to a floor ("x_floor"). Start it
// right before the loop and Finish it right after.
class RatioTimer {
public:
    explicit RatioTimer(double floorSeconds) : mFloor(floorSeconds), mStart(Now()) {}
    // The loop's mean seconds per iteration; also sets the counter.
    double Finish(benchmark::State& state)
    {
        const double perIteration = (Now() - mStart) / double(state.iterations() > 0 ? state.iterations() : 1);
        state.counters["x_floor"] = perIteration / mFloor;
        return perIteration;
    }

private:
    double mFloor;
    double mStart;
};

// Per-item cost of a benchmark family at its smallest size, so that larger sizes report how far
// their per-item cost has grown ("x_per_item_vs_smallest").
inline void ReportGrowth(benchmark::State& state, const std::string& family, double secondsPerItem, bool smallest)
{
    static std::map<std::string, double> base;
    if (smallest)
        base[family] = secondsPerItem;
    else if (base.count(family) != 0 && base[family] > 0)
        state.counters["x_per_item_vs_smallest"] = secondsPerItem / base[family];
}

} // namespace benchfloor
