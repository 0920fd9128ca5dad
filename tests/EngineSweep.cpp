// One sweep step per timer tick.
#include "engine/DDSDevice.h"

#include <gtest/gtest.h>

namespace {

TEST(Sweep, StepsToTheEndInclusiveThenStartsOver) {
    CDDSDevice device;
    device.m_bDemo = 0;
    device.m_nDevice = 0;
    device.m_dSweepStart = 1000.0;
    device.m_dSweepEnd = 1003.0;
    device.m_dSweepStep = 1.0;
    device.m_dSweepFreq = 1000.0;
    std::vector<double> requested;
    for (int i = 0; i < 6; ++i) {
        device.SweepTick();
        requested.push_back(device.m_dFrequency / 0.048828125);
    }
    EXPECT_EQ(requested, (std::vector<double>{1000, 1001, 1002, 1003, 1000, 1001}));
    // Every tick queued a frequency command; the downloads merge only at the head.
    const std::vector<int> queue = device.PendingCommands();
    EXPECT_EQ(std::count(queue.begin(), queue.end(), CMD_SET_FREQUENCY), 7); // 1 from creation
}

TEST(Sweep, DemoRecordNeverChangesFrequency) {
    CDDSDevice device;
    device.BindHardware({});
    device.m_dSweepFreq = 1000.0;
    device.SweepTick();
    EXPECT_EQ(device.m_dFrequency, 1000.0);
    EXPECT_EQ(device.m_dSweepFreq, 1000.0);
    EXPECT_TRUE(device.PendingCommands().empty());
}

} // namespace
