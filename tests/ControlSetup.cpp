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

/// Each field away from what a new window has, to a value the device may hold as it is.
const struct {
    const char* szField;
    std::function<void(S&)> change;
} kFields[] = {
    {"wave type", [](S& s) { s.m_nWaveType = WAVE_ARB; }},
    {"frequency", [](S& s) { s.m_dFrequency = 2500.125; }},
    {"amplitude", [](S& s) { s.m_dAmplitude = 1.25; }},
    {"offset", [](S& s) { s.m_dOffset = -0.1; }},
    {"phase", [](S& s) { s.m_dPhase = 0.25; }},
    {"output", [](S& s) { s.m_bOutputOn = 0; }},
    {"-20 dB", [](S& s) { s.m_bAtten20dB = 1; }},
    {"single wave", [](S& s) { s.m_bSingleWave = 1; }},
    {"ext trig", [](S& s) { s.m_bExtTrig = 1; }},
    {"trigger edge", [](S& s) { s.m_nTrigEdge = 1; }},
    {"power-on output", [](S& s) { s.m_bPowerOnOutput = 0; }},
    {"counter", [](S& s) { s.m_bCounterOn = 0; }},
    {"measure mode", [](S& s) { s.m_nMeasureMode = 0; }},
    {"period number", [](S& s) { s.m_nPeriodNumber = 7; }},
    {"square duty", [](S& s) { s.m_dSquareDuty = 0.25; }},
    {"ramp duty", [](S& s) { s.m_dRampDuty = 0.75; }},
    {"exponent fall", [](S& s) { s.m_bExpFall = 0; }},
    {"exponent tau", [](S& s) { s.m_dExpTau = 0.5; }},
    {"trapezium rise", [](S& s) { s.m_dTrapRise = 0.125; }},
    {"trapezium high", [](S& s) { s.m_dTrapHigh = 0.5; }},
    {"trapezium fall", [](S& s) { s.m_dTrapFall = 0.25; }},
    {"FM", [](S& s) { s.m_bFM = 1; }},
    {"carrier", [](S& s) { s.m_nModCarrier = 12345; }},
    {"deviation", [](S& s) { s.m_nFmDeviation = 321; }},
    {"AM depth", [](S& s) { s.m_dAmDepth = 0.75; }},
    {"sweep start", [](S& s) { s.m_dSweepStart = 50.0; }},
    {"sweep end", [](S& s) { s.m_dSweepEnd = 5000.0; }},
    {"sweep step", [](S& s) { s.m_dSweepStep = 10.0; }},
    {"sweep speed", [](S& s) { s.m_nSweepSpeed = 250; }},
    {"DIO mode", [](S& s) { s.m_nDIOMode = 1; }},
    {"digital out", [](S& s) { s.m_wDigitalOut = 0xA5A; }},
    {"sample rate", [](S& s) { s.m_dSampleRate = 24000.0; }},
    {"points per period", [](S& s) { s.m_nPointsPerPeriod = 8; }},
    {"arb points", [](S& s) { s.m_nArbPoints = 8; }},
    {"arb table",
     [](S& s) {
         s.m_arb = {0.5f, -1.25f, 3.0e-7f, 0.0f, 1.0f / 3.0f};
     }},
    {"zoom", [](S& s) { s.m_nZoom = 2; }},
    {"view position", [](S& s) { s.m_dViewPos = 0.5; }},
    {"back colour", [](S& s) { s.m_crBack = 0x102030; }},
    {"curve colour", [](S& s) { s.m_crCurve = 0xABCDEF; }},
    {"grid colour", [](S& s) { s.m_crGrid = 0x000001; }},
    {"cursor colour", [](S& s) { s.m_crCursor = 0xFFFFFF; }},
    {"tab name", [](S& s) { s.m_strTabName = "Bench \xC3\xA4 2"; }},
};

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
    S all;
    for (const auto& row : kFields) {
        S one;
        row.change(one);
        EXPECT_NE(one, S()) << row.szField;
        EXPECT_EQ(Read(CSetupFile::Format(one)), one) << row.szField;
        row.change(all);
    }
    // Through a device and back (the window's tab name is not the record's).
    CDDSDevice device;
    BindEmpty(device);
    CDeviceControl control(device);
    control.ApplySetup(all);
    S captured;
    captured.m_strTabName = all.m_strTabName;
    for (auto colour : {&S::m_crBack, &S::m_crCurve, &S::m_crGrid, &S::m_crCursor})
        captured.*colour = all.*colour;
    control.CaptureSetup(captured);
    EXPECT_EQ(captured, all);
}

TEST(SetupFile, BrokenFilesAreRefusedWhole) {
    const std::string head = "[Setup]\nVersion=1\nFrequency=5000\n";
    const struct {
        const char* szCase;
        std::string text;
        const char* szSays;
    } rows[] = {
        {"empty", "", "not a device setup"},
        {"no section", "Version=1\nFrequency=5\n", "not a device setup"},
        {"no version", "[Setup]\nFrequency=5\n", "not a device setup"},
        {"newer version", "[Setup]\nVersion=2\n", "newer"},
        {"version text", "[Setup]\nVersion=one\n", "Line 2"},
        {"not a number", head + "Amplitude=1,5\n", "Line 4"},
        {"not finite", head + "Offset=nan\n", "Offset"},
        {"beyond double", head + "Frequency=1e999\n", "Frequency"},
        {"integer with fraction", head + "WaveType=1.5\n", "WaveType"},
        {"no equals", head + "Frequency 5\n", "Line 4"},
        {"bad colour", head + "CurveColor=#12345\n", "CurveColor"},
        {"bad point", head + "Arb=1,,2\n", "Arb"},
        {"too many points", head + Points(4097), "Arb"},
        {"two sections", head + "[Setup]\n", "second"},
        {"huge", head + ";" + std::string(CSetupFile::kMaxBytes, 'x'), "MiB"},
    };
    for (const auto& row : rows) {
        S kept;
        kept.m_dFrequency = 123.0;
        std::string error;
        EXPECT_FALSE(CSetupFile::Parse(row.text, kept, error)) << row.szCase;
        EXPECT_NE(error.find(row.szSays), std::string::npos) << row.szCase << ": " << error;
        EXPECT_EQ(kept.m_dFrequency, 123.0) << row.szCase;
    }
    // What another version may add is passed over; what is missing keeps a new window's value.
    const S read =
        Read("; note\n[Other]\nFrequency=x\n[setup]\nversion=1\nColour=9\nfrequency=7\n");
    S expected;
    expected.m_dFrequency = 7.0;
    EXPECT_EQ(read, expected);
    EXPECT_EQ(Read("[Setup]\nVersion=1\n" + Points(4096)).m_arb.size(), 4096u);
}

TEST(SetupFile, ApplyingClampsAndProgramsTheUnitWithOneDownload) {
    const struct {
        const char* szCase;
        bool bDemo;
        std::function<void(S&)> change;
        std::function<double(const CDDSDevice&)> stored;
        double dExpected;
        std::vector<int> queued;
    } rows[] = {
        {"unknown wave",
         false,
         [](S& s) { s.m_nWaveType = 42; },
         [](const CDDSDevice& d) { return double(d.m_nWaveType); },
         WAVE_SINE,
         {F, T, SW, IO, D}},
        {"frequency of the wave",
         false,
         [](S& s) { s.m_nWaveType = WAVE_RAMP, s.m_dFrequency = 9e7; },
         [](const CDDSDevice& d) { return d.m_dFrequency; },
         2.5e7,
         {F, T, SW, IO, D}},
        {"amplitude",
         true,
         [](S& s) { s.m_dAmplitude = 9; },
         [](const CDDSDevice& d) { return double(d.m_fAmplitude); },
         3.5,
         {D}},
        {"12 lines",
         true,
         [](S& s) { s.m_wDigitalOut = 0xFFFF; },
         [](const CDDSDevice& d) { return double(d.m_wDigitalOut); },
         0xFFF,
         {D}},
        {"trapezium fits the period",
         true,
         [](S& s) { s.m_dTrapFall = 0.9; },
         [](const CDDSDevice& d) { return double(d.m_fTrapFall); },
         0.4f,
         {D}},
        {"sweep step within span",
         true,
         [](S& s) { s.m_dSweepStart = 50, s.m_dSweepEnd = 100, s.m_dSweepStep = 1e6; },
         [](const CDDSDevice& d) { return d.m_dSweepStep; },
         50,
         {D}},
        {"period number",
         true,
         [](S& s) { s.m_nPeriodNumber = 500; },
         [](const CDDSDevice& d) { return double(d.m_nPeriodNumber); },
         99,
         {D}},
        {"power-on output",
         false,
         [](S& s) { s.m_bPowerOnOutput = 0; },
         [](const CDDSDevice& d) { return double(d.m_bPowerOnOutput); },
         0,
         {P, F, T, SW, IO, D}},
        {"demo keeps power-on output",
         true,
         [](S& s) { s.m_bPowerOnOutput = 0; },
         [](const CDDSDevice& d) { return double(d.m_bPowerOnOutput); },
         1,
         {D}},
    };
    for (const auto& row : rows) {
        CDDSDevice device;
        row.bDemo ? device.BindHardware({}) : BindEmpty(device);
        while (device.TakeCommand() != 0) {
        }
        S setup;
        row.change(setup);
        CDeviceControl(device).ApplySetup(setup);
        EXPECT_FLOAT_EQ(row.stored(device), row.dExpected) << row.szCase;
        EXPECT_EQ(device.PendingCommands(), row.queued) << row.szCase;
    }
}
