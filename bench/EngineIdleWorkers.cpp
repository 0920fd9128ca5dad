// CPU time of device workers on idle simulated units, against threads that only sleep 1 ms
// in a loop: what stepping costs beyond waking up.
#include "bench/IdleCost.h"
#include "engine/DDSDevice.h"
#include "engine/DeviceWorker.h"
#include "hwsim/SimControl.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr auto kWarmUp = 100ms;
constexpr auto kWindow = 600ms;

// count workers stepping idle simulated units (bound, programmed, queue worked off).
double IdleWorkers(int count) {
    SimReset(count);
    std::vector<std::unique_ptr<CDDSDevice>> devices;
    std::vector<std::unique_ptr<CDeviceWorker>> workers;
    std::vector<int> used;
    for (int i = 0; i < count; ++i) {
        auto device = std::make_unique<CDDSDevice>();
        CDDSDevice::BindContext context;
        context.foundDevices = count;
        context.usedIndices = used;
        context.chooseDevice = [](const std::vector<int>& free) { return free.front(); };
        device->BindHardware(context);
        used.push_back(device->m_nDevice);
        device->ApplyFrequency();
        devices.push_back(std::move(device));
    }
    for (auto& device : devices) {
        workers.push_back(std::make_unique<CDeviceWorker>());
        workers.back()->Start(device.get());
    }
    const double cost = CpuMsPerSecond(kWarmUp, kWindow);
    for (auto it = workers.rbegin(); it != workers.rend(); ++it)
        (*it)->Stop();
    return cost;
}

// Both in turn within one iteration, so a change in the machine's load hits both alike.
void BM_IdleCost(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const double bare = SleepLoopCost(count, kWarmUp, kWindow);
        const double workers = IdleWorkers(count);
        state.counters["sleep_cpu_ms_per_s"] = bare;
        state.counters["workers_cpu_ms_per_s"] = workers;
        state.counters["ratio"] = workers / bare;
    }
}

// More runs than the buffers get: a wake-up costs more than a step, so the machine's other
// load shows in single runs.
BENCHMARK(BM_IdleCost)->Arg(1)->Arg(4)->Arg(16)->Iterations(1)->Repetitions(7)->UseRealTime();

} // namespace
