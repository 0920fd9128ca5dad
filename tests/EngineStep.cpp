// The worker step: measurement, presence, digital lines, one command; the step guard.
#include "engine/DDSDevice.h"
#include "engine/StepGuard.h"
#include "tests/EngineFakeDll.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace {

using Calls = std::vector<std::string>;

class Step : public ::testing::Test {
protected:
    void SetUp() override {
        CFakeDll::Reset();
        BindEmpty(m_device);
        CStepGuard::ResetCount();
    }
    CDDSDevice m_device;
};

TEST_F(Step, CallsInOrderWithOneCommandPerStep) {
    m_device.m_wDigitalOut = 0x0A5;
    CFakeDll::SetDigitalIn(0x15);
    m_device.SetExtTrig(1);
    m_device.SetDIOMode(1);
    for (int i = 0; i < 4; ++i)
        m_device.DeviceStep();
    CFakeDll::ClearCalls();
    m_device.DeviceStep(); // fifth step of the program: the meter is read
    EXPECT_EQ(CFakeDll::Calls(), (Calls{"DDSGetMeasure(0,0)", "DDSCheck(0)",
                                        "DDSSetDigitalOut(0,165)", "DDSGetDigitalIn(0)"}));
    EXPECT_EQ(m_device.m_wDigitalIn, 0x15);

    CStepGuard::ResetCount();
    m_device.SetExtTrig(0);
    m_device.SetDIOMode(0);
    m_device.m_bCounterOn = 0;
    CFakeDll::ClearCalls();
    m_device.DeviceStep();
    m_device.DeviceStep();
    EXPECT_EQ(CFakeDll::Calls(),
              (Calls{"DDSCheck(0)", "DDSSetDigitalOut(0,165)", "DDSGetDigitalIn(0)",
                     "DDSSetTrigger(0,0,0)", "DDSCheck(0)", "DDSSetDigitalOut(0,165)",
                     "DDSGetDigitalIn(0)", "DDSSetDIOMode(0,0)"}));
}

TEST_F(Step, CommandReadsItsFieldsWhenCarriedOut) {
    m_device.m_bCounterOn = 0;
    m_device.SetSingleWave(1);
    m_device.SetPowerOnOutput(1);
    m_device.m_bSingleWave = 0; // changed again before the worker got there
    m_device.m_bPowerOnOutput = 0;
    m_device.QueueCommand(99); // unknown: consumed without a call
    for (int i = 0; i < 4; ++i)
        m_device.DeviceStep();
    const Calls calls = CFakeDll::Calls();
    EXPECT_EQ(calls[3], "DDSSetSingleWave(0,0)");
    EXPECT_EQ(calls[7], "DDSDownload(0,1000)");
    EXPECT_EQ(calls[11], "DDSSetPowerOnOutput(0,0)");
    EXPECT_EQ(calls.size(), 15u);
    EXPECT_TRUE(m_device.PendingCommands().empty());
}

TEST_F(Step, MeterShowsTheOldestOfASteadyWindowAndHoldsThroughJumps) {
    const struct {
        std::vector<double> readings;
        std::vector<double> shown;
    } cases[] = {
        {{1000, 1100, 1200, 1300, 1400, 1500, 1600}, {1000, 1000, 1000, 1000, 1000, 1100, 1200}},
        // 5000 stays in the window for five readings; only then may the value move again.
        {{1000, 1000, 1000, 5000, 1000, 1000, 1000, 1000, 1000}, std::vector<double>(9, 1000)},
        {{0, 0}, {0, 0}},          // 0/0 is no jump
        {{2000, 0}, {2000, 2000}}, // smallest 0: the infinite ratio keeps the value
    };
    for (const auto& c : cases) {
        CFakeDll::Reset();
        CStepGuard::ResetCount();
        CDDSDevice device;
        BindEmpty(device);
        CFakeDll::QueueReadings(c.readings);
        std::vector<double> shown;
        for (std::size_t i = 0; i < c.readings.size(); ++i) {
            for (int step = 0; step < 5; ++step) // the shared counter paces one reading
                device.DeviceStep();
            shown.push_back(device.m_dMeasuredFreq);
        }
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(device.m_freqHistory.size(), std::min<std::size_t>(c.readings.size(), 5));
    }
}

TEST_F(Step, CounterTruncatesAndResetsBeforeTheFirstCount) {
    CFakeDll::QueueReadings({12.9});
    m_device.SetMeasureMode(0);
    m_device.DeviceStep();
    EXPECT_EQ(m_device.m_nCount, 12);
    EXPECT_EQ(m_device.m_bResetCounter, 0);
    const Calls calls = CFakeDll::Calls();
    EXPECT_EQ(calls[0], "DDSResetCounter(0)");
    EXPECT_EQ(calls[1], "DDSGetMeasure(0,1)");
    CFakeDll::ClearCalls();
    CFakeDll::QueueReadings({1e12});
    m_device.DeviceStep(); // read every step, no second reset
    EXPECT_EQ(CFakeDll::Calls()[0], "DDSGetMeasure(0,1)");
    EXPECT_EQ(m_device.m_nCount, 2147483647);
}

TEST_F(Step, DemoStepMakesNoCall) {
    CDDSDevice demo;
    demo.BindHardware({});
    demo.SetWaveType(WAVE_RAMP);
    demo.m_nMeasureMode = 0;
    CFakeDll::QueueReadings({42.0});
    for (int i = 0; i < 20; ++i)
        demo.DeviceStep();
    EXPECT_TRUE(CFakeDll::Calls().empty());
    EXPECT_EQ(demo.m_nCount, 0);
    EXPECT_EQ(demo.m_dMeasuredFreq, 0.0);
    EXPECT_EQ(demo.PendingCommands(), (std::vector<int>{CMD_DOWNLOAD}));
}

TEST_F(Step, TwoStepsAtOnceOneRunsTheOtherReturns) {
    m_device.m_bCounterOn = 0;
    std::promise<void> inside;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    CFakeDll::SetCheckHook([&inside, released] {
        inside.set_value();
        released.wait();
    });
    std::thread first([this] { m_device.DeviceStep(); });
    inside.get_future().wait();
    CFakeDll::SetCheckHook(nullptr);

    CDDSDevice other;
    other.m_bDemo = 0;
    other.m_nDevice = 1;
    const int counted = CStepGuard::Count();
    other.DeviceStep(); // the guard is held: skipped, not delayed
    EXPECT_EQ(CStepGuard::Count(), counted);
    EXPECT_EQ(other.PendingCommands().size(), 3u);

    release.set_value();
    first.join();
    other.DeviceStep();
    EXPECT_EQ(other.PendingCommands().size(), 2u);
    const Calls calls = CFakeDll::Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "DDSCheck(1)"), 1);
}

} // namespace
