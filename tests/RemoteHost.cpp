// The headless program's devices over the simulated bank: one per generator, each on its own
// unit, or one demo; CSV files with the File menu's rules and messages.
#include "remote/HeadlessHost.h"

#include "control/DeviceControl.h"
#include "engine/DDSDevice.h"
#include "formats/CsvFile.h"
#include "hwsim/SimControl.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>

TEST(HeadlessHost, OpensOneDevicePerGeneratorEachOnItsOwnUnitOrOneDemo) {
    for (int units : {0, 1, 3}) {
        SimReset(units);
        CHeadlessHost host;
        ASSERT_EQ(host.Count(), std::max(units, 1));
        std::set<int> bound;
        for (int i = 0; i < host.Count(); ++i) {
            EXPECT_EQ(host.Name(i), (units ? "Device " : "Demo ") + std::to_string(i + 1));
            EXPECT_EQ(host.Control(i)->Device().m_bDemo, units ? 0 : 1);
            bound.insert(host.Control(i)->Device().m_nDevice);
        }
        EXPECT_EQ(int(bound.size()), host.Count()) << units << " units";
        for (int i = 0; i < units; ++i)
            EXPECT_EQ(SimGetUnit(i).frequency, CDeviceControl::kDefaultFrequency) << "unit " << i;
        EXPECT_EQ(host.Control(host.Count()), nullptr);
    }
    SimReset(1);
}

TEST(HeadlessHost, CsvFilesKeepTheFileMenusRules) {
    SimReset(1);
    CHeadlessHost host;
    CDeviceControl& control = *host.Control(0);
    const CDDSDevice& device = control.Device();
    const std::string path = testing::TempDir() + "/headless_host.csv";
    std::string error;

    // A save that cannot happen is refused before the wave is captured into the table.
    EXPECT_FALSE(host.StoreCsv(0, testing::TempDir(), nullptr, error));
    EXPECT_EQ(std::tuple(error.rfind("Cann't Save file: ", 0), control.GetWaveType()),
              std::tuple(0u, WAVE_SINE));
    ASSERT_TRUE(host.StoreCsv(0, path, nullptr, error)) << error;
    EXPECT_EQ(control.GetWaveType(), WAVE_ARB);

    // Points read become the Arb wave as they are, not a capture of the wave before.
    control.SelectWaveType(WAVE_SQUARE);
    std::ofstream(path) << "#CLOCK=3000\n#SIZE=3\n1,0,0\n-1,0,0\n0.5,0,0\n";
    CCsvFile::Wave wave;
    ASSERT_TRUE(CCsvFile::Load(path, wave, error) && host.ApplyCsv(0, path, wave)) << error;
    // The clock over the size is the frequency; the unit's plan then decides the period.
    EXPECT_EQ(std::tuple(control.GetWaveType(), float(device.m_fArb[1]), control.GetFrequency()),
              std::tuple(WAVE_ARB, -1.0f, 1000.0));

    EXPECT_FALSE(host.ApplyCsv(1, path, wave));
    std::remove(path.c_str());
}
