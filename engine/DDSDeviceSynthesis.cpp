#include "engine/DDSDevice.h"
#include "engine/WaveBatch.h"
#include "engine/WaveShape.h"

#include <algorithm>

double CDDSDevice::SampleAt(double t, bool forDisplay) const {
    return CWaveShape(*this, forDisplay).At(t);
}

void CDDSDevice::CaptureToArb() {
    m_fSampleRate = static_cast<float>(200000000 / ClockDivider(m_dFrequency));
    const int perPeriod = m_nPoints / std::max(1, static_cast<int>(m_nPeriods));
    m_nPointsPerPeriod = std::max(1, perPeriod);
    const int count = std::min(static_cast<int>(m_nPointsPerPeriod), kMaxPoints);

    // One displayed period, drawn without touching m_nPeriodNumber (the display reads it).
    CWaveShape shape(*this, true);
    shape.UseOnePeriod();
    // Taken in one batch: the user-interface thread captures when the user enters Arb.
    double samples[kMaxPoints];
    CWaveBatch::Samples(shape, count, samples);
    for (int i = 0; i < count; ++i)
        m_fArb[i] = static_cast<float>(samples[i] * 3.5);
    m_nArbPoints = static_cast<int>(m_nPoints);
}

int CDDSDevice::BuildWaveform(unsigned short* codes) const {
    int count = m_bSweepOn != 0 ? m_nSweepPoints : m_nPoints;
    count = std::clamp(count, 1, kMaxPoints);
    const bool singleWave = m_bSingleWave != 0;
    if (singleWave)
        count /= std::max(1, static_cast<int>(m_nPeriods));

    CWaveBatch::Codes(CWaveShape(*this, false), count, m_bOutputOn != 0, codes);

    if (!singleWave)
        return count;
    // One period followed by silence at 0 V fills the whole buffer.
    std::fill(codes + count, codes + kMaxPoints, static_cast<unsigned short>(2048));
    return kMaxPoints;
}
