// The twelve generator functions: logged, then sent to the real driver when one is named,
// else played by the simulated bank.
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

const CDriverForward* Driver() {
    return CDriverForward::Active();
}

} // namespace

extern "C" {

int DDSSearch(void) {
    CCallLog::Entry entry;
    entry.name = "DDSSearch";
    if (const CDriverForward* d = Driver()) {
        Log(entry);
        return d->m_pfnSearch();
    }
    CSimBank& bank = CSimBank::Get();
    std::lock_guard<std::mutex> lock(bank.m_lock);
    bank.m_log.Add(entry);
    return bank.Size();
}

int DDSCheck(int index) {
    if (const CDriverForward* d = Driver()) {
        Log(Call("DDSCheck", index));
        return d->m_pfnCheck(index);
    }
    CSimBank& bank = CSimBank::Get();
    std::lock_guard<std::mutex> lock(bank.m_lock);
    bank.m_log.Add(Call("DDSCheck", index));
    return bank.Answering(index) != nullptr ? 1 : 0;
}

int DDSSetFrequency(int index, double frequency, int* points, int* periods) {
    CCallLog::Entry entry = Call("DDSSetFrequency", index);
    entry.real = frequency;
    entry.hasReal = true;
    if (const CDriverForward* d = Driver()) {
        Log(entry);
        return d->m_pfnSetFrequency(index, frequency, points, periods);
    }
    CSimBank& bank = CSimBank::Get();
    std::lock_guard<std::mutex> lock(bank.m_lock);
    bank.m_log.Add(entry);
    // No unit (index -1 included): the outputs are left as they are.
    CSimUnit* unit = bank.Answering(index);
    if (unit == nullptr)
        return 0;
    unit->SetFrequency(frequency, points, periods);
    return 1;
}

int DDSDownload(int index, const unsigned short* samples, int count) {
    if (const CDriverForward* d = Driver()) {
        Log(Call("DDSDownload", index, count));
        return d->m_pfnDownload(index, samples, count);
    }
    CSimBank& bank = CSimBank::Get();
    std::lock_guard<std::mutex> lock(bank.m_lock);
    bank.m_log.Add(Call("DDSDownload", index, count));
    CSimUnit* unit = bank.Answering(index);
    if (unit == nullptr || samples == nullptr || count < 0)
        return 0;
    const int kept = std::min(count, CFrequencyPlan::kMaxPoints);
    unit->m_state.buffer.assign(samples, samples + kept);
    return 1;
}

int DDSSetSingleWave(int index, int on) {
    if (const CDriverForward* d = Driver()) {
        Log(Call("DDSSetSingleWave", index, on));
        return d->m_pfnSetSingleWave(index, on);
    }
    CSimBank& bank = CSimBank::Get();
    std::lock_guard<std::mutex> lock(bank.m_lock);
    bank.m_log.Add(Call("DDSSetSingleWave", index, on));
    CSimUnit* unit = bank.Answering(index);
    if (unit == nullptr)
        return 0;
    unit->m_state.singleWave = on;
    return 1;
}

int DDSSetTrigger(int index, int on, int edge) {
    if (const CDriverForward* d = Driver()) {
        Log(Call("DDSSetTrigger", index, on, edge));
        return d->m_pfnSetTrigger(index, on, edge);
    }
    CSimBank& bank = CSimBank::Get();
    std::lock_guard<std::mutex> lock(bank.m_lock);
    bank.m_log.Add(Call("DDSSetTrigger", index, on, edge));
    CSimUnit* unit = bank.Answering(index);
    if (unit == nullptr)
        return 0;
    unit->m_state.triggerOn = on;
    unit->m_state.triggerEdge = edge;
    return 1;
}

int DDSSetPowerOnOutput(int index, int on) {
    if (const CDriverForward* d = Driver()) {
        Log(Call("DDSSetPowerOnOutput", index, on));
        return d->m_pfnSetPowerOnOutput(index, on);
    }
    CSimBank& bank = CSimBank::Get();
    std::lock_guard<std::mutex> lock(bank.m_lock);
    bank.m_log.Add(Call("DDSSetPowerOnOutput", index, on));
    CSimUnit* unit = bank.Answering(index);
    if (unit == nullptr)
        return 0;
    unit->m_state.powerOnOutput = on;
    return 1;
}

int DDSGetMeasure(int index, int mode, double* value) {
    if (const CDriverForward* d = Driver()) {
        Log(Call("DDSGetMeasure", index, mode));
        return d->m_pfnGetMeasure(index, mode, value);
    }
    CSimBank& bank = CSimBank::Get();
    std::lock_guard<std::mutex> lock(bank.m_lock);
    bank.m_log.Add(Call("DDSGetMeasure", index, mode));
    CSimUnit* unit = bank.Answering(index);
    if (unit == nullptr || value == nullptr || (mode != 0 && mode != 1))
        return 0;
    *value = mode == 0 ? unit->MeasureFrequency() : unit->Count();
    return 1;
}

int DDSResetCounter(int index) {
    if (const CDriverForward* d = Driver()) {
        Log(Call("DDSResetCounter", index));
        return d->m_pfnResetCounter(index);
    }
    CSimBank& bank = CSimBank::Get();
    std::lock_guard<std::mutex> lock(bank.m_lock);
    bank.m_log.Add(Call("DDSResetCounter", index));
    CSimUnit* unit = bank.Answering(index);
    if (unit == nullptr)
        return 0;
    unit->ResetCounter();
    return 1;
}

int DDSSetDIOMode(int index, int mode) {
    if (const CDriverForward* d = Driver()) {
        Log(Call("DDSSetDIOMode", index, mode));
        return d->m_pfnSetDIOMode(index, mode);
    }
    CSimBank& bank = CSimBank::Get();
    std::lock_guard<std::mutex> lock(bank.m_lock);
    bank.m_log.Add(Call("DDSSetDIOMode", index, mode));
    CSimUnit* unit = bank.Answering(index);
    if (unit == nullptr)
        return 0;
    unit->m_state.dioMode = mode;
    return 1;
}

int DDSSetDigitalOut(int index, unsigned short value) {
    if (const CDriverForward* d = Driver()) {
        Log(Call("DDSSetDigitalOut", index, value));
        return d->m_pfnSetDigitalOut(index, value);
    }
    CSimBank& bank = CSimBank::Get();
    std::lock_guard<std::mutex> lock(bank.m_lock);
    bank.m_log.Add(Call("DDSSetDigitalOut", index, value));
    CSimUnit* unit = bank.Answering(index);
    if (unit == nullptr)
        return 0;
    unit->m_state.digitalOut = value;
    return 1;
}

int DDSGetDigitalIn(int index, unsigned short* value) {
    if (const CDriverForward* d = Driver()) {
        Log(Call("DDSGetDigitalIn", index));
        return d->m_pfnGetDigitalIn(index, value);
    }
    CSimBank& bank = CSimBank::Get();
    std::lock_guard<std::mutex> lock(bank.m_lock);
    bank.m_log.Add(Call("DDSGetDigitalIn", index));
    CSimUnit* unit = bank.Answering(index);
    if (unit == nullptr || value == nullptr)
        return 0;
    *value = unit->DigitalIn();
    return 1;
}

} // extern "C"
