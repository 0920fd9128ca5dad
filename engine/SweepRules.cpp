#include "engine/SweepRules.h"

#include "engine/DDSDevice.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kMinStart = 20.0;
constexpr double kMaxFrequency = 100000.0;
constexpr double kMinEnd = 1.0;
constexpr double kMaxSpeed = 3600000.0;
constexpr int kDefaultSpeed = 100;
constexpr double kMinStep = 1.0;
constexpr double kHalfTurn = 3.14;
constexpr double kTurn = 6.28;

int Truncated(double value) {
    return static_cast<int>(std::trunc(value));
}
} // namespace

double CSweepRules::ClampStart(double hz) {
    return std::clamp(hz, kMinStart, kMaxFrequency);
}

double CSweepRules::ClampEnd(double hz) {
    return std::clamp(hz, kMinEnd, kMaxFrequency);
}

double CSweepRules::LimitSpeed(double ms) {
    if (ms < 1.0)
        return 1.0;
    if (ms > kMaxSpeed)
        return kDefaultSpeed;
    return ms;
}

int CSweepRules::ClampSpeed(double ms) {
    return Truncated(LimitSpeed(ms));
}

// The floor first, then the span: read the other way round, a start above the end would give a
// negative step, and switching on with start 5000 and end 2000 (the end raised to 5000) would
// sweep downwards instead of playing 5000 alone. So the floor wins over a span under 1 Hz.
double CSweepRules::ClampStep(double hz, double start, double end) {
    return std::max(std::min(hz, end - start), kMinStep);
}

double CSweepRules::Limit(const CDDSDevice& device, Field field, double value) {
    switch (field) {
    case FIELD_START:
        return ClampStart(value);
    case FIELD_END:
        return ClampEnd(value);
    case FIELD_SPEED:
        return LimitSpeed(value);
    case FIELD_STEP:
        return ClampStep(value, device.m_dSweepStart, device.m_dSweepEnd);
    }
    return 0.0;
}

double CSweepRules::Enter(CDDSDevice& device, Field field, double value) {
    const double limited = Limit(device, field, value);
    switch (field) {
    case FIELD_START:
        return device.m_dSweepStart = limited;
    case FIELD_END:
        return device.m_dSweepEnd = limited;
    case FIELD_SPEED:
        return device.m_nSweepSpeed = Truncated(limited);
    case FIELD_STEP:
        return device.m_dSweepStep = limited;
    }
    return 0.0;
}

// Two checks, one after the other: a report of exactly half a turn forward passes both and
// counts forward, as one of half a turn backward does.
double CSweepRules::KnobDelta(double angle, double& previous) {
    if (angle > previous && angle - previous >= kHalfTurn)
        previous += kTurn;
    if (angle < previous && previous - angle >= kHalfTurn)
        previous -= kTurn;
    const double delta = (angle - previous) * kUnitsPerRadian;
    previous = angle;
    return delta;
}

double CSweepRules::Turn(CDDSDevice& device, Field field, double delta) {
    switch (field) {
    case FIELD_START: {
        const double start = Truncated(device.m_dSweepStart + delta);
        return device.m_dSweepStart = std::max(std::min(start, double(device.m_dSweepEnd)), 0.0);
    }
    case FIELD_END: {
        const double end = std::max(device.m_dSweepEnd + delta, double(device.m_dSweepStart));
        return device.m_dSweepEnd = std::min(end, kMaxFrequency);
    }
    case FIELD_SPEED:
        return device.m_nSweepSpeed = std::max(Truncated(device.m_nSweepSpeed + delta), 1);
    case FIELD_STEP: {
        const double step = Truncated(device.m_dSweepStep) + Truncated(delta);
        return device.m_dSweepStep = std::max(step, kMinStep);
    }
    }
    return 0.0;
}
