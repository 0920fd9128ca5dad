#include "engine/WaveParameterRules.h"

#include <algorithm>

namespace {
/// 1 / 6.28 written out, so the duty of a knob reading is the same on every build.
constexpr double kKnobToDuty = 0.1592356687898089;
} // namespace

float CWaveParameterRules::KnobToDuty(double knob) {
    double duty = knob * kKnobToDuty;
    if (duty < 0.0)
        duty = 0.0;
    if (duty > 1.0)
        duty = 1.0;
    return static_cast<float>(duty);
}

double CWaveParameterRules::DutyToKnob(float duty) {
    return static_cast<double>(duty) * kKnobTurn;
}

float CWaveParameterRules::LimitTrapezia(TrapeziaPart part, float value, float rise, float high,
                                         float fall) {
    float limit = 0.0f;
    switch (part) {
    case TRAP_RISE:
        limit = (1.0f - high) - fall;
        break;
    case TRAP_HIGH:
        limit = (1.0f - rise) - fall;
        break;
    case TRAP_FALL:
        limit = (1.0f - high) - rise;
        break;
    }
    return value > limit ? limit : value;
}

int CWaveParameterRules::ClampPeriodNumber(long long n) {
    return static_cast<int>(std::clamp<long long>(n, kMinPeriodNumber, kMaxPeriodNumber));
}
