#include "tests/EngineFakeDll.h"
#include "engine/hardware/DDSTarnDll.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace {
struct FakeState {
    std::mutex lock;
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

FakeState& State() {
    static FakeState state;
    return state;
}

void Record(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Record(const char* format, ...) {
    char text[128];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    FakeState& s = State();
    std::lock_guard<std::mutex> lock(s.lock);
    s.calls.push_back(text);
}
} // namespace

void CFakeDll::Reset() {
    FakeState& s = State();
    std::lock_guard<std::mutex> lock(s.lock);
    s.calls.clear();
    s.present = true;
    s.points = 1000;
    s.periods = 1;
    s.writePlan = true;
    s.readings.clear();
    s.lastReading = 0.0;
    s.digitalIn = 0;
    s.checkHook = nullptr;
    s.download.clear();
}

std::vector<std::string> CFakeDll::Calls() {
    std::lock_guard<std::mutex> lock(State().lock);
    return State().calls;
}

void CFakeDll::ClearCalls() {
    std::lock_guard<std::mutex> lock(State().lock);
    State().calls.clear();
}

void CFakeDll::SetPresent(bool present) {
    std::lock_guard<std::mutex> lock(State().lock);
    State().present = present;
}

void CFakeDll::SetPlan(int points, int periods, bool write) {
    std::lock_guard<std::mutex> lock(State().lock);
    State().points = points;
    State().periods = periods;
    State().writePlan = write;
}

void CFakeDll::QueueReadings(const std::vector<double>& readings) {
    std::lock_guard<std::mutex> lock(State().lock);
    State().readings.insert(State().readings.end(), readings.begin(), readings.end());
}

void CFakeDll::SetDigitalIn(unsigned short value) {
    std::lock_guard<std::mutex> lock(State().lock);
    State().digitalIn = value;
}

void CFakeDll::SetCheckHook(std::function<void()> hook) {
    std::lock_guard<std::mutex> lock(State().lock);
    State().checkHook = std::move(hook);
}

std::vector<unsigned short> CFakeDll::LastDownload() {
    std::lock_guard<std::mutex> lock(State().lock);
    return State().download;
}

extern "C" {

int DDSSearch(void) {
    Record("DDSSearch()");
    return 1;
}

int DDSCheck(int index) {
    Record("DDSCheck(%d)", index);
    std::function<void()> hook;
    bool present;
    {
        std::lock_guard<std::mutex> lock(State().lock);
        hook = State().checkHook;
        present = State().present;
    }
    if (hook)
        hook();
    return present ? 1 : 0;
}

int DDSSetFrequency(int index, double frequency, int* points, int* periods) {
    Record("DDSSetFrequency(%d,%f)", index, frequency);
    std::lock_guard<std::mutex> lock(State().lock);
    if (State().writePlan) {
        *points = State().points;
        *periods = State().periods;
    }
    return 1;
}

int DDSDownload(int index, const unsigned short* samples, int count) {
    Record("DDSDownload(%d,%d)", index, count);
    std::lock_guard<std::mutex> lock(State().lock);
    State().download.assign(samples, samples + count);
    return 1;
}

int DDSSetSingleWave(int index, int on) {
    Record("DDSSetSingleWave(%d,%d)", index, on);
    return 1;
}

int DDSSetTrigger(int index, int on, int edge) {
    Record("DDSSetTrigger(%d,%d,%d)", index, on, edge);
    return 1;
}

int DDSSetPowerOnOutput(int index, int on) {
    Record("DDSSetPowerOnOutput(%d,%d)", index, on);
    return 1;
}

int DDSGetMeasure(int index, int mode, double* value) {
    Record("DDSGetMeasure(%d,%d)", index, mode);
    std::lock_guard<std::mutex> lock(State().lock);
    FakeState& s = State();
    if (!s.readings.empty()) {
        s.lastReading = s.readings.front();
        s.readings.pop_front();
    }
    *value = s.lastReading;
    return 1;
}

int DDSResetCounter(int index) {
    Record("DDSResetCounter(%d)", index);
    return 1;
}

int DDSSetDIOMode(int index, int mode) {
    Record("DDSSetDIOMode(%d,%d)", index, mode);
    return 1;
}

int DDSSetDigitalOut(int index, unsigned short value) {
    Record("DDSSetDigitalOut(%d,%d)", index, value);
    return 1;
}

int DDSGetDigitalIn(int index, unsigned short* value) {
    Record("DDSGetDigitalIn(%d)", index);
    std::lock_guard<std::mutex> lock(State().lock);
    *value = State().digitalIn;
    return 1;
}

} // extern "C"
