// The worker step: measurement, presence, digital lines, one command; the step guard.
#include "engine/DDSDevice.h"
#include "engine/StepGuard.h"
#include "engine/WakeFlag.h"
#include "tests/EngineFakeDll.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <thread>

namespace {

using Calls = std::vector<std::string>;

/// Runs `steps` worker steps and returns the calls they made.
Calls Steps(CDDSDevice& device, int steps) {
    CFakeDll::Lock()->calls.clear();
    while (steps-- > 0)
        device.DeviceStep();
    return CFakeDll::Calls();
}

class Step : public ::testing::Test {
protected:
    void SetUp() override {
        CFakeDll::Reset();
        BindEmpty(m_device);
        CStepGuard::ResetCount();
    }
    CDDSDevice m_device;
};

TEST_F(Step, CallsInOrderWithOneCommandPerStepReadingItsFieldsThen) {
    m_device.m_wDigitalOut = 0x0A5;
    m_device.SetExtTrig(1);
    m_device.SetDIOMode(1);
    Steps(m_device, 4);
    // The fifth step of the program reads the meter.
    EXPECT_EQ(Steps(m_device, 1), (Calls{"DDSGetMeasure(0,0)", "DDSCheck(0)",
                                         "DDSSetDigitalOut(0,165)", "DDSGetDigitalIn(0)"}));

    CStepGuard::ResetCount();
    m_device.SetExtTrig(0);
    m_device.SetDIOMode(0);
    m_device.m_bCounterOn = 0;
    EXPECT_EQ(Steps(m_device, 2),
              (Calls{"DDSCheck(0)", "DDSSetDigitalOut(0,165)", "DDSGetDigitalIn(0)",
                     "DDSSetTrigger(0,0,0)", "DDSCheck(0)", "DDSSetDigitalOut(0,165)",
                     "DDSGetDigitalIn(0)", "DDSSetDIOMode(0,0)"}));

    // A command reads its fields when carried out, not when queued.
    m_device.SetSingleWave(1);
    m_device.SetPowerOnOutput(1);
    m_device.m_bSingleWave = 0; // changed again before the worker got there
    m_device.m_bPowerOnOutput = 0;
    m_device.QueueCommand(99); // unknown: consumed without a call
    const Calls calls = Steps(m_device, 4);
    ASSERT_EQ(calls.size(), 15u);
    EXPECT_EQ(
        std::tuple(calls[3], calls[7], calls[11]),
        std::tuple("DDSSetSingleWave(0,0)", "DDSDownload(0,1000)", "DDSSetPowerOnOutput(0,0)"));
    EXPECT_TRUE(m_device.PendingCommands().empty());
}

// A lost unit that answers again gets frequency and buffer in that one step, then the queue:
// what waited, a download, and the modes the panel shows. Its power-on setting is the user's
// to write, so a return never sends it, whatever the record holds.
TEST_F(Step, AReturningUnitGetsFrequencyAndBufferThenTheQueueButNoPowerOnSetting) {
    m_device.m_bCounterOn = 0;
    m_device.m_bExtTrig = 1;
    // The record's power-on setting; whether a trigger command waited while the unit was away;
    // the queue's head after the return; the trigger calls the queue then makes.
    const std::tuple<int, bool, int, int> rows[] = {{1, true, CMD_SET_TRIGGER, 2},
                                                    {0, false, CMD_DOWNLOAD, 1}};
    for (const auto& [powerOn, waiting, head, triggers] : rows) {
        m_device.m_bPowerOnOutput = powerOn;
        if (waiting)
            m_device.QueueCommand(CMD_SET_TRIGGER);
        CFakeDll::Lock()->present = 0;
        EXPECT_EQ(Steps(m_device, 2), (Calls{"DDSCheck(0)", "DDSCheck(0)"}));
        CFakeDll::Lock()->present = 1;
        EXPECT_EQ(Steps(m_device, 1),
                  (Calls{"DDSCheck(0)", "DDSSetFrequency(0,1000.000000)", "DDSDownload(0,1000)"}));
        EXPECT_EQ(int(m_device.m_bLost), 0);
        const std::vector<int> queue = m_device.PendingCommands();
        ASSERT_FALSE(queue.empty());
        EXPECT_EQ(queue.front(), head);
        const Calls rest = Steps(m_device, int(queue.size()));
        EXPECT_TRUE(m_device.PendingCommands().empty());
        for (const std::string& call : rest)
            EXPECT_NE(call.rfind("DDSSetPowerOnOutput", 0), 0u) << call;
        EXPECT_EQ(std::count(rest.begin(), rest.end(), "DDSSetTrigger(0,1,0)"), triggers);
    }
}

// A file read queues its frequency before it switches to Arb: held, the worker takes neither
// until both are made, so the frequency command always finds Arb.
TEST_F(Step, AHeldQueueWaitsUntilTheGroupIsWhole) {
    m_device.m_bCounterOn = 0;
    CFakeDll::SetPlan(4000, 3);
    {
        const CDDSDevice::CCommandHold hold(m_device);
        m_device.m_nPointsPerPeriod = 8;
        m_device.SetFrequency(3000.0);
        EXPECT_FALSE(m_device.CommandWaiting());
        EXPECT_EQ(Steps(m_device, 3).size(), 9u); // presence and lines only
        m_device.SetWaveType(WAVE_ARB);
    }
    EXPECT_TRUE(m_device.CommandWaiting());
    EXPECT_EQ(Steps(m_device, 1).back(), "DDSSetFrequency(0,3000.000000)");
    EXPECT_EQ(m_device.m_nPointsPerPeriod, 1333);
}

TEST_F(Step, MeterShowsTheOldestOfASteadyWindowAndHoldsThroughJumps) {
    // Readings, values shown.
    const std::pair<std::vector<double>, std::vector<double>> cases[] = {
        {{1000, 1100, 1200, 1300, 1400, 1500, 1600}, {1000, 1000, 1000, 1000, 1000, 1100, 1200}},
        // 5000 stays in the window for five readings; only then may the value move again.
        {{1000, 1000, 1000, 5000, 1000, 1000, 1000, 1000, 1000}, std::vector<double>(9, 1000)},
        {{0, 0}, {0, 0}},          // 0/0 is no jump
        {{2000, 0}, {2000, 2000}}, // smallest 0: the infinite ratio keeps the value
    };
    for (const auto& [readings, expected] : cases) {
        CStepGuard::ResetCount();
        CDDSDevice device;
        BindEmpty(device);
        CFakeDll::Lock()->readings.assign(readings.begin(), readings.end());
        std::vector<double> shown;
        for (std::size_t i = 0; i < readings.size(); ++i) {
            Steps(device, 5); // the shared counter paces one reading
            shown.push_back(device.m_dMeasuredFreq);
        }
        EXPECT_EQ(shown, expected);
    }
}

TEST_F(Step, CounterTruncatesAndResetsBeforeTheFirstCountButNotOnADemo) {
    CFakeDll::Lock()->readings = {12.9};
    m_device.SetMeasureMode(0);
    const Calls calls = Steps(m_device, 1);
    EXPECT_EQ(std::tuple(int(m_device.m_nCount), int(m_device.m_bResetCounter), calls[0], calls[1]),
              std::tuple(12, 0, "DDSResetCounter(0)", "DDSGetMeasure(0,1)"));
    CFakeDll::Lock()->readings = {1e12};
    EXPECT_EQ(Steps(m_device, 1)[0], "DDSGetMeasure(0,1)"); // read every step, no second reset
    EXPECT_EQ(m_device.m_nCount, 2147483647);

    // A demo record's steps make no call and measure nothing.
    CDDSDevice demo;
    demo.BindHardware({});
    demo.SetWaveType(WAVE_RAMP);
    demo.m_nMeasureMode = 0;
    CFakeDll::Lock()->readings = {42.0};
    EXPECT_TRUE(Steps(demo, 20).empty());
    EXPECT_EQ(std::tuple(int(demo.m_nCount), double(demo.m_dMeasuredFreq), demo.PendingCommands()),
              std::tuple(0, 0.0, std::vector<int>{CMD_DOWNLOAD}));
}

TEST_F(Step, TwoStepsAtOnceOneRunsTheOtherReturns) {
    m_device.m_bCounterOn = 0;
    std::promise<void> inside, release;
    std::shared_future<void> released = release.get_future().share();
    CFakeDll::Lock()->checkHook = [&inside, released] {
        inside.set_value();
        released.wait();
    };
    std::thread first([this] { m_device.DeviceStep(); });
    inside.get_future().wait();
    CFakeDll::Lock()->checkHook = nullptr;

    CDDSDevice other;
    other.m_bDemo = 0;
    other.m_nDevice = 1;
    const int counted = CStepGuard::Count();
    EXPECT_FALSE(other.DeviceStep()); // the guard is held: skipped, not delayed
    EXPECT_EQ(std::pair(CStepGuard::Count(), other.PendingCommands().size()),
              std::pair(counted, 3ul));

    release.set_value();
    first.join();
    other.DeviceStep();
    EXPECT_EQ(other.PendingCommands().size(), 2u);
    const Calls calls = CFakeDll::Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "DDSCheck(1)"), 1);
}

TEST(WakeFlag, ARaiseEndsTheSleepItFindsOrTheNextOneAndNoMore) {
    using namespace std::chrono_literals;
    CWakeFlag flag;
    const auto start = std::chrono::steady_clock::now();
    flag.Raise();
    flag.Sleep(30s); // raised before it began
    std::thread sleeper([&flag] { flag.Sleep(30s); });
    std::this_thread::sleep_for(5ms); // most likely asleep by now; either way it must end
    flag.Raise();
    sleeper.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 20s); // a hang guard only

    const auto from = std::chrono::steady_clock::now();
    flag.Sleep(5ms); // the raise was used up: a whole pause
    EXPECT_GE(std::chrono::steady_clock::now() - from, 5ms);
}

} // namespace
