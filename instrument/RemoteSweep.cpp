#include "instrument/RemoteSweep.h"

#include "control/DeviceControl.h"

#include <algorithm>
#include <cmath>

int CRemoteSweep::ClampPointsPerDecade(double points) {
    return static_cast<int>(
        std::clamp(std::round(points), double(kMinPointsPerDecade), double(kMaxPointsPerDecade)));
}

void CRemoteSweep::Start(CDeviceControl& control, Clock::time_point now) {
    CDDSDevice& device = control.Device();
    m_pControl = &control;
    m_eRunning = m_eSpacing;
    m_nRunningPoints = m_nPointsPerDecade;
    m_nLogStep = 0;
    m_due = now;
    // As the dialog's ON button: an end below the start is raised to it.
    device.m_dSweepEnd = std::max(double(device.m_dSweepEnd), double(device.m_dSweepStart));
    device.m_dSweepFreq = device.m_dSweepStart;
    // The record's sweep flag means the dialog's short sweep buffer; a logarithmic sweep plays
    // each frequency with the whole buffer, as typed.
    device.m_bSweepOn = m_eRunning == LINEAR ? 1 : 0;
    control.MarkSweep(m_eRunning == LOGARITHMIC);
}

void CRemoteSweep::Stop() {
    if (!m_pControl)
        return;
    m_pControl->Device().m_bSweepOn = 0;
    m_pControl->MarkSweep(0);
    m_pControl->ReturnToLastFrequency();
    m_pControl = nullptr;
}

bool CRemoteSweep::Running() const {
    if (!m_pControl)
        return false;
    // A linear sweep ends with the record's flag (a reset, or the Sweep dialog opening).
    return m_eRunning == LOGARITHMIC || m_pControl->Device().m_bSweepOn != 0;
}

void CRemoteSweep::Tick(Clock::time_point now) {
    if (!Running() || now < m_due)
        return;
    Step();
    const auto dwell = std::chrono::milliseconds(m_pControl->Device().m_nSweepSpeed.Get());
    m_due += dwell;
    // A host that fell behind does not catch up with a burst of steps.
    if (m_due <= now)
        m_due = now + dwell;
}

void CRemoteSweep::Step() {
    CDDSDevice& device = m_pControl->Device();
    if (m_eRunning == LINEAR) {
        device.SweepTick();
        return;
    }
    const double start = device.m_dSweepStart;
    double hz = start * std::pow(10.0, double(m_nLogStep) / m_nRunningPoints);
    // The end itself is played when it lies on the grid, whatever the rounding.
    if (hz > device.m_dSweepEnd * (1.0 + 1e-9)) {
        m_nLogStep = 0;
        hz = start;
    }
    ++m_nLogStep;
    // The record's own setter: the frequency entered stays where the sweep returns to.
    device.SetFrequency(CDeviceControl::ClampFrequency(hz, device.m_nWaveType));
}
