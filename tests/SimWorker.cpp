// Device workers against the simulated bank: the whole engine running.
#include "SimTestSupport.h"
#include "engine/DDSDevice.h"
#include "engine/DeviceWorker.h"
#include "engine/WaveBatch.h"
#include "hwsim/SimControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <map>
#include <regex>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Opened as a device view opens it: bound, programmed once, then the worker.
class SimWorker : public ::testing::Test {
protected:
    void SetUp() override {
        SimReset(2);
        OpenOnSimulatedUnits(m_devices, 2);
    }
    void TearDown() override {
        m_workers[1].Stop();
        m_workers[0].Stop();
        SimReset(1);
    }
    /// Every queued command has reached the unit (none is still being carried out).
    bool Idle(int i) { return m_devices[i].CommandsDone(); }
    /// Whether record and unit agree on the plan and the unit's buffer holds it whole.
    bool PlanAgrees(int i) {
        const SimUnitState unit = SimGetUnit(i);
        return m_devices[i].m_nPoints == unit.points && m_devices[i].m_nPeriods == unit.periods &&
               int(unit.buffer.size()) == unit.points;
    }

    CDDSDevice m_devices[2];
    CDeviceWorker m_workers[2];
};

TEST_F(SimWorker, NewDeviceIsFullyProgrammedAndReadsItsOwnUnit) {
    m_devices[1].m_nWaveType = WAVE_SQUARE;
    m_devices[1].SetExtTrig(1);
    m_workers[0].Start(&m_devices[0]);
    m_workers[1].Start(&m_devices[1]);
    ASSERT_TRUE(WaitFor([&] { return Idle(0) && Idle(1); }));
    for (int i = 0; i < 2; ++i) {
        const SimUnitState unit = SimGetUnit(i);
        EXPECT_EQ(unit.frequency, 1000.0);
        ASSERT_TRUE(PlanAgrees(i));
        EXPECT_EQ(unit.buffer[1],
                  CWaveBatch::CodeOf(m_devices[i].SampleAt(1.0 / unit.points, false)));
    }
    EXPECT_EQ(SimGetUnit(1).triggerOn, 1);
    ASSERT_TRUE(WaitFor([&] { return m_devices[0].m_dMeasuredFreq > 0.0; }));
    EXPECT_NEAR(m_devices[0].m_dMeasuredFreq, 1000.0, 0.1);
    // The outputs come back on the inputs of the same unit (its index in bits 6 and 7).
    m_devices[1].m_wDigitalOut = 0xFED;
    ASSERT_TRUE(WaitFor([&] { return m_devices[1].m_wDigitalIn == (0x2D | (1 << 6)); }));
    EXPECT_EQ(SimGetUnit(1).digitalOut, 0xFED);
}

// A replugged unit comes back freshly powered: it is programmed before anything else and the
// modes the panel shows are sent again; its power-on setting is not written, since only the
// Power On menu commands write it.
TEST_F(SimWorker, ReplugedUnitIsReprogrammedFirstAndABurstEndsOnTheLast) {
    CDDSDevice& device = m_devices[0];
    device.SetExtTrig(1);
    device.SetTrigEdge(1);
    device.SetSingleWave(1);
    device.SetDIOMode(1);
    device.SetPowerOnOutput(0);
    m_workers[0].Start(&device);
    ASSERT_TRUE(WaitFor([&] { return Idle(0); }));
    SimUnplug(0);
    ASSERT_TRUE(WaitFor([&] { return device.m_bLost == 1; }));
    device.SetFrequency(2000.0); // waits in the queue while the unit is away
    SimClearLog();
    // A few steps while the unit is away: they may only look for it.
    ASSERT_TRUE(WaitFor([] { return SimCallLog().size() >= 3; }));
    SimReplug(0);
    ASSERT_TRUE(WaitFor([&] { return device.m_bLost == 0 && Idle(0); }));

    std::vector<std::string> sent;
    for (const std::string& call : SimCallLog())
        if (call.rfind("DDSCheck", 0) != 0 && call.rfind("DDSGetMeasure", 0) != 0)
            sent.push_back(call);
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent[0], "DDSSetFrequency(0,2000.000000)");
    EXPECT_EQ(sent[1].rfind("DDSDownload(0,", 0), 0u) << sent[1];
    EXPECT_EQ(sent[2], "DDSSetDigitalOut(0,0)");
    for (const std::string& call : sent)
        EXPECT_NE(call.rfind("DDSSetPowerOnOutput", 0), 0u) << call;
    const SimUnitState unit = SimGetUnit(0);
    const bool planAgrees = device.m_nPoints == unit.points && device.m_nPeriods == unit.periods;
    // The unit keeps the power-on setting the user gave it.
    EXPECT_EQ(
        (std::array<int, 8>{int(unit.frequency), unit.triggerOn, unit.triggerEdge, unit.singleWave,
                            unit.dioMode, unit.powerOnOutput, int(unit.buffer.size()), planAgrees}),
        (std::array<int, 8>{2000, 1, 1, 1, 1, 0, kMaxPoints, 1})); // a single-wave buffer

    // A burst of frequency changes ends on the last.
    device.SetSingleWave(0);
    for (int i = 1; i <= 1000; ++i)
        device.SetFrequency(1000.0 + 37.0 * i);
    // One command per step: about 2000 steps, two to each 1 ms pause, to work off.
    ASSERT_TRUE(WaitFor([&] { return Idle(0); }, 8000ms));
    EXPECT_EQ(SimGetUnit(0).frequency, 38000.0);
    EXPECT_TRUE(PlanAgrees(0));
}

TEST_F(SimWorker, AWokenWorkerStillCarriesOutOneCommandPerWholeStep) {
    m_workers[0].Start(&m_devices[0]);
    ASSERT_TRUE(WaitFor([&] { return Idle(0); }));
    SimClearLog();
    std::string queued;
    for (int i = 0; i < 30; ++i) {
        m_devices[0].SetDIOMode(i % 2);
        m_devices[0].SetExtTrig(i % 2);
        queued += "DT";
        std::this_thread::sleep_for(i % 10 == 0 ? 3ms : 0ms); // then the worker pauses again
    }
    ASSERT_TRUE(WaitFor([&] { return Idle(0); }));
    m_workers[0].Stop();

    // One letter per call; a step is presence check, outputs, inputs, then at most one command.
    const std::map<std::string, std::string> letters = {
        {"DDSCheck", "c"},     {"DDSSetDigitalOut", "o"}, {"DDSGetDigitalIn", "i"},
        {"DDSGetMeasure", ""}, {"DDSSetDIOMode", "D"},    {"DDSSetTrigger", "T"}};
    std::string steps;
    for (const std::string& call : SimCallLog()) {
        const auto letter = letters.find(call.substr(0, call.find('(')));
        steps += letter == letters.end() ? "?" : letter->second;
    }
    steps.erase(0, steps.find('c')); // the log may open inside a step
    EXPECT_TRUE(std::regex_match(steps, std::regex("(coi[DT]?)*"))) << steps;
    EXPECT_EQ(std::regex_replace(steps, std::regex("coi"), ""), queued);
}

TEST_F(SimWorker, CommandsWaitingForALostUnitDoNotHurryItsSteps) {
    m_workers[0].Start(&m_devices[0]);
    m_workers[1].Start(&m_devices[1]);
    SimUnplug(1);
    ASSERT_TRUE(WaitFor([&] { return m_devices[1].m_bLost == 1; }));
    m_devices[1].SetFrequency(2000.0);
    m_devices[1].SetDIOMode(1);
    // Each step checks the unit once and is followed by a whole pause, which only a raise from
    // before the count may cut short: a busy machine can only make the steps fewer.
    SimClearLog();
    const auto start = std::chrono::steady_clock::now();
    long checks = 0;
    ASSERT_TRUE(WaitFor(
        [&] { return (checks = std::ranges::count(SimCallLog(), "DDSCheck(1)")) >= 100; }, 60s));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LE(checks, elapsed / 1ms + 3);
}

TEST_F(SimWorker, StopWaitsForTheLoopAndLeavesTheGuardFree) {
    m_workers[0].Start(&m_devices[0]);
    m_workers[1].Start(&m_devices[1]);
    EXPECT_TRUE(m_workers[0].IsRunning());
    std::this_thread::sleep_for(20ms);
    m_workers[1].Stop();
    m_workers[0].Stop();
    EXPECT_FALSE(m_workers[0].IsRunning());
    m_workers[0].Stop(); // a second stop is harmless
    const size_t logged = SimCallLog().size();
    std::this_thread::sleep_for(5ms);
    EXPECT_EQ(SimCallLog().size(), logged);

    // No step was left half done holding the guard: a direct step still runs.
    m_devices[1].SetDIOMode(1);
    while (!Idle(1))
        m_devices[1].DeviceStep();
    EXPECT_EQ(SimGetUnit(1).dioMode, 1);
    {
        CDeviceWorker scoped;
        scoped.Start(&m_devices[1]);
    } // the destructor stops and joins
}

} // namespace
