#include "engine/WaveShape.h"
#include "engine/DDSDevice.h"
#include "engine/NoiseSource.h"

namespace {

/// A whole sample position modulo m, in 0 .. m - 1; 0 for one that is not finite.
int Wrap(double position, int m) noexcept {
    int index;
    if (position >= 0.0 && position < 2147483647.0)
        index = static_cast<int>(position) % m;
    else if (std::isfinite(position))
        index = static_cast<int>(std::fmod(position, m));
    else
        index = 0;
    return index < 0 ? index + m : index;
}

} // namespace

CWaveShape::CWaveShape(const CDDSDevice& device, bool forDisplay) {
    m_nType = device.m_nWaveType;
    m_dA = static_cast<double>(device.m_fAmplitude) * static_cast<double>(kAmplitudeScale);
    if (device.m_bAtten20dB != 0)
        m_dA *= 0.1;
    m_dOfs = device.m_dOffset * kOffsetScale;

    // A plan or period number below 1 would divide by zero; one period is the safe reading.
    const int periods = std::max(1, static_cast<int>(device.m_nPeriods));
    double k = forDisplay ? std::max(1, static_cast<int>(device.m_nPeriodNumber)) : periods;
    m_dShift = forDisplay ? static_cast<double>(device.m_fPhase)
                          : static_cast<double>(device.m_fPhase) / periods;
    if (device.m_bSingleWave != 0)
        k = 1.0;

    m_dSquareDuty = device.m_fSquareDuty;
    m_dRampDuty = device.m_fRampDuty;
    m_dRise = device.m_fTrapRise;
    m_dHigh = device.m_fTrapHigh;
    m_dFall = device.m_fTrapFall;
    m_dTau = device.m_fExpTau;
    m_bExpFall = device.m_bExpFall != 0;
    const double frequency = device.m_dFrequency;
    m_dExpFreq = frequency < 1.0 ? 1.0 : frequency;
    m_dAmFreq = m_dExpFreq;
    m_dFmFreq = frequency == 0.0 ? 1.0 : frequency;
    m_dDepth = static_cast<double>(device.m_fAmDepth) * 0.5;
    m_dCarrier = device.m_nModCarrier;
    m_dDeviation = device.m_nFmDeviation;
    m_bFM = device.m_bFM != 0;
    m_pArb = device.m_fArb.data();
    m_dPoints = device.m_nPoints;
    m_nPointsPerPeriod = std::max(1, static_cast<int>(device.m_nPointsPerPeriod));
    SetPeriods(k);
}

void CWaveShape::UseOnePeriod() noexcept {
    SetPeriods(1.0);
}

void CWaveShape::SetPeriods(double k) noexcept {
    m_dK = k;
    m_dPeriod = 1.0 / k;
    m_dSquareHigh = m_dSquareDuty / k;
    m_dRampRise = m_dRampDuty / k;
    m_dRampFall = (1.0 - m_dRampDuty) / k;
    m_dTrapRise = m_dRise / k;
    m_dTrapHigh = m_dHigh / k;
    m_dTrapFall = m_dFall / k;
    m_dTrapFallFrom = (m_dRise + m_dHigh) / k;
    m_dTrapLowFrom = (m_dFall + m_dRise + m_dHigh) / k;
}

int CWaveShape::ArbIndex(double x) const noexcept {
    // The buffer walks through the table once per m_nPointsPerPeriod samples; a figure above
    // the table size must still land inside it.
    return Wrap(std::trunc(m_dPoints * x), m_nPointsPerPeriod) % 4096;
}

double CWaveShape::At(double t) const {
    const double x = Position(t);
    switch (m_nType) {
    case WAVE_SINE:
        return SineFrom(std::sin(SineArg(x)));
    case WAVE_RAMP:
        return Ramp(x);
    case WAVE_SQUARE:
        return Square(x);
    case WAVE_EXPONENT:
        return ExpFlat() ? Offset() : ExpFrom(std::exp(ExpArg(x)));
    case WAVE_ARB:
        return Arb(x);
    case WAVE_TRAPEZIA:
        return Trapezia(x);
    case WAVE_AMFM: {
        const double modulation = std::sin(ModArg(x));
        if (m_bFM)
            return FmFrom(std::sin(FmArg(x, modulation)));
        return AmFrom(modulation, std::sin(AmCarrierArg(x)));
    }
    case WAVE_GAUSS_NOISE: {
        CNoiseSource& noise = CNoiseSource::ThisThread();
        const int weight = noise.Next(); // the weight is drawn before the angle
        const int angle = noise.Next();
        return GaussFrom(weight, std::sin(GaussArg(angle)));
    }
    case WAVE_WHITE_NOISE:
        return White(CNoiseSource::ThisThread().Next());
    default:
        return 0.0;
    }
}
