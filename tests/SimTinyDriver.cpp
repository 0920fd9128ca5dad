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
int DDSSetFrequency(int, double, int* points, int* periods) {
    Note("DDSSetFrequency");
    *points = 123;
    *periods = 4;
    return 1;
}
int DDSDownload(int, const unsigned short*, int count) {
    return Note("DDSDownload", count);
}
int DDSSetSingleWave(int, int) {
    return Note("DDSSetSingleWave");
}
int DDSSetTrigger(int, int, int) {
    return Note("DDSSetTrigger");
}
int DDSSetPowerOnOutput(int, int) {
    return Note("DDSSetPowerOnOutput");
}
int DDSGetMeasure(int, int mode, double* value) {
    Note("DDSGetMeasure");
    *value = mode == 0 ? 4321.0 : 99.0;
    return 1;
}
int DDSResetCounter(int) {
    return Note("DDSResetCounter");
}
int DDSSetDIOMode(int, int) {
    return Note("DDSSetDIOMode");
}
int DDSSetDigitalOut(int, unsigned short) {
    return Note("DDSSetDigitalOut");
}
int DDSGetDigitalIn(int, unsigned short* value) {
    Note("DDSGetDigitalIn");
    *value = 0xAB;
    return 1;
}

} // extern "C"
