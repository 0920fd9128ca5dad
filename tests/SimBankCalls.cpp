// The twelve functions as the simulated bank answers them.
#include "engine/hardware/DDSTarnDll.h"
#include "hwsim/SimControl.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

class SimBank : public ::testing::Test {
protected:
    void SetUp() override { SimReset(3); }
    void TearDown() override { SimReset(1); }
};

TEST_F(SimBank, UnknownAndUnpluggedUnitsLeaveOutputsAlone) {
    EXPECT_EQ(DDSSearch(), 3);
    int points = -7, periods = -8;
    for (int index : {-1, 3, 99}) {
        EXPECT_EQ(DDSSetFrequency(index, 1000.0, &points, &periods), 0);
        EXPECT_EQ(std::pair(points, periods), std::pair(-7, -8));
        EXPECT_EQ(DDSCheck(index), 0);
    }

    // An unplugged unit ignores calls and comes back freshly powered.
    DDSSetFrequency(2, 5000.0, &points, &periods);
    SimUnplug(2);
    double value = -1.0;
    EXPECT_EQ((std::vector<int>{DDSCheck(2), DDSSetDigitalOut(2, 7), DDSGetMeasure(2, 0, &value)}),
              (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(std::tuple(value, SimGetUnit(2).digitalOut), std::tuple(-1.0, 0));
    SimReplug(2);
    EXPECT_EQ(DDSCheck(2), 1);
    EXPECT_EQ(std::tuple(SimGetUnit(2).frequency, SimGetUnit(2).buffer.size()),
              std::tuple(0.0, 0u));
    SimReset(0);
    EXPECT_EQ(DDSSearch(), 0);
}

TEST_F(SimBank, CounterCountsOutputPeriodsSinceTheLastReset) {
    int points = 0, periods = 0;
    DDSSetFrequency(0, 10000.0, &points, &periods);
    const Clock::time_point before = Clock::now();
    DDSResetCounter(0);
    const Clock::time_point after = Clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const Clock::time_point readFrom = Clock::now();
    double count = 0.0;
    DDSGetMeasure(0, 1, &count);
    const Clock::time_point readTo = Clock::now();
    const auto seconds = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };
    EXPECT_GE(count, 10000.0 * seconds(readFrom - after) * (1 - 1e-4));
    EXPECT_LE(count, 10000.0 * seconds(readTo - before) * (1 + 1e-4));
}

// What the log entries read like is checked wherever the workers' traffic is.
TEST_F(SimBank, CallLogStaysBounded) {
    for (int i = 0; i < 20000; ++i)
        DDSCheck(i % 3);
    const std::vector<std::string> log = SimCallLog();
    EXPECT_LE(log.size(), 10000u);
    EXPECT_EQ(log.back(), "DDSCheck(" + std::to_string(19999 % 3) + ")");
}

TEST_F(SimBank, CallsFromSeveralThreadsAtOnce) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 500; ++i) {
                int points = 0, periods = 0;
                DDSSetFrequency(t % 3, 1000.0 + i, &points, &periods);
                double value = 0.0;
                DDSGetMeasure(t % 3, i % 2, &value);
                DDSSetDigitalOut(t % 3, static_cast<unsigned short>(i));
                if (i % 50 == 0)
                    SimCallLog();
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(SimGetUnit(0).frequency, 1499.0);
}

} // namespace
