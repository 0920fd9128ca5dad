#include "control/DeviceControl.h"
#include "engine/SweepRules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <tuple>
#include <utility>

namespace {

/// A double as a float field can hold it: a value past the float range would become infinite.
float ToFloat(double value) {
    constexpr double kMax = std::numeric_limits<float>::max();
    return static_cast<float>(std::isnan(value) ? 0.0 : std::clamp(value, -kMax, kMax));
}

/// A float field as the double of its shortest decimal, so that a file shows 0.2 and not
/// 0.20000000298023224; it turns back into the same float.
double Decimal(float value) {
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    double decimal = value;
    std::from_chars(buffer, written.ptr, decimal);
    return decimal;
}

/// A record field as a setup holds it.
template <typename T> T Stored(const CRelaxed<T>& field) {
    return field;
}
double Stored(const CRelaxed<float>& field) {
    return Decimal(field);
}

/// The record fields a setup holds as they are (floats as their shortest decimal): setup
/// member, record member.
constexpr std::tuple kSetupFields{
    std::pair{&CDeviceSetup::m_nWaveType, &CDDSDevice::m_nWaveType},
    std::pair{&CDeviceSetup::m_dFrequency, &CDDSDevice::m_dFrequency},
    std::pair{&CDeviceSetup::m_dAmplitude, &CDDSDevice::m_fAmplitude},
    std::pair{&CDeviceSetup::m_dOffset, &CDDSDevice::m_dOffset},
    std::pair{&CDeviceSetup::m_dPhase, &CDDSDevice::m_fPhase},
    std::pair{&CDeviceSetup::m_bOutputOn, &CDDSDevice::m_bOutputOn},
    std::pair{&CDeviceSetup::m_bAtten20dB, &CDDSDevice::m_bAtten20dB},
    std::pair{&CDeviceSetup::m_bSingleWave, &CDDSDevice::m_bSingleWave},
    std::pair{&CDeviceSetup::m_bExtTrig, &CDDSDevice::m_bExtTrig},
    std::pair{&CDeviceSetup::m_nTrigEdge, &CDDSDevice::m_nTrigEdge},
    std::pair{&CDeviceSetup::m_bPowerOnOutput, &CDDSDevice::m_bPowerOnOutput},
    std::pair{&CDeviceSetup::m_bCounterOn, &CDDSDevice::m_bCounterOn},
    std::pair{&CDeviceSetup::m_nMeasureMode, &CDDSDevice::m_nMeasureMode},
    std::pair{&CDeviceSetup::m_nPeriodNumber, &CDDSDevice::m_nPeriodNumber},
    std::pair{&CDeviceSetup::m_dSquareDuty, &CDDSDevice::m_fSquareDuty},
    std::pair{&CDeviceSetup::m_dRampDuty, &CDDSDevice::m_fRampDuty},
    std::pair{&CDeviceSetup::m_bExpFall, &CDDSDevice::m_bExpFall},
    std::pair{&CDeviceSetup::m_dExpTau, &CDDSDevice::m_fExpTau},
    std::pair{&CDeviceSetup::m_dTrapRise, &CDDSDevice::m_fTrapRise},
    std::pair{&CDeviceSetup::m_dTrapHigh, &CDDSDevice::m_fTrapHigh},
    std::pair{&CDeviceSetup::m_dTrapFall, &CDDSDevice::m_fTrapFall},
    std::pair{&CDeviceSetup::m_bFM, &CDDSDevice::m_bFM},
    std::pair{&CDeviceSetup::m_nModCarrier, &CDDSDevice::m_nModCarrier},
    std::pair{&CDeviceSetup::m_nFmDeviation, &CDDSDevice::m_nFmDeviation},
    std::pair{&CDeviceSetup::m_dAmDepth, &CDDSDevice::m_fAmDepth},
    std::pair{&CDeviceSetup::m_dSweepStart, &CDDSDevice::m_dSweepStart},
    std::pair{&CDeviceSetup::m_dSweepEnd, &CDDSDevice::m_dSweepEnd},
    std::pair{&CDeviceSetup::m_dSweepStep, &CDDSDevice::m_dSweepStep},
    std::pair{&CDeviceSetup::m_nSweepSpeed, &CDDSDevice::m_nSweepSpeed},
    std::pair{&CDeviceSetup::m_nDIOMode, &CDDSDevice::m_nDIOMode},
    std::pair{&CDeviceSetup::m_wDigitalOut, &CDDSDevice::m_wDigitalOut},
    std::pair{&CDeviceSetup::m_dSampleRate, &CDDSDevice::m_fSampleRate},
    std::pair{&CDeviceSetup::m_nPointsPerPeriod, &CDDSDevice::m_nPointsPerPeriod},
    std::pair{&CDeviceSetup::m_nArbPoints, &CDDSDevice::m_nArbPoints},
    std::pair{&CDeviceSetup::m_nZoom, &CDDSDevice::m_nZoom},
    std::pair{&CDeviceSetup::m_dViewPos, &CDDSDevice::m_fViewPos},
};

} // namespace

void CDeviceControl::CaptureSetup(CDeviceSetup& setup) const {
    const CDDSDevice& d = m_device;
    std::apply([&](auto... field) { ((setup.*field.first = Stored(d.*field.second)), ...); },
               kSetupFields);
    // The whole table up to its last point that is not 0 V: what a later frequency may show.
    std::size_t used = d.m_fArb.size();
    while (used > 0 && d.m_fArb[used - 1] == 0.0f)
        --used;
    setup.m_arb.assign(d.m_fArb.begin(), d.m_fArb.begin() + static_cast<std::ptrdiff_t>(used));
}

CDeviceControl::WaveChange CDeviceControl::ApplySetup(const CDeviceSetup& setup) {
    using Rules = CWaveParameterRules;
    CDDSDevice& d = m_device;
    WaveChange change;
    change.nPrevious = d.m_nWaveType;
    change.bForgetFile = true;
    const int type = IsWaveType(setup.m_nWaveType) ? setup.m_nWaveType : int(WAVE_SINE);
    d.m_nWaveType = type;
    d.m_dFrequency = ClampFrequency(setup.m_dFrequency, type);
    change.bFrequencyLowered = d.m_dFrequency < setup.m_dFrequency;
    m_dLastFrequency = d.m_dFrequency;
    d.m_fAmplitude = static_cast<float>(ClampAmplitude(setup.m_dAmplitude));
    d.m_dOffset = ClampOffset(setup.m_dOffset);
    d.m_fPhase = static_cast<float>(ClampPhase(setup.m_dPhase));
    d.m_bOutputOn = Flag(setup.m_bOutputOn);
    d.m_bAtten20dB = Flag(setup.m_bAtten20dB);
    d.m_bSingleWave = Flag(setup.m_bSingleWave);
    d.m_bExtTrig = Flag(setup.m_bExtTrig);
    d.m_nTrigEdge = Flag(setup.m_nTrigEdge);
    d.SetMeasureMode(Flag(setup.m_nMeasureMode));
    d.SetCounterOn(Flag(setup.m_bCounterOn));
    d.m_nPeriodNumber = static_cast<std::int16_t>(Rules::ClampPeriodNumber(setup.m_nPeriodNumber));

    d.m_fSquareDuty = ClampFraction(setup.m_dSquareDuty);
    d.m_fRampDuty = ClampFraction(setup.m_dRampDuty);
    d.m_bExpFall = Flag(setup.m_bExpFall);
    d.m_fExpTau = ToFloat(setup.m_dExpTau);
    // One part after the other, as the dialog shows them.
    const float rise =
        Rules::LimitTrapezia(Rules::TRAP_RISE, ClampFraction(setup.m_dTrapRise), 0.0f, 0.0f, 0.0f);
    const float high =
        Rules::LimitTrapezia(Rules::TRAP_HIGH, ClampFraction(setup.m_dTrapHigh), rise, 0.0f, 0.0f);
    d.m_fTrapRise = rise;
    d.m_fTrapHigh = high;
    d.m_fTrapFall =
        Rules::LimitTrapezia(Rules::TRAP_FALL, ClampFraction(setup.m_dTrapFall), rise, high, 0.0f);
    d.m_bFM = Flag(setup.m_bFM);
    d.m_nModCarrier = setup.m_nModCarrier;
    d.m_nFmDeviation = setup.m_nFmDeviation;
    d.m_fAmDepth = ToFloat(setup.m_dAmDepth);

    d.m_dSweepStart = CSweepRules::ClampStart(setup.m_dSweepStart);
    d.m_dSweepEnd = CSweepRules::ClampEnd(setup.m_dSweepEnd);
    d.m_dSweepStep = CSweepRules::ClampStep(setup.m_dSweepStep, d.m_dSweepStart, d.m_dSweepEnd);
    d.m_nSweepSpeed = CSweepRules::ClampSpeed(setup.m_nSweepSpeed);

    d.m_nDIOMode = Flag(setup.m_nDIOMode);
    d.m_wDigitalOut = static_cast<std::uint16_t>(unsigned(setup.m_wDigitalOut) & kDigitalOutLines);

    d.m_fSampleRate = ToFloat(setup.m_dSampleRate);
    d.m_nPointsPerPeriod = std::clamp(setup.m_nPointsPerPeriod, 1, kMaxPoints);
    d.m_nArbPoints = std::clamp(setup.m_nArbPoints, 1, kMaxPoints);
    const std::size_t used = std::min(setup.m_arb.size(), d.m_fArb.size());
    for (std::size_t i = 0; i < d.m_fArb.size(); ++i)
        d.m_fArb[i] = i < used ? setup.m_arb[i] : 0.0f;

    // The display shows them once the new plan is in (the frequency command starts Arb
    // unzoomed).
    d.m_nZoom = std::max(0, setup.m_nZoom);
    d.m_fViewPos = ClampFraction(setup.m_dViewPos);

    // A demo record refuses it and keeps its value.
    if (d.m_bPowerOnOutput != Flag(setup.m_bPowerOnOutput))
        d.SetPowerOnOutput(Flag(setup.m_bPowerOnOutput));
    ProgramAsNew();
    return change;
}
