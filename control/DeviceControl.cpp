#include "control/DeviceControl.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

namespace {
std::atomic<std::uint64_t> g_nextSerial{1};
} // namespace

CDeviceControl::CDeviceControl(CDDSDevice& device)
    : m_device(device), m_nSerial(g_nextSerial.fetch_add(1, std::memory_order_relaxed)) {}

// --- Frequency ----------------------------------------------------------------------------

double CDeviceControl::RememberFrequency(double hz) {
    m_dLastFrequency = ClampFrequency(hz, m_device.m_nWaveType);
    return m_dLastFrequency;
}

double CDeviceControl::SetFrequency(double hz) {
    m_device.SetFrequency(RememberFrequency(hz));
    return m_dLastFrequency;
}

int CDeviceControl::PlanPoints() const {
    return std::clamp(m_device.m_nPoints / std::max(1, int(m_device.m_nPeriods)), 1, kMaxPoints);
}

int CDeviceControl::PlanPointsFor(double hz, std::chrono::milliseconds patience) {
    if (m_device.m_bDemo != 0 || m_device.m_bLost != 0)
        return 0;
    if (m_device.m_dFrequency != hz)
        SetFrequency(hz);
    // The worker carries a frequency command out within a step or two: a short, bounded wait.
    const auto until = std::chrono::steady_clock::now() + patience;
    while (!m_device.PlanSettled()) {
        if (std::chrono::steady_clock::now() > until)
            return 0;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return PlanPoints();
}

double CDeviceControl::TurnFrequency(double hz) {
    SetFrequency(hz);
    // With Arb only the record's own download follows.
    if (m_device.m_nWaveType != WAVE_ARB)
        m_device.RequestDownload();
    return m_dLastFrequency;
}

double CDeviceControl::PlayedFrequency() const {
    const double requested = m_device.m_dFrequency;
    const double periods = std::max(1, static_cast<int>(m_device.m_nPeriods));
    const double points = std::max(1, static_cast<int>(m_device.m_nPoints));
    if (!(requested > 0.0))
        return 0.0;
    // The library reports no divider; the whole one nearest what the plan needs for the
    // request is the one it chose.
    const double divider = std::max(1.0, std::round(kMasterClock * periods / (points * requested)));
    return periods * (kMasterClock / divider) / points;
}

double CDeviceControl::DeviationPpm() const {
    const double requested = m_device.m_dFrequency;
    if (!(requested > 0.0))
        return 0.0;
    return (PlayedFrequency() - requested) / requested * 1.0e6;
}

// --- Amplitude, offset, phase ---------------------------------------------------------------

float CDeviceControl::SetAmplitude(double volts) {
    m_device.SetAmplitude(static_cast<float>(ClampAmplitude(volts)));
    m_device.RequestDownload();
    return m_device.m_fAmplitude;
}

float CDeviceControl::TurnAmplitude(double volts) {
    m_device.SetAmplitude(static_cast<float>(ClampAmplitude(volts)));
    if (m_device.m_nWaveType != WAVE_ARB)
        m_device.RequestDownload();
    return m_device.m_fAmplitude;
}

double CDeviceControl::StepOffset(double volts) {
    // Kept as a double: a typed 0.1 stays 0.1, not its nearest float.
    m_device.SetOffset(ClampOffset(volts));
    return m_device.m_dOffset;
}

double CDeviceControl::SetOffset(double volts) {
    StepOffset(volts);
    m_device.RequestDownload();
    return m_device.m_dOffset;
}

float CDeviceControl::SetPhase(double fraction) {
    m_device.m_fPhase = static_cast<float>(ClampPhase(fraction));
    m_device.RequestDownload();
    return m_device.m_fPhase;
}

CDeviceControl::Levels CDeviceControl::SetLevels(double high, double low) {
    m_device.SetAmplitude(static_cast<float>(ClampAmplitude((high - low) / 2.0)));
    m_device.SetOffset(ClampOffset((high + low) / 2.0));
    m_device.RequestDownload();
    return {m_device.m_fAmplitude, m_device.m_dOffset};
}

// --- Wave type ------------------------------------------------------------------------------

CDeviceControl::WaveChange CDeviceControl::SelectWaveType(int type, bool keepArbTable) {
    WaveChange change;
    change.nPrevious = m_device.m_nWaveType;
    if (!IsWaveType(type))
        return change;
    if (type != change.nPrevious) {
        if (type == WAVE_ARB) {
            // The wave on show becomes the table, unless the table was just read from a file.
            if (!keepArbTable) {
                m_device.CaptureToArb();
                change.bForgetFile = true;
            }
            m_device.m_fPhase = 0.0f;
            m_device.RequestDownload();
            change.bPhaseReset = true;
        }
        m_device.SetWaveType(type);
    }
    if (m_device.m_dFrequency > MaxFrequency(type)) {
        SetFrequency(MaxFrequency(type));
        change.bFrequencyLowered = true;
    }
    if (type != WAVE_ARB)
        change.bForgetFile = true;
    m_device.RequestDownload();
    return change;
}

// --- Switches -------------------------------------------------------------------------------

int CDeviceControl::SetOutputOn(int on) {
    m_device.SetOutputOn(Flag(on));
    m_device.RequestDownload();
    return m_device.m_bOutputOn;
}

int CDeviceControl::SetCounterOn(int on) {
    m_device.SetCounterOn(Flag(on));
    return m_device.m_bCounterOn;
}

int CDeviceControl::SetMeasureMode(int mode) {
    m_device.SetMeasureMode(Flag(mode));
    return m_device.m_nMeasureMode;
}

int CDeviceControl::SetSingleWave(int on) {
    m_device.SetSingleWave(Flag(on));
    return m_device.m_bSingleWave;
}

int CDeviceControl::SetExtTrig(int on) {
    m_device.SetExtTrig(Flag(on));
    return m_device.m_bExtTrig;
}

int CDeviceControl::SetTrigEdge(int edge) {
    m_device.SetTrigEdge(Flag(edge));
    return m_device.m_nTrigEdge;
}

int CDeviceControl::SetAtten20dB(int on) {
    m_device.SetAtten20dB(Flag(on));
    return m_device.m_bAtten20dB;
}

int CDeviceControl::SetPowerOnOutput(int on) {
    m_device.SetPowerOnOutput(Flag(on));
    m_device.RequestDownload();
    return m_device.m_bPowerOnOutput;
}

// --- Digital lines and display ----------------------------------------------------------------

int CDeviceControl::SetDIOMode(int mode) {
    m_device.SetDIOMode(Flag(mode));
    return m_device.m_nDIOMode;
}

unsigned CDeviceControl::SetDigitalOut(unsigned word) {
    // The worker sends the word on every step.
    m_device.m_wDigitalOut = static_cast<std::uint16_t>(word & kDigitalOutLines);
    return m_device.m_wDigitalOut;
}

int CDeviceControl::SetPeriodNumber(long long n) {
    m_device.SetPeriodNumber(CWaveParameterRules::ClampPeriodNumber(n));
    return m_device.m_nPeriodNumber;
}

// --- Wave parameters --------------------------------------------------------------------------

float CDeviceControl::SetDuty(int waveType, double duty) {
    if (waveType == WAVE_SQUARE)
        m_device.m_fSquareDuty = ClampFraction(duty);
    else if (waveType == WAVE_RAMP)
        m_device.m_fRampDuty = ClampFraction(duty);
    else
        return 0.0f;
    m_device.RequestDownload();
    return GetDuty(waveType);
}

float CDeviceControl::GetDuty(int waveType) const {
    if (waveType == WAVE_SQUARE)
        return m_device.m_fSquareDuty;
    return waveType == WAVE_RAMP ? float(m_device.m_fRampDuty) : 0.0f;
}

int CDeviceControl::SetExpFall(int fall) {
    m_device.m_bExpFall = Flag(fall);
    m_device.RequestDownload();
    return m_device.m_bExpFall;
}

float CDeviceControl::SetExpTau(double seconds) {
    m_device.m_fExpTau = static_cast<float>(seconds);
    m_device.RequestDownload();
    return m_device.m_fExpTau;
}

std::array<float, 3> CDeviceControl::TrapeziaParts() const {
    return {m_device.m_fTrapRise, m_device.m_fTrapHigh, m_device.m_fTrapFall};
}

float CDeviceControl::SetTrapezia(CWaveParameterRules::TrapeziaPart part, double value,
                                  const std::array<float, 3>& parts) {
    using Rules = CWaveParameterRules;
    const float limited =
        Rules::LimitTrapezia(part, static_cast<float>(value), parts[Rules::TRAP_RISE],
                             parts[Rules::TRAP_HIGH], parts[Rules::TRAP_FALL]);
    switch (part) {
    case Rules::TRAP_RISE:
        m_device.m_fTrapRise = limited;
        break;
    case Rules::TRAP_HIGH:
        m_device.m_fTrapHigh = limited;
        break;
    case Rules::TRAP_FALL:
        m_device.m_fTrapFall = limited;
        break;
    }
    m_device.RequestDownload();
    return limited;
}

CDeviceControl::Modulation CDeviceControl::GetModulation() const {
    return {m_device.m_bFM, m_device.m_nModCarrier, m_device.m_nFmDeviation, m_device.m_fAmDepth};
}

CDeviceControl::Modulation CDeviceControl::SetModulation(const Modulation& modulation) {
    m_device.m_bFM = Flag(modulation.bFM);
    m_device.m_nModCarrier = modulation.nCarrier;
    m_device.m_nFmDeviation = modulation.nDeviation;
    m_device.m_fAmDepth = modulation.fDepth;
    m_device.RequestDownload();
    return GetModulation();
}

// --- Reset ------------------------------------------------------------------------------------

CDeviceControl::WaveChange CDeviceControl::Reset() {
    // A new record holds the defaults a newly opened window shows; the Arb table is data,
    // not a setting, and stays.
    const CDDSDevice fresh;
    CDDSDevice& d = m_device;
    WaveChange change;
    change.nPrevious = d.m_nWaveType;
    change.bForgetFile = true;
    d.m_bSweepOn = 0;
    m_bMarkedSweep = 0;
    d.m_nWaveType = fresh.m_nWaveType;
    d.m_dFrequency = fresh.m_dFrequency;
    m_dLastFrequency = fresh.m_dFrequency;
    d.m_fAmplitude = fresh.m_fAmplitude;
    d.m_dOffset = fresh.m_dOffset;
    d.m_fPhase = fresh.m_fPhase;
    d.m_bOutputOn = fresh.m_bOutputOn;
    d.m_bAtten20dB = fresh.m_bAtten20dB;
    d.m_bSingleWave = fresh.m_bSingleWave;
    d.m_bExtTrig = fresh.m_bExtTrig;
    d.m_nTrigEdge = fresh.m_nTrigEdge;
    d.m_nDIOMode = fresh.m_nDIOMode;
    d.m_wDigitalOut = fresh.m_wDigitalOut;
    d.m_nPeriodNumber = fresh.m_nPeriodNumber;
    d.SetMeasureMode(fresh.m_nMeasureMode);
    d.SetCounterOn(fresh.m_bCounterOn);
    d.m_fSquareDuty = fresh.m_fSquareDuty;
    d.m_fRampDuty = fresh.m_fRampDuty;
    d.m_bExpFall = fresh.m_bExpFall;
    d.m_fExpTau = fresh.m_fExpTau;
    d.m_fTrapRise = fresh.m_fTrapRise;
    d.m_fTrapHigh = fresh.m_fTrapHigh;
    d.m_fTrapFall = fresh.m_fTrapFall;
    d.m_bFM = fresh.m_bFM;
    d.m_nModCarrier = fresh.m_nModCarrier;
    d.m_nFmDeviation = fresh.m_nFmDeviation;
    d.m_fAmDepth = fresh.m_fAmDepth;
    d.m_dSweepStart = fresh.m_dSweepStart;
    d.m_dSweepEnd = fresh.m_dSweepEnd;
    d.m_dSweepStep = fresh.m_dSweepStep;
    d.m_nSweepSpeed = fresh.m_nSweepSpeed;
    ProgramAsNew();
    return change;
}

void CDeviceControl::ProgramAsNew() {
    // Also leaves single-wave and programmable output, which a new unit was never in. The
    // download comes after the new plan.
    CDDSDevice& d = m_device;
    if (d.m_bDemo != 1) {
        for (int command :
             {CMD_SET_FREQUENCY, CMD_SET_TRIGGER, CMD_SET_SINGLE_WAVE, CMD_SET_DIO_MODE})
            d.QueueCommand(command);
    }
    d.RequestDownload();
}
