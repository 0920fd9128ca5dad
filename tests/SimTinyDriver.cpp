// A stand-in real driver: answers with recognisable values and remembers its calls.
#include <mutex>
#include <string>
#ifdef TINY_DRIVER_HANGING
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <unistd.h>
#endif

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
#ifdef TINY_DRIVER_HANGING
std::atomic<int> g_held{0};

/// A driver stuck in its transport: every call waits while the file TINY_DRIVER_HOLD names
/// exists (a minute at most, so a forgotten file cannot keep a test for ever).
void Hold() {
    const char* file = std::getenv("TINY_DRIVER_HOLD");
    if (file == nullptr || access(file, F_OK) != 0)
        return;
    ++g_held;
    const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (access(file, F_OK) == 0 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    --g_held;
}
#else
inline void Hold() {}
#endif
} // namespace

// A driver function: its name, parameters, its answer, and what it stores before noting the call.
#ifndef TINY_DRIVER_FAILING
#define NOTED(name, params, answer, ...)                                                           \
    int name params {                                                                              \
        Hold();                                                                                    \
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

#ifdef TINY_DRIVER_HANGING
/// Calls waiting inside the driver right now.
int TinyDriverHeld() {
    return g_held.load();
}
#endif

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
