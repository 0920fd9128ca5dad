// The SCPI instrument over two records bound to the simulated bank, with their workers.
#pragma once
#include "SimTestSupport.h"
#include "control/DeviceControl.h"
#include "engine/DeviceWorker.h"
#include "engine/WaveBatch.h"
#include "formats/CsvFile.h"
#include "hwsim/SimControl.h"
#include "instrument/DeviceRegistry.h"
#include "instrument/ScpiInstrument.h"
#include "scpi/ScpiSession.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

// Two devices in tab order; CSV files go through the reader and writer as File menu does.
class Instrument : public ::testing::Test, public CDeviceRegistry {
protected:
    void SetUp() override {
        SimReset(2);
        OpenOnSimulatedUnits(m_devices, 2);
        for (int i = 0; i < 2; ++i)
            m_workers[i].Start(&m_devices[i]);
        ASSERT_TRUE(
            WaitFor([&] { return m_devices[0].CommandsDone() && m_devices[1].CommandsDone(); }));
    }
    void TearDown() override {
        m_workers[1].Stop();
        m_workers[0].Stop();
        SimReset(1);
        std::filesystem::remove_all(m_strFolder);
    }

    int Count() const override { return 2; }
    std::string Name(int index) const override { return "Device " + std::to_string(index + 1); }
    CDeviceControl* Control(int index) override {
        return index >= 0 && index < 2 ? &m_controls[index] : nullptr;
    }
    bool ApplyCsv(int index, const std::string& path, const CCsvFile::Wave& wave) override {
        const CDDSDevice::CCommandHold hold(m_devices[index]); // as the program's registries
        m_strApplied = path;
        CCsvFile::Apply(m_devices[index], wave);
        m_controls[index].SelectWaveType(WAVE_ARB, true);
        return true;
    }
    bool StoreCsv(int index, const std::string& path, const CCsvFile::Target* target,
                  std::string& error) override {
        if (!CCsvFile::CheckWritable(path, error, target))
            return false;
        m_controls[index].SelectWaveType(WAVE_ARB);
        return CCsvFile::Write(m_devices[index], path, error, target);
    }

    // Feeds a line and waits out an *OPC? in it; the response without its newline.
    std::string Run(CScpiSession& session, const std::string& line) {
        std::string out = session.Feed(line + "\n");
        EXPECT_TRUE(WaitFor([&] { return (out += session.Poll(), !session.IsWaiting()); }));
        return out.empty() ? out : out.substr(0, out.size() - 1);
    }
    std::vector<int> Errors(CScpiSession& session, std::string* text = nullptr) {
        std::vector<int> codes;
        for (std::string entry; (entry = session.Feed("SYST:ERR?\n")).rfind("0,", 0) != 0;) {
            codes.push_back(std::stoi(entry));
            if (text)
                *text += entry;
        }
        return codes;
    }
    /// The unit plays the Arb table as a CSV file's table plays: the plan's points per period,
    /// and sample s of the buffer is entry trunc(points x s / points) mod that figure.
    ::testing::AssertionResult PlaysTheTable(int i) {
        const SimUnitState unit = SimGetUnit(i);
        const CDDSDevice& device = m_devices[i];
        const int perPeriod = device.m_nPointsPerPeriod;
        if (perPeriod != unit.points / unit.periods || int(unit.buffer.size()) != unit.points)
            return ::testing::AssertionFailure() << perPeriod << " points per period";
        for (int s = 0; s < unit.points; ++s) {
            const int entry = int(std::trunc(unit.points * (double(s) / unit.points))) % perPeriod;
            if (unit.buffer[s] != CWaveBatch::CodeOf(device.m_fArb[entry] * double(0.2857143f)))
                return ::testing::AssertionFailure()
                       << "sample " << s << " entry " << entry << " code " << unit.buffer[s]
                       << " table " << device.m_fArb[entry] << " of " << perPeriod;
        }
        return ::testing::AssertionSuccess();
    }

    std::set<unsigned short> UnitCodes(int unit) {
        const std::vector<unsigned short> buffer = SimGetUnit(unit).buffer;
        return {buffer.begin(), buffer.end()};
    }

    CDDSDevice m_devices[2];
    CDeviceControl m_controls[2] = {CDeviceControl(m_devices[0]), CDeviceControl(m_devices[1])};
    CDeviceWorker m_workers[2];
    /// The file commands' folder, one per test process (the cases may run side by side).
    const std::string m_strFolder =
        ::testing::TempDir() + "instrument_waves_" + std::to_string(::getpid());
    std::string m_strApplied; ///< The path the last file read named.
    CScpiInstrument m_instrument{*this, "9.9", m_strFolder};
};

} // namespace
