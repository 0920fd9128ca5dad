// The record's command queue, setters and binding to a unit.
#include "engine/DDSDevice.h"

#include <gtest/gtest.h>

namespace {

using Queue = std::vector<int>;

// A record bound to unit 0 with an empty queue.
void MakeBound(CDDSDevice& device) {
    device.m_bDemo = 0;
    device.m_nDevice = 0;
    while (device.TakeCommand() != 0) {
    }
}

TEST(CommandQueue, NewRecordProgramsFrequencyTriggerThenDownload) {
    CDDSDevice device;
    EXPECT_EQ(device.PendingCommands(), (Queue{CMD_SET_FREQUENCY, CMD_SET_TRIGGER, CMD_DOWNLOAD}));
    EXPECT_EQ(device.TakeCommand(), CMD_SET_FREQUENCY);
    EXPECT_EQ(device.TakeCommand(), CMD_SET_TRIGGER);
    EXPECT_EQ(device.TakeCommand(), CMD_DOWNLOAD);
    EXPECT_EQ(device.TakeCommand(), 0);
}

TEST(CommandQueue, DownloadMergesOnlyWithOldestEntry) {
    CDDSDevice device;
    MakeBound(device);
    device.RequestDownload();
    EXPECT_EQ(device.PendingCommands(), (Queue{CMD_DOWNLOAD}));

    // Oldest is a download: nothing is added even behind other commands.
    device.QueueCommand(CMD_SET_TRIGGER);
    device.RequestDownload();
    EXPECT_EQ(device.PendingCommands(), (Queue{CMD_DOWNLOAD, CMD_SET_TRIGGER}));

    // Oldest is something else: added even though the newest already is a download.
    device.TakeCommand();
    device.QueueCommand(CMD_DOWNLOAD);
    device.RequestDownload();
    EXPECT_EQ(device.PendingCommands(), (Queue{CMD_SET_TRIGGER, CMD_DOWNLOAD, CMD_DOWNLOAD}));
}

TEST(Setters, BoundRecordQueuesWhatTheUnitMustReceive) {
    CDDSDevice device;
    MakeBound(device);
    device.SetFrequency(2500.0);
    device.SetSingleWave(1);
    device.SetExtTrig(1);
    device.SetTrigEdge(1);
    device.SetDIOMode(1);
    EXPECT_EQ(device.SetPowerOnOutput(0), 1);
    EXPECT_EQ(device.PendingCommands(),
              (Queue{CMD_SET_FREQUENCY, CMD_DOWNLOAD, CMD_SET_SINGLE_WAVE, CMD_DOWNLOAD,
                     CMD_SET_TRIGGER, CMD_SET_TRIGGER, CMD_SET_DIO_MODE, CMD_SET_POWER_ON_OUTPUT}));
    EXPECT_EQ(device.m_dFrequency, 2500.0);
    EXPECT_EQ(device.m_bPowerOnOutput, 0);

    // Amplitude, output switch and period number leave the download to their caller.
    MakeBound(device);
    device.SetAmplitude(1.5f);
    device.SetOutputOn(0);
    device.SetPeriodNumber(7);
    EXPECT_TRUE(device.PendingCommands().empty());
    device.SetOffset(1.0);
    device.SetAtten20dB(1);
    device.SetWaveType(WAVE_RAMP);
    EXPECT_EQ(device.PendingCommands(), (Queue{CMD_DOWNLOAD}));
}

TEST(Setters, DemoRecordQueuesOnlyDownloadsAndRefusesPowerOn) {
    CDDSDevice device;
    device.BindHardware({});
    EXPECT_TRUE(device.PendingCommands().empty()); // creation commands dropped
    device.SetFrequency(5000.0);
    device.SetSingleWave(1);
    device.SetExtTrig(1);
    device.SetDIOMode(1);
    EXPECT_TRUE(device.PendingCommands().empty());
    EXPECT_EQ(device.m_dFrequency, 5000.0);
    EXPECT_EQ(device.SetPowerOnOutput(0), 0);
    EXPECT_EQ(device.m_bPowerOnOutput, 1);
    device.SetWaveType(WAVE_SQUARE);
    device.SetOffset(0.5);
    EXPECT_EQ(device.PendingCommands(), (Queue{CMD_DOWNLOAD}));
}

TEST(Setters, CounterResetRaisedOnlyWhenSwitchingToCounting) {
    CDDSDevice device;
    device.SetCounterOn(1); // frequency mode
    EXPECT_EQ(device.m_bResetCounter, 0);
    device.SetMeasureMode(0);
    EXPECT_EQ(device.m_bResetCounter, 1);

    CDDSDevice off;
    off.SetCounterOn(0);
    off.SetMeasureMode(0);
    EXPECT_EQ(off.m_bResetCounter, 0);
    off.SetCounterOn(1);
    EXPECT_EQ(off.m_bResetCounter, 1);
}

struct BindCase {
    int found;
    std::vector<int> used;
    int choice; ///< What the chooser answers; -2: the chooser must not be asked.
    int demo;
    int device;
    bool message;
};

class Binding : public ::testing::TestWithParam<BindCase> {};

TEST_P(Binding, TakesTheFreeUnitOrBecomesDemo) {
    const BindCase& c = GetParam();
    CDDSDevice device;
    bool messageShown = false;
    std::vector<int> offered;
    CDDSDevice::BindContext context;
    context.foundDevices = c.found;
    context.usedIndices = c.used;
    context.chooseDevice = [&](const std::vector<int>& free) {
        offered = free;
        return c.choice;
    };
    context.showDemoMessage = [&] { messageShown = true; };
    device.BindHardware(context);
    EXPECT_EQ(device.m_bDemo, c.demo);
    EXPECT_EQ(device.m_nDevice, c.device);
    EXPECT_EQ(messageShown, c.message);
    if (c.choice == -2) {
        EXPECT_TRUE(offered.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    FreeUnits, Binding,
    ::testing::Values(BindCase{0, {}, -2, 1, -1, true},     // nothing found
                      BindCase{2, {0, 1}, -2, 1, -1, true}, // all taken
                      BindCase{3, {0, 2}, -2, 0, 1, false}, // exactly one free
                      BindCase{3, {1}, 2, 0, 2, false},     // chooser picks 2 of {0, 2}
                      BindCase{3, {}, -1, 1, -1, false},    // chooser cancelled
                      BindCase{3, {}, 7, 1, -1, false}));   // not one that was offered

TEST(Binding, OffersFreeIndicesInAscendingOrderAtMostTwenty) {
    CDDSDevice device;
    std::vector<int> offered;
    CDDSDevice::BindContext context;
    context.foundDevices = 30;
    context.usedIndices = {3, 0};
    context.chooseDevice = [&](const std::vector<int>& free) {
        offered = free;
        return free.back();
    };
    device.BindHardware(context);
    ASSERT_EQ(offered.size(), 20u);
    EXPECT_EQ(offered.front(), 1);
    EXPECT_EQ(offered[1], 2);
    EXPECT_EQ(offered[2], 4);
    EXPECT_EQ(device.m_nDevice, 21);
}

} // namespace
