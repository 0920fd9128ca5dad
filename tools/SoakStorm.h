#pragma once
#include "control/DeviceControl.h"
#include "engine/DDSDevice.h"
#include "engine/DeviceWorker.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

/// Eight device records with their workers on the simulated bank, under a storm: one thread
/// (standing in for the user interface) makes random changes through the device control,
/// one unplugs and replugs random units every few milliseconds, one reads the measurements
/// as the view's timers do. Then everything settles and each unit is compared with its record.
class CSoakStorm {
public:
    static constexpr int kRecords = 8;

    struct Options {
        long nChanges = 100000;
        int nUnits = kRecords; ///< Units on the bank; records beyond them are demos.
        std::uint32_t nSeed = 1;
        /// The simulated user's pause after each change (not counted in the setter's time).
        std::chrono::microseconds pause{20};
    };

    /// What the run saw.
    struct Figures {
        long nChanges = 0;
        double dStormSeconds = 0.0;
        long nCycles = 0;    ///< Unplug/replug cycles of units whose record noticed.
        long nUnnoticed = 0; ///< Units replugged before their record saw them gone.
        long nReads = 0;     ///< Measurement reads of all records.
        double dLongestSetterUs = 0.0;
        double dSetter999Us = 0.0; ///< 99.9 % of the setters returned within this.
        long nSettersOver100Us = 0;
        double dLongestSetterCpuUs = 0.0; ///< The setter thread's own CPU time, at most.
        double dSetterCpu999Us = 0.0;     ///< ... for 99.9 % of the setters.
        long nSettersBlocked = 0;         ///< Setters during which the thread waited.
        double dSettleSeconds = 0.0;
        bool bSettled = false;
        int nBound = 0;
        int nDemo = 0;
        std::vector<std::string> mismatches;
    };

    explicit CSoakStorm(const Options& options);
    ~CSoakStorm();
    CSoakStorm(const CSoakStorm&) = delete;
    CSoakStorm& operator=(const CSoakStorm&) = delete;

    Figures Run();

private:
    using Clock = std::chrono::steady_clock;

    void Open();
    void ChangeLoop();
    void Change(std::mt19937& random, CDeviceControl& control);
    void PlugLoop();
    void ReadLoop();
    /// Waits until every bound unit answers, every queue is empty and the digital word has
    /// reached each unit; false when that takes longer than any healthy worker could.
    bool Settle();

    Options m_options;
    Figures m_figures;
    std::array<CDDSDevice, kRecords> m_devices;
    std::vector<std::unique_ptr<CDeviceControl>> m_controls;
    std::array<CDeviceWorker, kRecords> m_workers;
    std::vector<float> m_setterUs;    ///< Every setter's time on the user-interface thread.
    std::vector<float> m_setterCpuUs; ///< Every setter's own CPU time.
    std::atomic<bool> m_bStorming{false};
};
