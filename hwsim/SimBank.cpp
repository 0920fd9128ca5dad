#include "hwsim/SimBank.h"

#include <cstdlib>

namespace {
constexpr int kMostUnits = 64;

int UnitsFromEnvironment() {
    const char* text = std::getenv("DDSTARN_SIM_UNITS");
    if (text == nullptr || *text == '\0')
        return 1;
    char* end = nullptr;
    const long units = std::strtol(text, &end, 10);
    if (*end != '\0' || units < 0)
        return 1;
    return units > kMostUnits ? kMostUnits : static_cast<int>(units);
}
} // namespace

CSimBank::CSimBank() {
    Reset(UnitsFromEnvironment());
}

CSimBank& CSimBank::Get() {
    static CSimBank bank;
    return bank;
}

void CSimBank::Reset(int units) {
    if (units < 0)
        units = 0;
    if (units > kMostUnits)
        units = kMostUnits;
    m_units.clear();
    for (int i = 0; i < units; ++i)
        m_units.emplace_back(i);
}

CSimUnit* CSimBank::Unit(int index) {
    if (index < 0 || index >= Size())
        return nullptr;
    return &m_units[index];
}

CSimUnit* CSimBank::Answering(int index) {
    CSimUnit* unit = Unit(index);
    return unit != nullptr && unit->m_state.present ? unit : nullptr;
}
