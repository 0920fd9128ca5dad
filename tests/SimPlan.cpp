// The simulated unit's frequency plan.
#include "hwsim/FrequencyPlan.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void ExpectValid(const CFrequencyPlan& plan) {
    EXPECT_GE(plan.m_nDivider, 1);
    EXPECT_GE(plan.m_nPoints, 1);
    EXPECT_LE(plan.m_nPoints, 4096);
    EXPECT_GE(plan.m_nPeriods, 1);
}

TEST(FrequencyPlan, PlaysWithinOneTenThousandthFrom1HzTo75MHz) {
    double worst = 0.0;
    double worstAt = 0.0;
    int count = 0;
    for (double f = 1.0; f <= 75e6; f *= 1.0007, ++count) {
        const CFrequencyPlan plan = CFrequencyPlan::For(f);
        ASSERT_GE(plan.m_nDivider, 1);
        ASSERT_GE(plan.m_nPeriods, 1);
        ASSERT_GE(plan.m_nPoints, 1);
        ASSERT_LE(plan.m_nPoints, 4096);
        const double error = std::fabs(plan.Played() - f) / f;
        if (error > worst) {
            worst = error;
            worstAt = f;
        }
    }
    EXPECT_GT(count, 25000);
    EXPECT_LE(worst, 1e-4) << "at " << worstAt << " Hz";
}

TEST(FrequencyPlan, HardSpotsNearSimpleFractionsOfTheClock) {
    // Just off 200/3 and 200/4 MHz no two-samples-per-period plan comes close enough.
    for (double f : {66658528.0, 66672147.2, 49996948.0, 50003000.0, 75e6, 48828.0, 60000.0}) {
        const CFrequencyPlan plan = CFrequencyPlan::For(f);
        ExpectValid(plan);
        EXPECT_LE(std::fabs(plan.Played() - f) / f, 1e-4) << f;
    }
}

TEST(FrequencyPlan, SlowWavesUseAFullBufferOfOnePeriod) {
    const CFrequencyPlan plan = CFrequencyPlan::For(1.0);
    EXPECT_EQ(plan.m_nPeriods, 1);
    EXPECT_GE(plan.m_nPoints, 4000);
    EXPECT_EQ(CFrequencyPlan::For(75e6).Played(), 75e6);
}

TEST(FrequencyPlan, RequestsOutsideTheRangeStillGiveAPlan) {
    for (double f : {0.0, -100.0, std::nan(""), 1e-9, 1e12, HUGE_VAL})
        ExpectValid(CFrequencyPlan::For(f));
}

} // namespace
