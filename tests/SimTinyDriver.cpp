// A stand-in real driver: answers with recognisable values and remembers its calls.
#include <mutex>
#include <string>

namespace {
std::mutex g_lock;
int g_calls = 0;
std::string g_last;

/// Remembers the call and hands back what it should answer.
int Note(const char* text, int answer) {
    std::lock_guard<std::mutex> lock(g_lock);
    ++g_calls;
    g_last = text;
    return answer;
}
} // namespace

// A driver function: its name, parameters, its answer, and what it stores before noting the call.
#ifndef TINY_DRIVER_FAILING
#define NOTED(name, params, answer, ...)                                                           \
    int name params {                                                                              \
        __VA_ARGS__;                                                                               \
        return Note(#name, answer);                                                                \
    }
#else // every call fails and leaves its outputs alone
#define NOTED(name, params, answer, ...)                                                           \
    int name params {                                                                              \
        return Note(#name, -1);                                                                    \
    }
#endif

extern "C" {

/// The number of calls so far, and the name of the last one.
const char* TinyDriverCalls(int* count) {
    std::lock_guard<std::mutex> lock(g_lock);
    *count = g_calls;
    return g_last.c_str();
}

NOTED(DDSSearch, (void), 7)
#ifndef TINY_DRIVER_INCOMPLETE // a driver that lacks two of the twelve functions
NOTED(DDSCheck, (int), 5)
#endif
NOTED(DDSDownload, (int, const unsigned short*, int count), count)
NOTED(DDSSetFrequency, (int, double, int* points, int* periods), 1, *points = 123, *periods = 4)
NOTED(DDSGetMeasure, (int, int mode, double* value), 1, *value = mode == 0 ? 4321.0 : 99.0)
#ifndef TINY_DRIVER_INCOMPLETE
NOTED(DDSGetDigitalIn, (int, unsigned short* value), 1, *value = 0xAB)
#endif
NOTED(DDSSetSingleWave, (int, int), 1)
NOTED(DDSSetTrigger, (int, int, int), 1)
NOTED(DDSSetPowerOnOutput, (int, int), 1)
NOTED(DDSResetCounter, (int), 1)
NOTED(DDSSetDIOMode, (int, int), 1)
NOTED(DDSSetDigitalOut, (int, unsigned short), 1)

} // extern "C"
