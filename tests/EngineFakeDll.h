#pragma once
#include "engine/DDSDevice.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

/// A scriptable stand-in for the generator library: records every call in order and answers
/// from what the test set up. Thread-safe.
class CFakeDll {
public:
    static void Reset();
    /// Calls so far, e.g. "DDSSetFrequency(0,1000.000000)", "DDSDownload(0,1000)".
    static std::vector<std::string> Calls();
    static void ClearCalls();

    static void SetPresent(bool present);
    /// What DDSSetFrequency reports; with write = false it leaves the outputs untouched.
    static void SetPlan(int points, int periods, bool write = true);
    /// Readings handed out by DDSGetMeasure in turn; the last one repeats.
    static void QueueReadings(const std::vector<double>& readings);
    static void SetDigitalIn(unsigned short value);
    /// Called inside DDSCheck (to hold a step in the middle).
    static void SetCheckHook(std::function<void()> hook);

    static std::vector<unsigned short> LastDownload();
};

/// Makes a record stand for `unit` with nothing left in its queue.
inline void BindEmpty(CDDSDevice& device, int unit = 0) {
    device.m_bDemo = 0;
    device.m_nDevice = unit;
    while (device.TakeCommand() != 0) {
    }
}
