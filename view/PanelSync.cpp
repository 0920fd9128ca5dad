#include "view/PanelSync.h"

#include "control/DeviceControl.h"
#include "res/Resource.h"
#include "view/PanelControls.h"
#include "widgets/LED.h"
#include "widgets/LeftRight.h"
#include "widgets/OnOff.h"
#include "widgets/StepEdit.h"

#include <QSignalBlocker>

#include <limits>

namespace {

constexpr int kWaveSwitches[] = {
    IDC_WAVE_SINE,     IDC_WAVE_RAMP, IDC_WAVE_SQUARE,      IDC_WAVE_EXPONENT,    IDC_WAVE_ARB,
    IDC_WAVE_TRAPEZIA, IDC_WAVE_AMFM, IDC_WAVE_GAUSS_NOISE, IDC_WAVE_WHITE_NOISE,
}; // in wave type order

constexpr int kFields[4] = {IDC_FREQUENCY, IDC_AMPLITUDE, IDC_OFFSET, IDC_PHASE};

} // namespace

CPanelSync::CPanelSync(const CPanelControls& panel, WaveFollower followWave)
    : m_panel(panel), m_followWave(std::move(followWave)) {
    // Nothing seen yet: the first tick compares every field.
    for (double& seen : m_dSeen)
        seen = std::numeric_limits<double>::quiet_NaN();
}

int CPanelSync::WaveSwitchId(int waveType) {
    return waveType >= WAVE_SINE && waveType <= WAVE_WHITE_NOISE ? kWaveSwitches[waveType] : 0;
}

void CPanelSync::Follow(const CDeviceControl& control) {
    const CDDSDevice& device = control.Device();
    // The wave type first: it sets the frequency field's range.
    const int type = device.m_nWaveType;
    if (WaveSwitchId(type) && !m_panel.Get<COnOff>(WaveSwitchId(type))->GetValue()) {
        int shown = type;
        for (int t = WAVE_SINE; t <= WAVE_WHITE_NOISE; ++t)
            if (m_panel.Get<COnOff>(WaveSwitchId(t))->GetValue())
                shown = t;
        m_followWave(shown, type);
    }
    FollowFields(control);
    FollowSwitches(device);
}

void CPanelSync::FollowFields(const CDeviceControl& control) {
    const CDDSDevice& device = control.Device();
    // A sweep plays its own frequencies; the field keeps the one entered, which a remote
    // client may still change while the sweep runs.
    const double frequency =
        control.IsSweeping() ? control.LastFrequency() : double(device.m_dFrequency);
    const double values[4] = {frequency, device.m_fAmplitude, device.m_dOffset, device.m_fPhase};
    for (int i = 0; i < 4; ++i) {
        if (values[i] == m_dSeen[i])
            continue;
        auto* field = m_panel.Get<CStepEdit>(kFields[i]);
        // The user is typing here: the record follows each key, the field is the user's (also
        // while another program has the keyboard for a moment).
        if (field->window()->focusWidget() == field && field->isModified()) {
            // A change the field does not show waits until the field is no longer the user's.
            if (static_cast<float>(values[i]) != field->GetValue())
                m_dSeen[i] = std::numeric_limits<double>::quiet_NaN();
            continue;
        }
        m_dSeen[i] = values[i];
        const auto value = static_cast<float>(values[i]);
        if (value == field->GetValue())
            continue; // the panel itself made the change
        field->SetValue(value);
        // Showing the value is not typing it: the change handlers stay out.
        const QSignalBlocker blocker(field);
        field->ShowValue();
    }
}

void CPanelSync::FollowSwitches(const CDDSDevice& device) {
    const struct {
        int nSwitch;
        int nLed;
        int bOn;
    } switches[] = {
        {IDC_SW_COUNTER, IDC_LED_COUNTER, device.m_bCounterOn},
        {IDC_SW_SINGLE_WAVE, IDC_LED_SINGLE_WAVE, device.m_bSingleWave},
        {IDC_SW_OUTPUT, IDC_LED_OUTPUT, device.m_bOutputOn},
        {IDC_SW_EXT_TRIG, IDC_LED_EXT_TRIG, device.m_bExtTrig},
        {IDC_SW_ATTEN, IDC_LED_ATTEN, device.m_bAtten20dB},
    };
    for (const auto& entry : switches) {
        const bool on = entry.bOn != 0;
        // SetValue repaints: only what differs.
        if (auto* button = m_panel.Get<COnOff>(entry.nSwitch); button->GetValue() != on)
            button->SetValue(on);
        if (auto* led = m_panel.Get<CLED>(entry.nLed); led->GetValue() != on)
            led->SetValue(on);
    }
    // Lever right is the event counter (mode 0).
    const std::pair<int, bool> levers[] = {{IDC_MEASURE_MODE, device.m_nMeasureMode == 0},
                                           {IDC_TRIG_EDGE, device.m_nTrigEdge != 0}};
    for (const auto& [id, right] : levers)
        if (auto* lever = m_panel.Get<CLeftRight>(id); lever->GetValue() != right)
            lever->SetValue(right);
}
