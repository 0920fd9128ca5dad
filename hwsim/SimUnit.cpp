#include "hwsim/SimUnit.h"

namespace {
constexpr double kJitter = 2.0e-6; ///< Relative, either way.
}

CSimUnit::CSimUnit(int index) : m_nIndex(index), m_nJitter(static_cast<std::uint32_t>(index) + 1) {
    m_state.powerOnOutput = 1; // as it leaves the factory
    PowerOn();
}

void CSimUnit::PowerOn() {
    // The power-on output setting lives in the unit for its next power-up: a power cycle
    // forgets everything else.
    m_state = SimUnitState{true, 0.0, 0, 0, {}, 0, 0, 0, m_state.powerOnOutput, 0, 0};
    m_plan = CFrequencyPlan();
    m_bPlanned = false;
    m_dCountBefore = 0.0;
    m_since = Clock::now();
}

void CSimUnit::SetFrequency(double frequency, int* points, int* periods) {
    const Clock::time_point now = Clock::now();
    m_dCountBefore += Played() * std::chrono::duration<double>(now - m_since).count();
    m_since = now;
    m_plan = CFrequencyPlan::For(frequency);
    m_bPlanned = true;
    m_state.frequency = frequency;
    m_state.points = m_plan.m_nPoints;
    m_state.periods = m_plan.m_nPeriods;
    if (points != nullptr)
        *points = m_plan.m_nPoints;
    if (periods != nullptr)
        *periods = m_plan.m_nPeriods;
}

double CSimUnit::MeasureFrequency() {
    const double base = m_dExternalFrequency >= 0.0 ? m_dExternalFrequency : Played();
    m_nJitter = m_nJitter * 1664525u + 1013904223u;
    const double unit = static_cast<double>(m_nJitter >> 8) / 16777216.0; // 0 .. 1
    return base * (1.0 + kJitter * (2.0 * unit - 1.0));
}

double CSimUnit::Count() const {
    if (m_dExternalCount >= 0.0)
        return m_dExternalCount;
    const double running = std::chrono::duration<double>(Clock::now() - m_since).count();
    return m_dCountBefore + Played() * running;
}

void CSimUnit::ResetCounter() {
    m_dCountBefore = 0.0;
    m_since = Clock::now();
}

unsigned short CSimUnit::DigitalIn() const {
    return static_cast<unsigned short>((m_state.digitalOut & 0x3F) | ((m_nIndex & 3) << 6));
}
