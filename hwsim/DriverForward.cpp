#include "hwsim/DriverForward.h"
#include "engine/hardware/DDSTarnDll.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

namespace {
template <typename T> bool Resolve(void* library, const char* name, T& function) {
    function = reinterpret_cast<T>(dlsym(library, name));
    if (function == nullptr)
        std::fprintf(stderr, "DDSTarnDll: the driver lacks %s\n", name);
    return function != nullptr;
}
} // namespace

const CDriverForward* CDriverForward::Active() {
    static const CDriverForward* active = []() -> const CDriverForward* {
        const char* path = std::getenv("DDSTARN_DRIVER");
        if (path == nullptr || *path == '\0')
            return nullptr;
        static CDriverForward driver;
        return driver.Load(path) ? &driver : nullptr;
    }();
    return active;
}

bool CDriverForward::Load(const char* path) {
    void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        std::fprintf(stderr, "DDSTarnDll: cannot load driver %s: %s\n", path, dlerror());
        return false;
    }
    const bool complete = Resolve(library, "DDSSearch", m_pfnSearch) &&
                          Resolve(library, "DDSCheck", m_pfnCheck) &&
                          Resolve(library, "DDSSetFrequency", m_pfnSetFrequency) &&
                          Resolve(library, "DDSDownload", m_pfnDownload) &&
                          Resolve(library, "DDSSetSingleWave", m_pfnSetSingleWave) &&
                          Resolve(library, "DDSSetTrigger", m_pfnSetTrigger) &&
                          Resolve(library, "DDSSetPowerOnOutput", m_pfnSetPowerOnOutput) &&
                          Resolve(library, "DDSGetMeasure", m_pfnGetMeasure) &&
                          Resolve(library, "DDSResetCounter", m_pfnResetCounter) &&
                          Resolve(library, "DDSSetDIOMode", m_pfnSetDIOMode) &&
                          Resolve(library, "DDSSetDigitalOut", m_pfnSetDigitalOut) &&
                          Resolve(library, "DDSGetDigitalIn", m_pfnGetDigitalIn);
    // Naming this very library would forward every call to itself for ever.
    if (complete && m_pfnSearch == &DDSSearch) {
        std::fprintf(stderr, "DDSTarnDll: %s is the simulator itself; not forwarding\n", path);
        return false;
    }
    if (!complete)
        dlclose(library);
    return complete;
}
