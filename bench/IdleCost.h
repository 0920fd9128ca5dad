#pragma once
// What the idle benchmarks measure: process CPU milliseconds per wall second, and their baseline,
// threads that do nothing but sleep 1 ms in a loop.
#include "bench/SleepLoops.h"

#include <chrono>
#include <ctime>
#include <thread>

/// CPU seconds the process (or with CLOCK_THREAD_CPUTIME_ID, the calling thread) has used.
inline double CpuSeconds(clockid_t clock = CLOCK_PROCESS_CPUTIME_ID) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

/// Process CPU ms per wall second over `window` after `warmUp`, while wait(span) lets time pass.
template <typename Wait>
double CpuMsPerSecond(std::chrono::milliseconds warmUp, std::chrono::milliseconds window,
                      Wait wait) {
    wait(warmUp);
    const auto wallFrom = std::chrono::steady_clock::now();
    const double cpuFrom = CpuSeconds();
    wait(window);
    const double cpu = CpuSeconds() - cpuFrom;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallFrom).count();
    return cpu / wall * 1000.0;
}

inline double CpuMsPerSecond(std::chrono::milliseconds warmUp, std::chrono::milliseconds window) {
    return CpuMsPerSecond(warmUp, window, [](auto span) { std::this_thread::sleep_for(span); });
}

/// The cost of `count` threads sleeping 1 ms in a loop.
inline double SleepLoopCost(int count, std::chrono::milliseconds warmUp,
                            std::chrono::milliseconds window) {
    const CSleepLoops loops(count);
    return CpuMsPerSecond(warmUp, window);
}
