// One 4096-sample download buffer of 12-bit codes per wave type, built as DownloadWaveform
// builds it. bench/numpy_peer.py builds the same buffers with numpy for comparison.
#include "engine/DDSDevice.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

namespace {

const char* const kWaveNames[] = {"Sine",     "Ramp", "Square",     "Exponent",  "Arb",
                                  "Trapezia", "AM",   "GaussNoise", "WhiteNoise"};

// The record both sides synthesise from (numpy_peer.py repeats these values).
void Prepare(CDDSDevice& device, int type) {
    device.m_nWaveType = type;
    device.m_nPoints = 4096;
    device.m_nPeriods = 4;
    device.m_fAmplitude = 2.0f;
    device.m_dOffset = 0.5;
    device.m_dFrequency = 1000.0;
    device.m_nPointsPerPeriod = 1024;
    for (int i = 0; i < kMaxPoints; ++i)
        device.m_fArb[i] = static_cast<float>(3.0 * std::sin(i * 0.0061359231515425647));
}

void BM_Waveform(benchmark::State& state) {
    CDDSDevice device;
    Prepare(device, static_cast<int>(state.range(0)));
    unsigned short codes[kMaxPoints];
    for (auto _ : state) {
        benchmark::DoNotOptimize(device.BuildWaveform(codes));
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_Waveform)->DenseRange(0, 8)->Unit(benchmark::kMicrosecond)->MinTime(0.2);

} // namespace
