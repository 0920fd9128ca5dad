// What the unit plays: the frequency of the plan it reported, and an Arb table of any size
// played as one whole period. Against the simulated bank.
#include "SimTestSupport.h"
#include "formats/CsvFile.h"
#include "control/DeviceControl.h"
#include "engine/WaveBatch.h"
#include "hwsim/FrequencyPlan.h"
#include "hwsim/SimControl.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
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

TEST_F(Played, ArbTableOfAnySizePlaysAsOneWholePeriod) {
    for (int size : {1, 8, 1000, 4096}) {
        for (double hz : {3000.0, 1000.0, 12345.0, 1e6, 2e5, 25e6}) {
            SCOPED_TRACE(std::to_string(size) + " points at " + std::to_string(hz) + " Hz");
            std::vector<float> volts(size);
            for (int i = 0; i < size; ++i)
                volts[i] = static_cast<float>(3.5 * std::sin(i * 2.0 + 1.0)); // no two alike
            // As a file from anywhere that holds one period at hz.
            std::string error;
            ASSERT_TRUE(CCsvFile::ReadText(
                m_device, CCsvFile::Format(static_cast<float>(hz * size), volts), "t.csv", error));
            m_control.SelectWaveType(WAVE_ARB, true);
            Drain();

            const SimUnitState unit = SimGetUnit(0);
            ASSERT_EQ(int(unit.buffer.size()), unit.points);
            // The table stays what the user edits and saves.
            EXPECT_EQ(m_device.m_nPointsPerPeriod, size);
            const int perPeriod = unit.points / unit.periods;
            for (int s = 0; s < unit.points; ++s) {
                // A table of the plan's size is walked sample by sample as it always was;
                // otherwise each point holds its share of the period.
                const long long at = (long long)s * unit.periods % unit.points;
                const int point =
                    size == perPeriod
                        ? int(std::trunc(unit.points * (double(s) / unit.points))) % size
                        : int(at * size / unit.points);
                ASSERT_EQ(unit.buffer[s], CWaveBatch::CodeOf(m_device.m_fArb[point] * kScale)) << s;
            }
            m_control.SelectWaveType(WAVE_SINE);
            Drain();
        }
    }
}

} // namespace
