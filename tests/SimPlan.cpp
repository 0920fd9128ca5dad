// The simulated unit's frequency plan.
#include "hwsim/FrequencyPlan.h"

#include <gtest/gtest.h>

#include <cmath>

static bool Valid(const CFrequencyPlan& plan) {
    return plan.m_nDivider >= 1 && plan.m_nPoints >= 1 && plan.m_nPoints <= 4096 &&
           plan.m_nPeriods >= 1;
}

TEST(FrequencyPlan, PlaysWithinOneTenThousandthFrom1HzTo75MHzAndAlwaysGivesAPlan) {
    // A geometric sweep, plus hard spots just off 200/3 and 200/4 MHz where no
    // two-samples-per-period plan comes close enough.
    std::vector<double> requests{66658528.0, 66672147.2, 49996948.0, 50003000.0, 48828.0, 60000.0};
    for (double f = 1.0; f <= 75e6; f *= 1.0007)
        requests.push_back(f);
    for (double f : requests) {
        const CFrequencyPlan plan = CFrequencyPlan::For(f);
        ASSERT_TRUE(Valid(plan)) << f;
        ASSERT_LE(std::fabs(plan.Played() - f) / f, 1e-4) << f;
    }
    EXPECT_EQ(CFrequencyPlan::For(75e6).Played(), 75e6);
    // Slow waves use a full buffer of one period.
    EXPECT_EQ(CFrequencyPlan::For(1.0).m_nPeriods, 1);
    EXPECT_GE(CFrequencyPlan::For(1.0).m_nPoints, 4000);
    // Requests outside the range still give a plan.
    for (double f : {0.0, -100.0, std::nan(""), 1e-9, 1e12, HUGE_VAL})
        EXPECT_TRUE(Valid(CFrequencyPlan::For(f))) << f;
}
