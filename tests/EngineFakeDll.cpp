#include "tests/EngineFakeDll.h"
#include "engine/hardware/DDSTarnDll.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace {
struct FakeData {
    std::vector<std::string> calls;
    bool present = true;
    int points = 1000;
    int periods = 1;
    bool writePlan = true;
    std::deque<double> readings;
    double lastReading = 0.0;
    unsigned short digitalIn = 0;
    std::function<void()> checkHook;
    std::vector<unsigned short> download;
};

std::mutex g_lock;
FakeData g_data;

/// Runs f on the state under the lock.
template <class F> auto Locked(F f) {
    std::lock_guard<std::mutex> lock(g_lock);
    return f(g_data);
}

int Record(const char* format, ...) __attribute__((format(printf, 1, 2)));
int Record(const char* format, ...) {
    char text[128];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    Locked([&](FakeData& d) { d.calls.push_back(text); });
    return 1;
}
} // namespace

void CFakeDll::Reset() {
    Locked([](FakeData& d) { d = FakeData(); });
}
std::vector<std::string> CFakeDll::Calls() {
    return Locked([](FakeData& d) { return d.calls; });
}
void CFakeDll::ClearCalls() {
    Locked([](FakeData& d) { d.calls.clear(); });
}
void CFakeDll::SetPresent(bool present) {
    Locked([&](FakeData& d) { d.present = present; });
}
void CFakeDll::SetPlan(int points, int periods, bool write) {
    Locked([&](FakeData& d) {
        d.points = points;
        d.periods = periods;
        d.writePlan = write;
    });
}
void CFakeDll::QueueReadings(const std::vector<double>& readings) {
    Locked([&](FakeData& d) {
        d.readings.insert(d.readings.end(), readings.begin(), readings.end());
    });
}
void CFakeDll::SetDigitalIn(unsigned short value) {
    Locked([&](FakeData& d) { d.digitalIn = value; });
}
void CFakeDll::SetCheckHook(std::function<void()> hook) {
    Locked([&](FakeData& d) { d.checkHook = std::move(hook); });
}
std::vector<unsigned short> CFakeDll::LastDownload() {
    return Locked([](FakeData& d) { return d.download; });
}

extern "C" {

int DDSSearch(void) {
    return Record("DDSSearch()");
}
int DDSCheck(int index) {
    Record("DDSCheck(%d)", index);
    // The hook runs outside the lock: it may hold this call while other threads go on.
    const auto [hook, present] =
        Locked([](FakeData& d) { return std::pair(d.checkHook, d.present); });
    if (hook)
        hook();
    return present ? 1 : 0;
}
int DDSSetFrequency(int index, double frequency, int* points, int* periods) {
    Record("DDSSetFrequency(%d,%f)", index, frequency);
    return Locked([&](FakeData& d) {
        if (d.writePlan) {
            *points = d.points;
            *periods = d.periods;
        }
        return 1;
    });
}
int DDSDownload(int index, const unsigned short* samples, int count) {
    Locked([&](FakeData& d) { d.download.assign(samples, samples + count); });
    return Record("DDSDownload(%d,%d)", index, count);
}
int DDSSetSingleWave(int index, int on) {
    return Record("DDSSetSingleWave(%d,%d)", index, on);
}
int DDSSetTrigger(int index, int on, int edge) {
    return Record("DDSSetTrigger(%d,%d,%d)", index, on, edge);
}
int DDSSetPowerOnOutput(int index, int on) {
    return Record("DDSSetPowerOnOutput(%d,%d)", index, on);
}
int DDSGetMeasure(int index, int mode, double* value) {
    Record("DDSGetMeasure(%d,%d)", index, mode);
    *value = Locked([](FakeData& d) {
        if (!d.readings.empty()) {
            d.lastReading = d.readings.front();
            d.readings.pop_front();
        }
        return d.lastReading;
    });
    return 1;
}
int DDSResetCounter(int index) {
    return Record("DDSResetCounter(%d)", index);
}
int DDSSetDIOMode(int index, int mode) {
    return Record("DDSSetDIOMode(%d,%d)", index, mode);
}
int DDSSetDigitalOut(int index, unsigned short value) {
    return Record("DDSSetDigitalOut(%d,%d)", index, value);
}
int DDSGetDigitalIn(int index, unsigned short* value) {
    *value = Locked([](FakeData& d) { return d.digitalIn; });
    return Record("DDSGetDigitalIn(%d)", index);
}

} // extern "C"
