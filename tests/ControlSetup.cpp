// Device setup files: every field survives the file and the device, broken files change
// nothing, and a setup reaches the unit through the device control's rules.
#include "control/DeviceControl.h"
#include "control/SetupFile.h"
#include "tests/EngineFakeDll.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using S = CDeviceSetup;
constexpr int F = CMD_SET_FREQUENCY, D = CMD_DOWNLOAD, T = CMD_SET_TRIGGER;
constexpr int SW = CMD_SET_SINGLE_WAVE, IO = CMD_SET_DIO_MODE, P = CMD_SET_POWER_ON_OUTPUT;
/// What a row reads back from the record.
#define FIELD(member) [](const CDDSDevice& d) -> double { return d.member; }

/// Every key of the file, each away from what a new window has, at a value the device holds
/// as it is.
const std::string kChanged =
    "[Setup]\nVersion=1\nWaveType=4\nFrequency=2500.125\nAmplitude=1.25\nOffset=-0.1\nPhase=0.2\n"
    "OutputOn=0\nAtten20dB=1\nSingleWave=1\nExtTrig=1\nTrigEdge=1\nPowerOnOutput=0\nCounterOn=0\n"
    "MeasureMode=0\nPeriodNumber=7\nSquareDuty=0.3\nRampDuty=0.75\nExpFall=0\nExpTau=5e-07\n"
    "TrapRise=0.1\nTrapHigh=0.5\nTrapFall=0.25\nFM=1\nModCarrier=12345\nFmDeviation=321\n"
    "AmDepth=0.7\nSweepStart=50\nSweepEnd=5000\nSweepStep=10\nSweepSpeed=250\nDIOMode=1\n"
    "DigitalOut=2650\nSampleRate=24000\nPointsPerPeriod=8\nArbPoints=8\nZoom=2\nViewPos=0.5\n"
    "BackColor=#102030\nCurveColor=#abcdef\nGridColor=#000001\nCursorColor=#FFFFFF\n"
    "TabName=Bench \xC3\xA4 2\nArb=0.5,-1.25,3e-07,0,0.33333334\n";

/// An Arb line of count points.
std::string Points(int count) {
    std::string line = "Arb=0.5";
    for (int i = 1; i < count; ++i)
        line += ",-1";
    return line + "\n";
}

S Read(const std::string& text) {
    S read;
    std::string error;
    EXPECT_TRUE(CSetupFile::Parse(text, read, error)) << error;
    return read;
}

} // namespace

TEST(SetupFile, EveryFieldSurvivesTheFileAndTheDevice) {
    const S all = Read(kChanged);
    // Each key is read: without its line the setup is another one.
    for (std::size_t line = kChanged.find("WaveType"); line < kChanged.size();) {
        const std::size_t next = kChanged.find('\n', line) + 1;
        const std::string without = std::string(kChanged).erase(line, next - line);
        EXPECT_NE(Read(without), all) << kChanged.substr(line, next - line);
        line = next;
    }
    EXPECT_EQ(Read(CSetupFile::Format(all)), all);
    // Through a device and back; the window's own fields are not the record's.
    CDDSDevice device;
    BindEmpty(device);
    CDeviceControl control(device);
    control.ApplySetup(all);
    S captured{.m_crBack = all.m_crBack,
               .m_crCurve = all.m_crCurve,
               .m_crGrid = all.m_crGrid,
               .m_crCursor = all.m_crCursor,
               .m_strTabName = all.m_strTabName};
    control.CaptureSetup(captured);
    EXPECT_EQ(captured, all);
}

TEST(SetupFile, BrokenFilesAreRefusedWhole) {
    const std::string head = "[Setup]\nVersion=1\nFrequency=5000\n";
    // The file, and what its refusal says.
    const std::pair<std::string, const char*> rows[] = {
        {"", "not a device setup"},
        {"Version=1\nFrequency=5\n", "not a device setup"},
        {"[Setup]\nFrequency=5\n", "not a device setup"},
        {"[Setup]\nVersion=2\n", "newer"},
        {"[Setup]\nVersion=one\n", "Line 2"},
        {head + "Amplitude=1,5\n", "Line 4"},
        {head + "Offset=nan\n", "Offset"},
        {head + "Frequency=1e999\n", "Frequency"},
        {head + "WaveType=1.5\n", "WaveType"},
        {head + "Frequency 5\n", "Line 4"},
        {head + "CurveColor=#12345\n", "CurveColor"},
        {head + "Arb=1,,2\n", "Arb"},
        {head + Points(4097), "Arb"},
        {head + "[Setup]\n", "second"},
        {head + ";" + std::string(CSetupFile::kMaxBytes, 'x'), "MiB"},
    };
    for (const auto& [text, says] : rows) {
        S kept{.m_dFrequency = 123.0};
        std::string error;
        EXPECT_FALSE(CSetupFile::Parse(text, kept, error)) << text.substr(0, 60);
        EXPECT_NE(error.find(says), std::string::npos) << error;
        EXPECT_EQ(kept, S{.m_dFrequency = 123.0});
    }
    // What another version may add is passed over; what is missing keeps a new window's value.
    EXPECT_EQ(Read("; note\n[Other]\nFrequency=x\n[setup]\nversion=1\nColour=9\nfrequency=7\n"),
              S{.m_dFrequency = 7.0});
    EXPECT_EQ(Read("[Setup]\nVersion=1\n" + Points(4096)).m_arb.size(), 4096u);
}

TEST(SetupFile, ApplyingClampsAndProgramsTheUnitWithOneDownload) {
    using Field = std::function<double(const CDDSDevice&)>;
    // Demo, the setup, the field read back and its value, what was queued.
    const std::tuple<bool, S, Field, double, std::vector<int>> rows[] = {
        {false, {.m_nWaveType = 42}, FIELD(m_nWaveType), 0, {F, T, SW, IO, D}},
        {true, {.m_nWaveType = WAVE_RAMP, .m_dFrequency = 9e7}, FIELD(m_dFrequency), 2.5e7, {D}},
        {true, {.m_dAmplitude = 9}, FIELD(m_fAmplitude), 3.5, {D}},
        {true, {.m_wDigitalOut = 0xFFFF}, FIELD(m_wDigitalOut), 0xFFF, {D}},
        {true, {.m_dTrapFall = 0.9}, FIELD(m_fTrapFall), 0.4f, {D}},
        {true,
         {.m_dSweepStart = 50, .m_dSweepEnd = 100, .m_dSweepStep = 1e6},
         FIELD(m_dSweepStep),
         50,
         {D}},
        {false, {.m_bPowerOnOutput = 0}, FIELD(m_bPowerOnOutput), 0, {P, F, T, SW, IO, D}},
        {true, {.m_bPowerOnOutput = 0}, FIELD(m_bPowerOnOutput), 1, {D}},
    };
    for (const auto& [demo, setup, stored, expected, queued] : rows) {
        CDDSDevice device;
        demo ? device.BindHardware({}) : BindEmpty(device);
        CDeviceControl(device).ApplySetup(setup);
        EXPECT_FLOAT_EQ(stored(device), expected) << CSetupFile::Format(setup);
        EXPECT_EQ(device.PendingCommands(), queued) << CSetupFile::Format(setup);
    }
}
