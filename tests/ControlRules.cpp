// What the device control stores for each setting and what it queues for the unit.
#include "control/DeviceControl.h"
#include "tests/EngineFakeDll.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

using Queue = std::vector<int>;
using C = CDeviceControl;
constexpr auto TRAP_FALL = CWaveParameterRules::TRAP_FALL;
constexpr int F = CMD_SET_FREQUENCY, D = CMD_DOWNLOAD, T = CMD_SET_TRIGGER;
constexpr int S = CMD_SET_SINGLE_WAVE, IO = CMD_SET_DIO_MODE, P = CMD_SET_POWER_ON_OUTPUT;
/// One operation of the table, returning what it stored.
#define OP(call) [](C& c) -> double { return c.call; }

/// A bound (or demo) record with the given wave type and nothing queued.
void Prepare(CDDSDevice& device, int waveType, bool demo) {
    device.m_nWaveType = waveType;
    if (demo)
        device.BindHardware({});
    else
        BindEmpty(device);
}

} // namespace

TEST(DeviceControl, ClampsStoreAndQueueWhatFollows) {
    // Name, wave type, demo, the operation, what it stored, what it queued.
    const std::tuple<const char*, int, bool, std::function<double(C&)>, double, Queue> rows[] = {
        {"frequency floor", WAVE_SINE, false, OP(SetFrequency(0.5)), 1.0, {F, D}},
        {"sine maximum", WAVE_SINE, false, OP(SetFrequency(8e7)), 7.5e7, {F, D}},
        {"ramp maximum", WAVE_RAMP, false, OP(SetFrequency(3e7)), 2.5e7, {F, D}},
        {"demo frequency", WAVE_SINE, true, OP(SetFrequency(5e3)), 5e3, {}},
        {"knob turning", WAVE_SINE, false, OP(RememberFrequency(0)), 1.0, {}},
        {"knob let go", WAVE_SINE, false, OP(TurnFrequency(7e3)), 7e3, {F, D, D}},
        {"knob let go, Arb", WAVE_ARB, false, OP(TurnFrequency(7e3)), 7e3, {F, D}},
        {"amplitude top", WAVE_SINE, false, OP(SetAmplitude(5)), 3.5, {D}},
        {"amplitude knob, Arb", WAVE_ARB, false, OP(TurnAmplitude(1)), 1.0, {}},
        {"offset floor", WAVE_SINE, false, OP(SetOffset(-9)), -7.0, {D}},
        {"offset kept double", WAVE_SINE, false, OP(StepOffset(0.1)), 0.1, {D}},
        {"phase top", WAVE_SINE, false, OP(SetPhase(1.5)), 1.0, {D}},
        {"output off", WAVE_SINE, false, OP(SetOutputOn(0)), 0, {D}},
        {"single wave", WAVE_SINE, false, OP(SetSingleWave(2)), 1, {S, D}},
        {"single wave, demo", WAVE_SINE, true, OP(SetSingleWave(1)), 1, {}},
        {"ext trig", WAVE_SINE, false, OP(SetExtTrig(1)), 1, {T}},
        {"trigger edge", WAVE_SINE, false, OP(SetTrigEdge(1)), 1, {T}},
        {"ext trig, demo", WAVE_SINE, true, OP(SetExtTrig(1)), 1, {}},
        {"trigger edge, demo", WAVE_SINE, true, OP(SetTrigEdge(1)), 1, {}},
        {"-20 dB", WAVE_SINE, true, OP(SetAtten20dB(1)), 1, {D}},
        {"DIO mode", WAVE_SINE, false, OP(SetDIOMode(1)), 1, {IO}},
        {"DIO mode, demo", WAVE_SINE, true, OP(SetDIOMode(1)), 1, {}},
        {"12 lines", WAVE_SINE, false, OP(SetDigitalOut(0xFFFF)), 0xFFF, {}},
        {"period number", WAVE_SINE, false, OP(SetPeriodNumber(150)), 99, {}},
        {"power on", WAVE_SINE, false, OP(SetPowerOnOutput(0)), 0, {P, D}},
        {"power on, demo", WAVE_SINE, true, OP(SetPowerOnOutput(0)), 1, {D}},
        {"square duty", WAVE_SINE, false, OP(SetDuty(WAVE_SQUARE, 1.2)), 1, {D}},
        {"trapezium", WAVE_SINE, false, OP(SetTrapezia(TRAP_FALL, 1, {.25f, .5f, 0})), .25, {D}},
    };
    for (const auto& [name, wave, demo, op, stored, queued] : rows) {
        CDDSDevice device;
        Prepare(device, wave, demo);
        C control(device);
        EXPECT_EQ(op(control), stored) << name;
        EXPECT_EQ(device.PendingCommands(), queued) << name;
    }
}

TEST(DeviceControl, WaveSwitchingCapturesLowersAndResetsPhase) {
    CDDSDevice device;
    Prepare(device, WAVE_SQUARE, false);
    C control(device);
    device.m_dFrequency = 2e3;
    device.m_fPhase = 0.5f;
    auto change = control.SelectWaveType(WAVE_ARB);
    EXPECT_EQ(std::tuple(change.nPrevious, change.bPhaseReset, change.bForgetFile,
                         float(device.m_fPhase), device.PendingCommands()),
              std::tuple(int(WAVE_SQUARE), true, true, 0.0f, Queue{D}));
    const auto [low, high] = std::minmax_element(device.m_fArb.begin(),
                                                 device.m_fArb.begin() + device.m_nPointsPerPeriod);
    EXPECT_EQ(std::tuple(std::lround(*low * 10), std::lround(*high * 10)), std::tuple(-20, 20));

    // A table read from a file stays, and with it its file name.
    control.SelectWaveType(WAVE_SINE);
    device.m_fArb[0] = 1.25f;
    change = control.SelectWaveType(WAVE_ARB, true);
    EXPECT_EQ(std::tuple(float(device.m_fArb[0]), change.bForgetFile), std::tuple(1.25f, false));

    // Sine at 30 MHz: leaving it lowers to 25 MHz, as if entered; Sine again keeps it.
    control.SelectWaveType(WAVE_SINE);
    control.SetFrequency(3e7);
    BindEmpty(device);
    change = control.SelectWaveType(WAVE_RAMP);
    EXPECT_EQ(std::tuple(change.bFrequencyLowered, control.GetFrequency(), control.LastFrequency(),
                         device.PendingCommands()),
              std::tuple(true, 2.5e7, 2.5e7, Queue{D, F}));
    BindEmpty(device);
    change = control.SelectWaveType(WAVE_RAMP); // again: still downloads
    EXPECT_EQ(std::tuple(change.nPrevious, change.bFrequencyLowered, device.PendingCommands()),
              std::tuple(int(WAVE_RAMP), false, Queue{D}));
}

TEST(DeviceControl, ResetGivesTheNewWindowsStateAndProgramsTheUnit) {
    CDDSDevice device;
    Prepare(device, WAVE_SINE, false);
    C control(device);
    control.SelectWaveType(WAVE_ARB);
    control.SetFrequency(5e3);
    control.SetSingleWave(1);
    control.SetMeasureMode(0);
    control.SetDIOMode(1);
    control.SetDigitalOut(0xABC);
    device.m_bSweepOn = 1;
    device.m_fArb[3] = 1.5f;
    BindEmpty(device);
    const auto change = control.Reset();
    const CDDSDevice fresh;
    EXPECT_EQ(std::tuple(change.nPrevious, change.bForgetFile), std::tuple(int(WAVE_ARB), true));
    const auto state = [](const CDDSDevice& d) {
        return std::tuple(d.m_nWaveType.Get(), d.m_dFrequency.Get(), d.m_bSingleWave.Get(),
                          d.m_nMeasureMode.Get(), d.m_nDIOMode.Get(), d.m_wDigitalOut.Get(),
                          d.m_bSweepOn.Get());
    };
    EXPECT_EQ(state(device), state(fresh));
    EXPECT_EQ(
        std::tuple(control.LastFrequency(), float(device.m_fArb[3]), device.PendingCommands()),
        std::tuple(1e3, 1.5f, Queue{F, T, S, IO, D}));
}
