// A stand-in real driver: answers with recognisable values and remembers its calls.
#include <cstdio>
#include <mutex>
#include <string>

namespace {
std::mutex g_lock;
int g_calls = 0;
std::string g_last;

/// Remembers the call and hands back what it should answer.
int Note(const char* text, int answer = 1) {
    std::lock_guard<std::mutex> lock(g_lock);
    ++g_calls;
    g_last = text;
    return answer;
}
} // namespace

// A driver function: its name, parameters, and what it answers after noting the call.
#define NOTED(name, params, ...)                                                                   \
    int name params {                                                                              \
        __VA_ARGS__;                                                                               \
        return Note(#name);                                                                        \
    }

extern "C" {

int TinyDriverCallCount(void) {
    std::lock_guard<std::mutex> lock(g_lock);
    return g_calls;
}
const char* TinyDriverLastCall(void) {
    std::lock_guard<std::mutex> lock(g_lock);
    return g_last.c_str();
}

int DDSSearch(void) {
    return Note("DDSSearch", 7);
}
int DDSCheck(int) {
    return Note("DDSCheck", 5);
}
int DDSDownload(int, const unsigned short*, int count) {
    return Note("DDSDownload", count);
}
NOTED(DDSSetFrequency, (int, double, int* points, int* periods), *points = 123, *periods = 4)
NOTED(DDSGetMeasure, (int, int mode, double* value), *value = mode == 0 ? 4321.0 : 99.0)
NOTED(DDSGetDigitalIn, (int, unsigned short* value), *value = 0xAB)
NOTED(DDSSetSingleWave, (int, int))
NOTED(DDSSetTrigger, (int, int, int))
NOTED(DDSSetPowerOnOutput, (int, int))
NOTED(DDSResetCounter, (int))
NOTED(DDSSetDIOMode, (int, int))
NOTED(DDSSetDigitalOut, (int, unsigned short))

} // extern "C"
