// Whole-program start-up: from starting the process to its main window shown and back to
// exit (offscreen, one simulated generator), against a bare Qt window program started the
// same way in the same run. Peak memory is the child's maximum resident set.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

/// Runs a program to its end; returns false when it could not start or failed.
bool RunProgram(const char* path, long& peakKilobytes) {
    std::vector<std::string> settings;
    for (char** entry = environ; *entry; ++entry)
        settings.emplace_back(*entry);
    settings.emplace_back("QT_QPA_PLATFORM=offscreen");
    settings.emplace_back("DDSTARN_SIM_UNITS=1");
    settings.emplace_back("DDSTARN_QUIT_AFTER_SHOW=1");
    std::vector<char*> env;
    for (std::string& entry : settings)
        env.push_back(entry.data());
    env.push_back(nullptr);
    char* argv[] = {const_cast<char*>(path), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, path, nullptr, nullptr, argv, env.data()) != 0)
        return false;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return false;
    peakKilobytes = std::max(peakKilobytes, usage.ru_maxrss);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void Measure(benchmark::State& state, const char* path) {
    long peak = 0;
    for (auto _ : state) {
        if (!RunProgram(path, peak)) {
            state.SkipWithError("the program did not run to a clean exit");
            return;
        }
    }
    state.counters["PeakMB"] = double(peak) / 1024.0;
}

void BM_BareQtWindow(benchmark::State& state) {
    Measure(state, DDSTARN_BARE_WINDOW);
}

void BM_ProgramStartShowExit(benchmark::State& state) {
    Measure(state, DDSTARN_PROGRAM);
}

} // namespace

BENCHMARK(BM_BareQtWindow)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_ProgramStartShowExit)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK_MAIN();
