// The record's command queue, setters and binding to a unit.
#include "engine/DDSDevice.h"
#include "tests/EngineFakeDll.h"

#include <gtest/gtest.h>

using Queue = std::vector<int>;

TEST(CommandQueue, NewRecordProgramsAllAndDownloadMergesOnlyWithOldestEntry) {
    CDDSDevice device;
    EXPECT_EQ(device.PendingCommands(), (Queue{CMD_SET_FREQUENCY, CMD_SET_TRIGGER, CMD_DOWNLOAD}));
    BindEmpty(device);
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
    BindEmpty(device);
    device.SetFrequency(2500.0);
    device.SetSingleWave(1);
    device.SetExtTrig(1);
    device.SetTrigEdge(1);
    device.SetDIOMode(1);
    EXPECT_EQ(device.SetPowerOnOutput(0), 1);
    EXPECT_EQ(device.PendingCommands(),
              (Queue{CMD_SET_FREQUENCY, CMD_DOWNLOAD, CMD_SET_SINGLE_WAVE, CMD_DOWNLOAD,
                     CMD_SET_TRIGGER, CMD_SET_TRIGGER, CMD_SET_DIO_MODE, CMD_SET_POWER_ON_OUTPUT}));

    // Amplitude, output switch and period number leave the download to their caller.
    BindEmpty(device);
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
    EXPECT_EQ(device.SetPowerOnOutput(0), 0);
    EXPECT_EQ(device.m_bPowerOnOutput, 1);
    device.SetWaveType(WAVE_SQUARE);
    device.SetOffset(0.5);
    EXPECT_EQ(device.PendingCommands(), (Queue{CMD_DOWNLOAD}));
}

TEST(Setters, CounterResetRaisedOnlyWhenSwitchingToCounting) {
    CDDSDevice on; // counter on, frequency mode
    EXPECT_EQ((on.SetCounterOn(1), on.m_bResetCounter), 0);
    EXPECT_EQ((on.SetMeasureMode(0), on.m_bResetCounter), 1);
    CDDSDevice off;
    off.SetCounterOn(0);
    EXPECT_EQ((off.SetMeasureMode(0), off.m_bResetCounter), 0);
    EXPECT_EQ((off.SetCounterOn(1), off.m_bResetCounter), 1);
}

// Binding with none, one or several units free, the Device List and its cancelling are
// tested from the application's start-up; here the rules it does not reach.
TEST(Binding, OffersAtMostTwentyFreeIndicesAscendingAndRefusesOthers) {
    std::vector<int> offered;
    int answer = 3; // taken by another record: not one that was offered
    bool messageShown = false;
    CDDSDevice::BindContext context;
    context.foundDevices = 30;
    context.usedIndices = {3, 0};
    context.chooseDevice = [&](const std::vector<int>& free) {
        offered = free;
        return answer;
    };
    context.showDemoMessage = [&] { messageShown = true; };
    CDDSDevice refused;
    refused.BindHardware(context);
    EXPECT_EQ((std::pair<int, int>(refused.m_bDemo, refused.m_nDevice)), std::pair(1, -1));
    EXPECT_FALSE(messageShown);

    answer = 21;
    CDDSDevice chosen;
    chosen.BindHardware(context);
    ASSERT_EQ(offered.size(), 20u);
    EXPECT_EQ(std::vector<int>(offered.begin(), offered.begin() + 3), (std::vector<int>{1, 2, 4}));
    EXPECT_EQ(offered.back(), 21);
    EXPECT_EQ(chosen.m_nDevice, 21);
}
