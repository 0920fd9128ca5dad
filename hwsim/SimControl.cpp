#include "hwsim/SimControl.h"
#include "hwsim/SimBank.h"

void SimReset(int units) {
    CSimBank& bank = CSimBank::Get();
    std::lock_guard<std::mutex> lock(bank.m_lock);
    bank.Reset(units);
    bank.m_log.Clear();
}

SimUnitState SimGetUnit(int index) {
    CSimBank& bank = CSimBank::Get();
    std::lock_guard<std::mutex> lock(bank.m_lock);
    if (CSimUnit* unit = bank.Unit(index))
        return unit->m_state;
    return SimUnitState{false, 0.0, 0, 0, {}, 0, 0, 0, 0, 0, 0};
}

void SimUnplug(int index) {
    CSimBank& bank = CSimBank::Get();
    std::lock_guard<std::mutex> lock(bank.m_lock);
    if (CSimUnit* unit = bank.Unit(index))
        unit->m_state.present = false;
}

void SimReplug(int index) {
    CSimBank& bank = CSimBank::Get();
    std::lock_guard<std::mutex> lock(bank.m_lock);
    if (CSimUnit* unit = bank.Unit(index))
        unit->PowerOn();
}

void SimSetExternalFrequency(int index, double hz) {
    CSimBank& bank = CSimBank::Get();
    std::lock_guard<std::mutex> lock(bank.m_lock);
    if (CSimUnit* unit = bank.Unit(index))
        unit->m_dExternalFrequency = hz;
}

void SimSetExternalCount(int index, double count) {
    CSimBank& bank = CSimBank::Get();
    std::lock_guard<std::mutex> lock(bank.m_lock);
    if (CSimUnit* unit = bank.Unit(index))
        unit->m_dExternalCount = count;
}

std::vector<std::string> SimCallLog() {
    CSimBank& bank = CSimBank::Get();
    std::lock_guard<std::mutex> lock(bank.m_lock);
    return bank.m_log.Lines();
}

void SimClearLog() {
    CSimBank& bank = CSimBank::Get();
    std::lock_guard<std::mutex> lock(bank.m_lock);
    bank.m_log.Clear();
}
