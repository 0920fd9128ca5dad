#pragma once
#include "hwsim/CallLog.h"
#include "hwsim/SimUnit.h"

#include <mutex>
#include <vector>

/// The simulated generators of the process and the log of calls made to them. Every access
/// holds m_lock: the workers of several devices and the user-interface thread call at once.
class CSimBank {
public:
    /// The one bank; its size comes from DDSTARN_SIM_UNITS (default 1) until Reset.
    static CSimBank& Get();

    std::mutex m_lock;
    CCallLog m_log;

    void Reset(int units);
    int Size() const { return static_cast<int>(m_units.size()); }
    /// The unit at index, or nullptr outside the bank.
    CSimUnit* Unit(int index);
    /// The unit at index when it answers, else nullptr.
    CSimUnit* Answering(int index);

private:
    CSimBank();
    std::vector<CSimUnit> m_units;
};
