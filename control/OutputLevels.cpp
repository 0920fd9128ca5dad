#include "control/OutputLevels.h"

#include "engine/DDSDevice.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kMilliwatt = 1.0e-3;

/// The RMS volts at the load for one milliwatt-relative level, and back.
double RmsOfDbm(double dbm, double load) {
    return std::sqrt(kMilliwatt * load * std::pow(10.0, dbm / 10.0));
}
double DbmOfRms(double rms, double load) {
    return 10.0 * std::log10(rms * rms / load / kMilliwatt);
}
} // namespace

double COutputLevels::ClampLoad(double ohms) {
    if (std::isnan(ohms))
        return kDefaultLoad;
    return std::isinf(ohms) && ohms > 0 ? HUGE_VAL : std::clamp(ohms, kMinLoad, kMaxLoad);
}

double COutputLevels::AtLoad(double volts, double load) {
    if (std::isinf(load) || kSourceImpedance == 0.0)
        return volts;
    return volts * load / (load + kSourceImpedance);
}

double COutputLevels::OpenFor(double volts, double load) {
    if (std::isinf(load) || kSourceImpedance == 0.0)
        return volts;
    return volts * (load + kSourceImpedance) / load;
}

bool COutputLevels::CrestFactor(const CDDSDevice& device, double& crest, std::string& reason) {
    switch (device.m_nWaveType) {
    case WAVE_SINE:
        crest = std::sqrt(2.0);
        return true;
    case WAVE_SQUARE:
        crest = 1.0;
        return true;
    case WAVE_RAMP:
    case WAVE_WHITE_NOISE:
        crest = std::sqrt(3.0);
        return true;
    case WAVE_GAUSS_NOISE:
        crest = std::sqrt(6.0);
        return true;
    case WAVE_ARB:
        break;
    default:
        reason = "no crest factor for this wave: use VPP";
        return false;
    }
    const int count = std::clamp(int(device.m_nPointsPerPeriod), 1, kMaxPoints);
    double low = device.m_fArb[0];
    double high = low;
    for (int i = 1; i < count; ++i) {
        low = std::min<double>(low, device.m_fArb[std::size_t(i)]);
        high = std::max<double>(high, device.m_fArb[std::size_t(i)]);
    }
    const double middle = (high + low) / 2.0;
    double sum = 0.0;
    for (int i = 0; i < count; ++i) {
        const double d = device.m_fArb[std::size_t(i)] - middle;
        sum += d * d;
    }
    const double rms = std::sqrt(sum / count);
    if (!(high > low) || !(rms > 0.0)) {
        reason = "a flat Arb table has no crest factor: use VPP";
        return false;
    }
    crest = (high - low) / 2.0 / rms;
    return true;
}

bool COutputLevels::ToPeak(const CDDSDevice& device, double value, int unit, double load,
                           double& peak, std::string& reason) {
    if (unit == UNIT_VPP) {
        peak = OpenFor(value / 2.0, load);
        return true;
    }
    double crest = 1.0;
    if (!CrestFactor(device, crest, reason))
        return false;
    if (unit == UNIT_DBM) {
        if (std::isinf(load)) {
            reason = "dBm needs a finite OUTPut:LOAD";
            return false;
        }
        value = RmsOfDbm(value, load);
    }
    peak = OpenFor(value * crest, load);
    return true;
}

bool COutputLevels::FromPeak(const CDDSDevice& device, double peak, int unit, double load,
                             double& value, std::string& reason) {
    const double atLoad = AtLoad(peak, load);
    if (unit == UNIT_VPP) {
        value = 2.0 * atLoad;
        return true;
    }
    double crest = 1.0;
    if (!CrestFactor(device, crest, reason))
        return false;
    if (unit == UNIT_DBM && std::isinf(load)) {
        reason = "dBm needs a finite OUTPut:LOAD";
        return false;
    }
    value = unit == UNIT_DBM ? DbmOfRms(atLoad / crest, load) : atLoad / crest;
    return true;
}
