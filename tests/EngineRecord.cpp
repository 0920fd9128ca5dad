// The record's command queue, the counter reset flag and binding to a unit. What each setter
// queues is checked through the device control, which calls them.
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
    EXPECT_EQ(std::tuple(int(refused.m_bDemo), int(refused.m_nDevice), messageShown),
              std::tuple(1, -1, false));

    answer = 21;
    CDDSDevice chosen;
    chosen.BindHardware(context);
    ASSERT_EQ(offered.size(), 20u);
    EXPECT_EQ(std::tuple(std::vector<int>(offered.begin(), offered.begin() + 3), offered.back(),
                         int(chosen.m_nDevice)),
              std::tuple(std::vector<int>{1, 2, 4}, 21, 21));
}
