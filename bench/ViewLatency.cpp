// Latency from a frequency typed into a device window to the matching buffer at its simulated
// generator, with four device windows (four workers) open.
#include "bench/LatencyCounters.h"
#include "tests/ViewTestSupport.h"

#include "res/Resource.h"
#include "widgets/StepEdit.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace {

constexpr int kDevices = 4;
const char* const kTexts[2] = {"1000", "1234.5"};
constexpr double kValues[2] = {1000.0, 1234.5};

CViewHarness* s_pHarness = nullptr;

/// Waits until unit 0 plays `hz` from `buffer`; false after two seconds.
bool WaitFor(double hz, const std::vector<unsigned short>* buffer) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < deadline) {
        const SimUnitState unit = SimGetUnit(0);
        if (unit.frequency == hz && (!buffer || unit.buffer == *buffer))
            return true;
        // Polling must not take the core the workers need.
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    return false;
}

void TypedFrequencyToBuffer(benchmark::State& state) {
    CStepEdit* field = static_cast<CStepEdit*>(s_pHarness->View(0)->Control(IDC_FREQUENCY));
    // The buffers both frequencies produce, so an iteration ends at the right download.
    std::vector<unsigned short> expected[2];
    for (int i = 0; i < 2; ++i) {
        field->setText(QString::fromLatin1(kTexts[i]));
        WaitFor(kValues[i], nullptr);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        expected[i] = SimGetUnit(0).buffer;
    }
    if (expected[0] == expected[1]) {
        state.SkipWithError("both frequencies give the same buffer");
        return;
    }

    std::vector<double> latencies;
    int which = 0;
    for (auto _ : state) {
        which ^= 1;
        const auto start = std::chrono::steady_clock::now();
        field->setText(QString::fromLatin1(kTexts[which]));
        if (!WaitFor(kValues[which], &expected[which])) {
            state.SkipWithError("the buffer never arrived");
            return;
        }
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        latencies.push_back(elapsed.count() * 1e6);
    }
    ReportLatencies(state, std::move(latencies));
}

BENCHMARK(TypedFrequencyToBuffer)->UseManualTime()->Iterations(2000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    CViewHarness harness(kDevices);
    for (int i = 1; i < kDevices; ++i)
        harness.Open();
    s_pHarness = &harness;

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    s_pHarness = nullptr;
    return 0;
}
