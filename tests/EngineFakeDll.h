#pragma once
#include "engine/DDSDevice.h"

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

/// What the fake generator library answers, and every call it was asked in order.
struct CFakeState {
    std::vector<std::string> calls; ///< e.g. "DDSSetFrequency(0,1000.000000)"
    int points = 1000;
    int periods = 1;
    bool writePlan = true;           ///< false: DDSSetFrequency leaves its outputs untouched
    std::deque<double> readings;     ///< DDSGetMeasure hands them out in turn; the last one repeats
    std::function<void()> checkHook; ///< runs inside DDSCheck, outside the lock
    int present = 1;                 ///< what DDSCheck answers
    std::vector<unsigned short> download;
};

/// A scriptable stand-in for the generator library; thread-safe.
class CFakeDll {
public:
    /// The state, locked while the handle lives (to the end of the statement if unnamed).
    struct CLocked {
        std::unique_lock<std::mutex> lock;
        CFakeState* operator->() const { return &s_state; }
        CFakeState& operator*() const { return s_state; }
    };
    static CLocked Lock() { return {std::unique_lock<std::mutex>(s_lock)}; }

    static void Reset() { *Lock() = CFakeState(); }
    static std::vector<std::string> Calls() { return Lock()->calls; }
    static void SetPlan(int points, int periods, bool write = true) {
        const CLocked s = Lock();
        std::tie(s->points, s->periods, s->writePlan) = std::tuple(points, periods, write);
    }

private:
    static inline std::mutex s_lock;
    static inline CFakeState s_state;
};

/// Makes a record stand for `unit` with nothing left in its queue.
inline void BindEmpty(CDDSDevice& device, int unit = 0) {
    device.m_bDemo = 0;
    device.m_nDevice = unit;
    while (device.TakeCommand() != 0) {
    }
}
