// A stand-in real driver: answers with recognisable values and remembers its calls.
#include <cstdio>
#include <mutex>
#include <string>

namespace {
std::mutex g_lock;
int g_calls = 0;
std::string g_last;

void Note(const char* text) {
    std::lock_guard<std::mutex> lock(g_lock);
    ++g_calls;
    g_last = text;
}
} // namespace

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
    Note("DDSSearch");
    return 7;
}
int DDSCheck(int) {
    Note("DDSCheck");
    return 5;
}
int DDSSetFrequency(int, double, int* points, int* periods) {
    Note("DDSSetFrequency");
    *points = 123;
    *periods = 4;
    return 1;
}
int DDSDownload(int, const unsigned short*, int count) {
    Note("DDSDownload");
    return count;
}
int DDSSetSingleWave(int, int) {
    Note("DDSSetSingleWave");
    return 1;
}
int DDSSetTrigger(int, int, int) {
    Note("DDSSetTrigger");
    return 1;
}
int DDSSetPowerOnOutput(int, int) {
    Note("DDSSetPowerOnOutput");
    return 1;
}
int DDSGetMeasure(int, int mode, double* value) {
    Note("DDSGetMeasure");
    *value = mode == 0 ? 4321.0 : 99.0;
    return 1;
}
int DDSResetCounter(int) {
    Note("DDSResetCounter");
    return 1;
}
int DDSSetDIOMode(int, int) {
    Note("DDSSetDIOMode");
    return 1;
}
int DDSSetDigitalOut(int, unsigned short) {
    Note("DDSSetDigitalOut");
    return 1;
}
int DDSGetDigitalIn(int, unsigned short* value) {
    Note("DDSGetDigitalIn");
    *value = 0xAB;
    return 1;
}

} // extern "C"
