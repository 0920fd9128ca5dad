#include "view/KnobEncoder.h"

#include <cmath>

double CKnobEncoder::s_dPrevious[2] = {0.0, 0.0};

namespace {
constexpr double kTurn = 6.28;
constexpr double kHalfTurn = 3.14;
constexpr double kStepsPerRadian = 31.84713375796178; // 200 steps per turn
} // namespace

int CKnobEncoder::Steps(double angle, double& previous) {
    double from = previous;
    if (std::fabs(angle - from) >= kHalfTurn)
        from += angle > from ? kTurn : -kTurn;
    previous = angle;
    return static_cast<int>((angle - from) * kStepsPerRadian);
}

int CKnobEncoder::Turn(Role role, double angle) {
    return Steps(angle, s_dPrevious[role]);
}

void CKnobEncoder::Reset() {
    s_dPrevious[0] = s_dPrevious[1] = 0.0;
}
