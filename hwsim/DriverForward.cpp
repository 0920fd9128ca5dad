#include "hwsim/DriverForward.h"
#include "engine/hardware/DDSTarnDll.h"
#include "hwsim/DriverStatus.h"

#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fstream>
#include <sys/stat.h>

namespace {
struct CLoadState {
    CDriverForward driver;
    bool bNamed = false;
    bool bLoaded = false;
};

const CLoadState& State() {
    static const CLoadState state = [] {
        CLoadState s;
        const char* path = std::getenv("DDSTARN_DRIVER");
        s.bNamed = path != nullptr && *path != '\0';
        // The program tells its user why a refused driver is not used (SimDriverProblem).
        s.bLoaded = s.bNamed && s.driver.Load(path);
        return s;
    }();
    return state;
}

/// The class byte and machine field of an ELF header; false when the file is no ELF.
bool ReadElfIdentity(const char* path, unsigned char& elfClass, unsigned short& machine) {
    unsigned char header[20] = {};
    std::ifstream file(path, std::ios::binary);
    if (!file.read(reinterpret_cast<char*>(header), sizeof header) || std::memcmp(header,
                                                                                  "\x7f"
                                                                                  "ELF",
                                                                                  4) != 0)
        return false;
    elfClass = header[4];
    // Every machine this program runs on is little-endian, and so is the field in their files.
    machine = static_cast<unsigned short>(header[18] | header[19] << 8);
    return true;
}

/// Why dlopen refused path, in words a user understands; dlerror() alone says "No such file"
/// for an ELF of another machine.
std::string DescribeOpenFailure(const char* path, const char* error) {
    struct stat info {};
    const std::string where = std::string("The driver library ") + path;
    if (stat(path, &info) != 0)
        return where + " does not exist.";
    unsigned char wantedClass = 0, fileClass = 0;
    unsigned short wantedMachine = 0, fileMachine = 0;
    if (!S_ISREG(info.st_mode) || !ReadElfIdentity(path, fileClass, fileMachine))
        return where + " is not a shared library.";
    if (ReadElfIdentity("/proc/self/exe", wantedClass, wantedMachine) &&
        (fileClass != wantedClass || fileMachine != wantedMachine))
        return where + " is built for another processor architecture (ELF machine " +
               std::to_string(fileMachine) + (fileClass == 1 ? ", 32-bit" : ", 64-bit") +
               "; this computer needs ELF machine " + std::to_string(wantedMachine) + ").";
    return where + " cannot be loaded: " + (error ? error : "unknown error") + ".";
}

template <typename T>
void Resolve(void* library, const char* name, T& function, std::string& missing) {
    function = reinterpret_cast<T>(dlsym(library, name));
    if (function == nullptr)
        missing += (missing.empty() ? "" : ", ") + std::string(name);
}
} // namespace

const CDriverForward* CDriverForward::Active() {
    const CLoadState& state = State();
    return state.bLoaded ? &state.driver : nullptr;
}

bool CDriverForward::Refused() {
    const CLoadState& state = State();
    return state.bNamed && !state.bLoaded;
}

std::string CDriverForward::Problem() {
    return Refused() ? State().driver.m_strProblem : std::string();
}

bool CDriverForward::Load(const char* path) {
    m_strProblem.clear();
    void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        m_strProblem = DescribeOpenFailure(path, dlerror());
        return false;
    }
    std::string missing;
    Resolve(library, "DDSSearch", m_pfnSearch, missing);
    Resolve(library, "DDSCheck", m_pfnCheck, missing);
    Resolve(library, "DDSSetFrequency", m_pfnSetFrequency, missing);
    Resolve(library, "DDSDownload", m_pfnDownload, missing);
    Resolve(library, "DDSSetSingleWave", m_pfnSetSingleWave, missing);
    Resolve(library, "DDSSetTrigger", m_pfnSetTrigger, missing);
    Resolve(library, "DDSSetPowerOnOutput", m_pfnSetPowerOnOutput, missing);
    Resolve(library, "DDSGetMeasure", m_pfnGetMeasure, missing);
    Resolve(library, "DDSResetCounter", m_pfnResetCounter, missing);
    Resolve(library, "DDSSetDIOMode", m_pfnSetDIOMode, missing);
    Resolve(library, "DDSSetDigitalOut", m_pfnSetDigitalOut, missing);
    Resolve(library, "DDSGetDigitalIn", m_pfnGetDigitalIn, missing);
    if (!missing.empty())
        m_strProblem = std::string("The driver library ") + path + " lacks " + missing + ".";
    // Naming this very library would forward every call to itself for ever.
    else if (m_pfnSearch == &DDSSearch)
        m_strProblem =
            std::string("The driver library ") + path + " is this simulator itself, not a driver.";
    if (m_strProblem.empty())
        return true;
    dlclose(library);
    return false;
}

std::string SimDriverProblem() {
    return CDriverForward::Problem();
}

bool SimBankInUse() {
    return !State().bNamed;
}
