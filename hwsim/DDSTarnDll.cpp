// The twelve generator functions: logged, then sent to the real driver when one is named,
// else played by the simulated bank (none at all when the named driver cannot be used).
#include "engine/hardware/DDSTarnDll.h"
#include "hwsim/DriverForward.h"
#include "hwsim/SimBank.h"

#include <algorithm>

namespace {

CCallLog::Entry Call(const char* name, int a) {
    CCallLog::Entry e;
    e.name = name;
    e.ints[0] = a;
    e.intCount = 1;
    return e;
}

CCallLog::Entry Call(const char* name, int a, int b) {
    CCallLog::Entry e = Call(name, a);
    e.ints[1] = b;
    e.intCount = 2;
    return e;
}

CCallLog::Entry Call(const char* name, int a, int b, int c) {
    CCallLog::Entry e = Call(name, a, b);
    e.ints[2] = c;
    e.intCount = 3;
    return e;
}

void Log(const CCallLog::Entry& entry) {
    CSimBank& bank = CSimBank::Get();
    std::lock_guard<std::mutex> lock(bank.m_lock);
    bank.m_log.Add(entry);
}

/// Logs the call, then hands it to the real driver when one is named, else to the simulated
/// bank under its lock.
template <typename Forward, typename Simulate>
int Dispatch(const CCallLog::Entry& entry, Forward forward, Simulate simulate) {
    if (const CDriverForward* driver = CDriverForward::Active()) {
        Log(entry);
        return forward(*driver);
    }
    // A driver was asked for and cannot be used: no generator, rather than simulated ones.
    if (CDriverForward::Refused()) {
        Log(entry);
        return 0;
    }
    CSimBank& bank = CSimBank::Get();
    std::lock_guard<std::mutex> lock(bank.m_lock);
    bank.m_log.Add(entry);
    return simulate(bank);
}

/// A call that acts on one unit: 0 while that unit does not answer (index -1 included, so
/// its outputs are left as they are).
template <typename Forward, typename Apply>
int OnUnit(const CCallLog::Entry& entry, int index, Forward forward, Apply apply) {
    return Dispatch(entry, forward, [&](CSimBank& bank) {
        CSimUnit* unit = bank.Answering(index);
        return unit == nullptr ? 0 : apply(*unit);
    });
}

} // namespace

extern "C" {

int DDSSearch(void) {
    CCallLog::Entry entry;
    entry.name = "DDSSearch";
    return Dispatch(
        entry, [](const CDriverForward& d) { return d.m_pfnSearch(); },
        [](CSimBank& bank) { return bank.Size(); });
}

int DDSCheck(int index) {
    return OnUnit(
        Call("DDSCheck", index), index,
        [&](const CDriverForward& d) { return d.m_pfnCheck(index); }, [](CSimUnit&) { return 1; });
}

int DDSSetFrequency(int index, double frequency, int* points, int* periods) {
    CCallLog::Entry entry = Call("DDSSetFrequency", index);
    entry.real = frequency;
    entry.hasReal = true;
    return OnUnit(
        entry, index,
        [&](const CDriverForward& d) {
            return d.m_pfnSetFrequency(index, frequency, points, periods);
        },
        [&](CSimUnit& unit) {
            unit.SetFrequency(frequency, points, periods);
            return 1;
        });
}

int DDSDownload(int index, const unsigned short* samples, int count) {
    return OnUnit(
        Call("DDSDownload", index, count), index,
        [&](const CDriverForward& d) { return d.m_pfnDownload(index, samples, count); },
        [&](CSimUnit& unit) {
            if (samples == nullptr || count < 0)
                return 0;
            const int kept = std::min(count, CFrequencyPlan::kMaxPoints);
            unit.m_state.buffer.assign(samples, samples + kept);
            return 1;
        });
}

int DDSSetSingleWave(int index, int on) {
    return OnUnit(
        Call("DDSSetSingleWave", index, on), index,
        [&](const CDriverForward& d) { return d.m_pfnSetSingleWave(index, on); },
        [&](CSimUnit& unit) {
            unit.m_state.singleWave = on;
            return 1;
        });
}

int DDSSetTrigger(int index, int on, int edge) {
    return OnUnit(
        Call("DDSSetTrigger", index, on, edge), index,
        [&](const CDriverForward& d) { return d.m_pfnSetTrigger(index, on, edge); },
        [&](CSimUnit& unit) {
            unit.m_state.triggerOn = on;
            unit.m_state.triggerEdge = edge;
            return 1;
        });
}

int DDSSetPowerOnOutput(int index, int on) {
    return OnUnit(
        Call("DDSSetPowerOnOutput", index, on), index,
        [&](const CDriverForward& d) { return d.m_pfnSetPowerOnOutput(index, on); },
        [&](CSimUnit& unit) {
            unit.m_state.powerOnOutput = on;
            return 1;
        });
}

int DDSGetMeasure(int index, int mode, double* value) {
    return OnUnit(
        Call("DDSGetMeasure", index, mode), index,
        [&](const CDriverForward& d) { return d.m_pfnGetMeasure(index, mode, value); },
        [&](CSimUnit& unit) {
            if (value == nullptr || (mode != 0 && mode != 1))
                return 0;
            *value = mode == 0 ? unit.MeasureFrequency() : unit.Count();
            return 1;
        });
}

int DDSResetCounter(int index) {
    return OnUnit(
        Call("DDSResetCounter", index), index,
        [&](const CDriverForward& d) { return d.m_pfnResetCounter(index); },
        [](CSimUnit& unit) {
            unit.ResetCounter();
            return 1;
        });
}

int DDSSetDIOMode(int index, int mode) {
    return OnUnit(
        Call("DDSSetDIOMode", index, mode), index,
        [&](const CDriverForward& d) { return d.m_pfnSetDIOMode(index, mode); },
        [&](CSimUnit& unit) {
            unit.m_state.dioMode = mode;
            return 1;
        });
}

int DDSSetDigitalOut(int index, unsigned short value) {
    return OnUnit(
        Call("DDSSetDigitalOut", index, value), index,
        [&](const CDriverForward& d) { return d.m_pfnSetDigitalOut(index, value); },
        [&](CSimUnit& unit) {
            unit.m_state.digitalOut = value;
            return 1;
        });
}

int DDSGetDigitalIn(int index, unsigned short* value) {
    return OnUnit(
        Call("DDSGetDigitalIn", index), index,
        [&](const CDriverForward& d) { return d.m_pfnGetDigitalIn(index, value); },
        [&](CSimUnit& unit) {
            if (value == nullptr)
                return 0;
            *value = unit.DigitalIn();
            return 1;
        });
}

} // extern "C"
