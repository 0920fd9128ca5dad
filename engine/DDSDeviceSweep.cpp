#include "engine/DDSDevice.h"
#include "engine/TryFlag.h"

namespace {
CTryFlag g_sweepFlag; ///< One sweep step at a time across all devices.
constexpr double kSweepScale = 0.048828125;
} // namespace

void CDDSDevice::SweepTick() {
    if (!g_sweepFlag.TryTake())
        return;
    if (m_bDemo == 1) {
        g_sweepFlag.Release();
        return;
    }
    SetFrequency(m_dSweepFreq * kSweepScale);
    double next = m_dSweepFreq + m_dSweepStep;
    if (next > m_dSweepEnd)
        next = m_dSweepStart; // the end frequency itself is still played
    m_dSweepFreq = next;
    g_sweepFlag.Release();
}
