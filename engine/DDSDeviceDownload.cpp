#include "engine/DDSDevice.h"
#include "engine/hardware/DDSTarnDll.h"

#include <algorithm>

int CDDSDevice::ClockDivider(double frequency) {
    if (frequency >= 100000.0 || !(frequency > 0.0))
        return 1; // no sample clock to slow down for 0 Hz, a negative or a bad request
    const double divider = 200000000.0 / frequency * 0.000244140625;
    if (divider < 1.0)
        return 1;
    if (divider >= 2147483647.0)
        return 2147483647;
    return static_cast<int>(divider);
}

void CDDSDevice::ProgramFrequency() {
    // Start from the current plan: a library that leaves the outputs alone keeps it.
    int points = m_nPoints;
    int periods = m_nPeriods;
    DDSSetFrequency(m_nDevice, m_dFrequency, &points, &periods);
    // The buffer holds at most kMaxPoints samples and a plan needs a period to divide by.
    m_nPoints = std::clamp(points, 1, kMaxPoints);
    m_nPeriods = std::max(1, periods);
}

void CDDSDevice::ApplyFrequency() {
    ProgramFrequency();
    RequestDownload();
}

void CDDSDevice::FrequencyCommand() {
    const int points = m_nPoints;
    const int periods = m_nPeriods;
    ProgramFrequency();
    // A download request merges into one already waiting at the head, which may then run
    // before this command and build the buffer for the old plan: the unit would be left
    // with a buffer of the wrong length. A new plan with no download behind it gets one.
    if ((m_nPoints != points || m_nPeriods != periods) && !DownloadQueued())
        RequestDownload();
    if (m_nWaveType != WAVE_ARB)
        return;
    if (m_nArbPoints > m_nPoints)
        m_nArbPoints = static_cast<int>(m_nPoints);
    m_nZoom = 0;
    m_fViewPos = 0.0f;
    m_fSampleRate = static_cast<float>(200000000 / ClockDivider(m_dFrequency));
    // A plan with more periods than samples must not leave the display a zero to divide by.
    const int perPeriod = std::max(1, m_nPoints / m_nPeriods);
    const bool walkChanged = perPeriod != m_nPointsPerPeriod;
    m_nPointsPerPeriod = perPeriod;
    // A new walk through the table changes the samples as a new plan does.
    if (walkChanged && !DownloadQueued())
        RequestDownload();
}

void CDDSDevice::DownloadWaveform() {
    unsigned short codes[kMaxPoints];
    const int count = BuildWaveform(codes);
    DDSDownload(m_nDevice, codes, count);
}
