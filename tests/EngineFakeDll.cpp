#include "tests/EngineFakeDll.h"
#include "engine/hardware/DDSTarnDll.h"

#include <cstdarg>
#include <cstdio>

namespace {
int Record(const char* format, ...) __attribute__((format(printf, 1, 2)));
int Record(const char* format, ...) {
    char text[128];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    CFakeDll::Lock()->calls.push_back(text);
    return 1;
}
} // namespace

// A call that only needs recording: its name, parameters, and their printf form.
#define RECORDED(name, params, format, ...)                                                        \
    int name params {                                                                              \
        return Record(#name "(" format ")" __VA_OPT__(, ) __VA_ARGS__);                            \
    }

extern "C" {

RECORDED(DDSSearch, (void), "")
RECORDED(DDSSetSingleWave, (int index, int on), "%d,%d", index, on)
RECORDED(DDSSetTrigger, (int index, int on, int edge), "%d,%d,%d", index, on, edge)
RECORDED(DDSSetPowerOnOutput, (int index, int on), "%d,%d", index, on)
RECORDED(DDSResetCounter, (int index), "%d", index)
RECORDED(DDSSetDIOMode, (int index, int mode), "%d,%d", index, mode)
RECORDED(DDSSetDigitalOut, (int index, unsigned short value), "%d,%d", index, value)

int DDSCheck(int index) {
    Record("DDSCheck(%d)", index);
    // The hook runs outside the lock: it may hold this call while other threads go on.
    if (std::function<void()> hook = CFakeDll::Lock()->checkHook)
        hook();
    return CFakeDll::Lock()->present;
}
int DDSSetFrequency(int index, double frequency, int* points, int* periods) {
    Record("DDSSetFrequency(%d,%f)", index, frequency);
    const CFakeDll::CLocked s = CFakeDll::Lock();
    if (s->writePlan)
        std::tie(*points, *periods) = std::pair(s->points, s->periods);
    return 1;
}
int DDSDownload(int index, const unsigned short* samples, int count) {
    CFakeDll::Lock()->download.assign(samples, samples + count);
    return Record("DDSDownload(%d,%d)", index, count);
}
int DDSGetMeasure(int index, int mode, double* value) {
    Record("DDSGetMeasure(%d,%d)", index, mode);
    const CFakeDll::CLocked s = CFakeDll::Lock();
    *value = s->readings.empty() ? 0.0 : s->readings.front();
    if (s->readings.size() > 1)
        s->readings.pop_front();
    return 1;
}
int DDSGetDigitalIn(int index, unsigned short* value) {
    *value = 0;
    return Record("DDSGetDigitalIn(%d)", index);
}

} // extern "C"
