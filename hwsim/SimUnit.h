#pragma once
#include "hwsim/FrequencyPlan.h"
#include "hwsim/SimControl.h"

#include <chrono>
#include <cstdint>

/// One simulated generator: keeps what it was sent, plays its plan, measures and counts.
class CSimUnit {
public:
    using Clock = std::chrono::steady_clock;

    explicit CSimUnit(int index);

    /// Back to the state of a freshly powered unit (present); its power-on output setting stays.
    void PowerOn();

    SimUnitState m_state{};
    double m_dExternalFrequency = -1.0; ///< Negative: the meter reads the own output.
    double m_dExternalCount = -1.0;     ///< Negative: the counter counts the own output.

    void SetFrequency(double frequency, int* points, int* periods);
    /// Frequency meter: the played frequency with a jitter of a few parts per million.
    double MeasureFrequency();
    /// Output periods since the last reset.
    double Count() const;
    void ResetCounter();
    /// Inputs 0-5 are wired to outputs 0-5; inputs 6 and 7 carry serial-number bits.
    unsigned short DigitalIn() const;

private:
    int m_nIndex;
    CFrequencyPlan m_plan;
    bool m_bPlanned = false;
    double m_dCountBefore = 0.0; ///< Periods counted before the current plan started.
    Clock::time_point m_since;   ///< Start of the current plan or of the last reset.
    std::uint32_t m_nJitter;

    double Played() const { return m_bPlanned ? m_plan.Played() : 0.0; }
};
