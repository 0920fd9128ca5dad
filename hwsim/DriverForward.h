#pragma once
#include <string>

/// The real driver named by the environment variable DDSTARN_DRIVER: when it loads, every
/// generator call goes to it instead of the simulated bank.
class CDriverForward {
public:
    /// The loaded driver, or nullptr when none is named or it cannot be used.
    static const CDriverForward* Active();
    /// A driver is named but cannot be used: no generator is found (every window is a demo).
    static bool Refused();
    /// Why the named driver is not used, naming its path; empty when it is or none is named.
    static std::string Problem();

    /// Opens path and finds all twelve functions; on failure m_strProblem says why.
    bool Load(const char* path);

    int (*m_pfnSearch)(void) = nullptr;
    int (*m_pfnCheck)(int) = nullptr;
    int (*m_pfnSetFrequency)(int, double, int*, int*) = nullptr;
    int (*m_pfnDownload)(int, const unsigned short*, int) = nullptr;
    int (*m_pfnSetSingleWave)(int, int) = nullptr;
    int (*m_pfnSetTrigger)(int, int, int) = nullptr;
    int (*m_pfnSetPowerOnOutput)(int, int) = nullptr;
    int (*m_pfnGetMeasure)(int, int, double*) = nullptr;
    int (*m_pfnResetCounter)(int) = nullptr;
    int (*m_pfnSetDIOMode)(int, int) = nullptr;
    int (*m_pfnSetDigitalOut)(int, unsigned short) = nullptr;
    int (*m_pfnGetDigitalIn)(int, unsigned short*) = nullptr;
    std::string m_strProblem;
};
