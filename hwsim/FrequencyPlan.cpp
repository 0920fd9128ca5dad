#include "hwsim/FrequencyPlan.h"

#include <cmath>
#include <initializer_list>

namespace {

/// Dividers tried above the smallest useful one. Near some frequencies the samples per
/// period move by almost exactly a whole sample from one divider to the next, so a narrow
/// window can miss every good plan.
constexpr int kDividerWindow = 2048;
/// Plans this close count as exact.
constexpr double kGoodEnough = 5.0e-6;

struct CRatio {
    long long p = 0;
    long long q = 1;
};

// The fraction p/q nearest y with 1 <= q <= maxQ (continued fractions with the last
// semiconvergent), for y > 0.
CRatio Nearest(double y, long long maxQ) {
    long long p0 = 0, q0 = 1, p1 = 1, q1 = 0;
    double x = y;
    for (int guard = 0; guard < 64; ++guard) {
        const double whole = std::floor(x);
        if (whole > 4.0e18)
            break;
        const long long a = static_cast<long long>(whole);
        const long long p2 = a * p1 + p0;
        const long long q2 = a * q1 + q0;
        if (q2 > maxQ) {
            const long long k = (maxQ - q0) / q1;
            const CRatio semi{p0 + k * p1, q0 + k * q1};
            const CRatio last{p1, q1};
            const double errSemi = std::fabs(y - static_cast<double>(semi.p) / semi.q);
            const double errLast = std::fabs(y - static_cast<double>(last.p) / last.q);
            return errSemi < errLast ? semi : last;
        }
        p0 = p1;
        q0 = q1;
        p1 = p2;
        q1 = q2;
        const double rest = x - whole;
        if (rest < 1e-15)
            break;
        x = 1.0 / rest;
    }
    return {p1, q1};
}

} // namespace

double CFrequencyPlan::Played() const {
    return m_nPeriods * (kClock / m_nDivider) / m_nPoints;
}

CFrequencyPlan CFrequencyPlan::For(double frequency) {
    double f = frequency;
    if (!(f >= kLowest)) // also not-a-number
        f = kLowest;
    if (f > kHighest)
        f = kHighest;

    // Smallest divider at which one period still fits into the buffer.
    const double lowest = std::floor(kClock / (kMaxPoints * f));
    const int first = lowest < 1.0 ? 1 : static_cast<int>(std::fmin(lowest, 2.0e9));

    CFrequencyPlan best;
    double bestError = INFINITY;
    // First only plans with at least two samples per period; if none reaches the
    // tolerance, under-sampled plans are allowed as a last resort.
    for (double maxRatio : {0.5, 1.0}) {
        for (int divider = first; divider < first + kDividerWindow; ++divider) {
            const double y = f * divider / kClock; // periods per sample
            if (y > maxRatio)
                break;
            const CRatio r = Nearest(y, kMaxPoints);
            if (r.p < 1)
                continue;
            const long long scale = kMaxPoints / r.q;
            CFrequencyPlan plan;
            plan.m_nDivider = divider;
            plan.m_nPoints = static_cast<int>(r.q * scale);
            plan.m_nPeriods = static_cast<int>(r.p * scale);
            const double error = std::fabs(plan.Played() - f) / f;
            // The fastest sample clock draws the finest wave: the first close plan wins.
            if (error <= kGoodEnough)
                return plan;
            if (error < bestError) {
                best = plan;
                bestError = error;
            }
        }
        if (bestError <= 5.0e-5)
            break;
    }
    return best;
}
