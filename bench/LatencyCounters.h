#pragma once
// The latency figures every round-trip benchmark reports: p50, p99 and max in microseconds.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

inline void ReportLatencies(benchmark::State& state, std::vector<double> latencies) {
    if (latencies.empty())
        return;
    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double q) {
        return latencies[std::size_t(q * double(latencies.size() - 1))];
    };
    state.counters["p50_us"] = at(0.50);
    state.counters["p99_us"] = at(0.99);
    state.counters["max_us"] = latencies.back();
}
