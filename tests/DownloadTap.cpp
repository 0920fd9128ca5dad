// Preloaded into the headless program by benchtop_e2e.py: every buffer, single-wave and trigger
// call on its way to the generator library is also written to DDSTARN_TAP_DIR/unit<N>.txt, so
// that a test outside the process reads what the simulated unit was sent.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace {

struct CUnit {
    int nSingle = 0;
    int nTrigger = 0;
    int nEdge = 0;
    std::vector<unsigned short> vCodes;
};

std::mutex g_lock;
std::map<int, CUnit> g_units;

template <typename F> F Next(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

/// Writes beside, then renames: a reader never sees half a file.
void Write(int index, const CUnit& unit) {
    const char* folder = std::getenv("DDSTARN_TAP_DIR");
    if (!folder)
        return;
    const std::string path = std::string(folder) + "/unit" + std::to_string(index) + ".txt";
    const std::string scratch = path + ".part";
    FILE* file = std::fopen(scratch.c_str(), "w");
    if (!file)
        return;
    std::fprintf(file, "single %d\ntrigger %d %d\ncodes", unit.nSingle, unit.nTrigger, unit.nEdge);
    for (unsigned short code : unit.vCodes)
        std::fprintf(file, " %u", code);
    std::fprintf(file, "\n");
    std::fclose(file);
    std::rename(scratch.c_str(), path.c_str());
}

} // namespace

extern "C" {

int DDSDownload(int index, const unsigned short* samples, int count) {
    static const auto next = Next<int (*)(int, const unsigned short*, int)>("DDSDownload");
    {
        std::lock_guard<std::mutex> lock(g_lock);
        CUnit& unit = g_units[index];
        unit.vCodes.assign(samples, samples + (count > 0 ? count : 0));
        Write(index, unit);
    }
    return next(index, samples, count);
}

int DDSSetSingleWave(int index, int on) {
    static const auto next = Next<int (*)(int, int)>("DDSSetSingleWave");
    {
        std::lock_guard<std::mutex> lock(g_lock);
        g_units[index].nSingle = on;
        Write(index, g_units[index]);
    }
    return next(index, on);
}

int DDSSetTrigger(int index, int on, int edge) {
    static const auto next = Next<int (*)(int, int, int)>("DDSSetTrigger");
    {
        std::lock_guard<std::mutex> lock(g_lock);
        g_units[index].nTrigger = on;
        g_units[index].nEdge = edge;
        Write(index, g_units[index]);
    }
    return next(index, on, edge);
}
}
