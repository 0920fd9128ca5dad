// What the unit plays: the frequency of the plan it reported, and an Arb table walked once per
// points per period of that plan. Against the simulated bank.
#include "SimTestSupport.h"
#include "TextTestSupport.h"
#include "control/DeviceControl.h"
#include "control/DeviceSetup.h"
#include "engine/WaveBatch.h"
#include "formats/CsvFile.h"
#include "hwsim/FrequencyPlan.h"
#include "hwsim/SimControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr double kScale = static_cast<double>(0.2857143f); // volts to full scale

class Played : public ::testing::Test {
protected:
    void SetUp() override {
        SimReset(1);
        OpenOnSimulatedUnits(&m_device, 1);
        Drain();
    }
    void TearDown() override { SimReset(1); }
    /// Carries out every queued command, as the worker would.
    void Drain() {
        while (!m_device.PendingCommands().empty())
            m_device.DeviceStep();
    }

    CDDSDevice m_device;
    CDeviceControl m_control{m_device};
};

TEST_F(Played, FrequencyFollowsThePlanTheUnitReported) {
    // Exact plans, several periods in a buffer, slow waves, and the coarse bands just off
    // 50 MHz and 66.67 MHz where the plan misses the request by 20 to 40 ppm.
    for (double hz : {1000.0, 12345.0, 3000.0, 1.0, 7.3, 99999.0, 1234567.0, 49996948.0, 50003000.0,
                      66658528.0, 66672147.2, 75e6}) {
        SCOPED_TRACE(hz);
        m_control.SetFrequency(hz);
        Drain();
        const double truth = CFrequencyPlan::For(hz).Played();
        EXPECT_NEAR(m_control.PlayedFrequency(), truth, truth * 1e-12);
        EXPECT_NEAR(m_control.DeviationPpm(), (truth - hz) / hz * 1e6, 1e-6);
    }
}

/// The unit's buffer is the Arb synthesis code for code: sample s plays table entry
/// trunc(points x s / points) mod the record's points per period.
void ExpectArbBuffer(const CDDSDevice& device) {
    const SimUnitState unit = SimGetUnit(0);
    ASSERT_EQ(int(unit.buffer.size()), unit.points);
    ASSERT_EQ(std::pair(int(device.m_nPoints), int(device.m_nPeriods)),
              std::pair(unit.points, unit.periods));
    const int perPeriod = device.m_nPointsPerPeriod;
    for (int s = 0; s < unit.points; ++s) {
        const int i = int(std::trunc(unit.points * (double(s) / unit.points))) % perPeriod;
        ASSERT_EQ(unit.buffer[s], CWaveBatch::CodeOf(device.m_fArb[i] * kScale)) << s;
    }
}

// Sine at 1000 Hz, Arb, then 3000 Hz typed: the frequency command gives the table the plan's
// 1333 points per period, the unit plays that, and a save writes those 1333 points at the clock
// they make with the frequency.
TEST_F(Played, ArbTakesTheNewPlansPointsPerPeriodAndSavesThem) {
    m_control.SetFrequency(1000.0);
    Drain();
    m_control.SelectWaveType(WAVE_ARB);
    Drain();
    const CFrequencyPlan before = CFrequencyPlan::For(1000.0);
    EXPECT_EQ(m_device.m_nPointsPerPeriod, before.m_nPoints / before.m_nPeriods); // the sine
    m_control.SetFrequency(3000.0);
    Drain();
    const CFrequencyPlan plan = CFrequencyPlan::For(3000.0);
    ASSERT_EQ(std::pair(plan.m_nPoints, plan.m_nPeriods), std::pair(4000, 3));
    EXPECT_EQ(m_device.m_nPointsPerPeriod, 1333);
    EXPECT_EQ(m_device.m_fSampleRate, 200000000.0f / CDDSDevice::ClockDivider(3000.0));
    ExpectArbBuffer(m_device);
    // What the unit plays is the plan's frequency, whatever the table holds.
    EXPECT_NEAR(m_control.PlayedFrequency(), plan.Played(), plan.Played() * 1e-12);

    CScratchDir dir;
    std::string error;
    ASSERT_TRUE(CCsvFile::Write(m_device, dir / "t.csv", error)) << error;
    const std::string text = ReadBytes(dir / "t.csv");
    EXPECT_EQ(text.substr(0, text.find("\r\n#SIZE=1333\r\n") + 14),
              "#CLOCK=3999000.000000\r\n#SIZE=1333\r\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2 + 1333);
}

// A setup (and so a recovered window) gives back the table and its figures as the record held
// them, and the unit plays the same buffer again.
TEST_F(Played, ASetupGivesBackTheTableTheUnitPlayed) {
    std::string error;
    ASSERT_TRUE(CCsvFile::ReadText(
        m_device, CCsvFile::Format(24000.0f, {1, 2, 3, 3.5f, 0, -1, -2, -3}), "t.csv", error));
    m_control.SelectWaveType(WAVE_ARB, true);
    Drain();
    const std::vector<unsigned short> played = SimGetUnit(0).buffer;
    CDeviceSetup setup;
    m_control.CaptureSetup(setup);

    m_control.SelectWaveType(WAVE_SINE);
    m_control.SetFrequency(1000.0);
    m_control.SelectWaveType(WAVE_ARB); // captures the sine over the table
    Drain();
    m_control.ApplySetup(setup);
    Drain();
    EXPECT_EQ(std::tuple(m_device.m_dFrequency, int(m_device.m_nPointsPerPeriod),
                         m_device.m_fArb[3].Get(), m_device.m_fArb[8].Get()),
              std::tuple(3000.0, 1333, 3.5f, 0.0f));
    ExpectArbBuffer(m_device);
    EXPECT_EQ(SimGetUnit(0).buffer, played);
}

// A table from a file is played as any table: its points, then whatever the table holds up to
// the points per period the plan gives, for every size and frequency.
TEST_F(Played, ArbTableFromAFileWalksThePlansPointsPerPeriod) {
    CScratchDir dir;
    for (int size : {8, 1, 1000, 4096}) {
        for (double hz : {3000.0, 1000.0, 12345.0, 1e6, 25e6}) {
            SCOPED_TRACE(std::to_string(size) + " points at " + std::to_string(hz) + " Hz");
            std::vector<float> volts(size);
            for (int i = 0; i < size; ++i)
                volts[i] = static_cast<float>(3.5 * std::sin(i * 2.0 + 1.0)); // no two alike
            // As File > Open reads it: the file, then Arb keeping the table, then a download.
            WriteBytes(dir / "t.csv", CCsvFile::Format(static_cast<float>(hz * size), volts));
            std::string error;
            ASSERT_TRUE(CCsvFile::Read(m_device, dir / "t.csv", error)) << error;
            m_control.SelectWaveType(WAVE_ARB, true);
            m_device.RequestDownload();
            Drain();

            const CFrequencyPlan plan = CFrequencyPlan::For(m_device.m_dFrequency);
            EXPECT_EQ(m_device.m_nPointsPerPeriod, std::max(1, plan.m_nPoints / plan.m_nPeriods));
            for (int i = 0; i < size; ++i)
                ASSERT_NEAR(m_device.m_fArb[i], volts[i], 1e-6) << i; // six decimals
            ExpectArbBuffer(m_device);
            EXPECT_NEAR(m_control.PlayedFrequency(), plan.Played(), plan.Played() * 1e-12);
            m_control.SelectWaveType(WAVE_SINE);
            Drain();
        }
    }
}

} // namespace
