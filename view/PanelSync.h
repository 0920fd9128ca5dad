#pragma once
#include <functional>

class CDDSDevice;
class CDeviceControl;
class CPanelControls;

/// Brings the control panel up to its device record when someone other than the panel (a
/// remote client) changed it: fields, wave switch, function switches and their LEDs, measure
/// mode and trigger edge. A re-show is not an edit: nothing reaches the device, and a field the
/// user is typing into keeps what the user typed. While a sweep runs the Frequency field shows
/// the frequency last entered, where the sweep returns to, not the frequency swept.
class CPanelSync {
public:
    /// Shows another wave type than `previous`: the switches, slider, layout, frequency range.
    using WaveFollower = std::function<void(int previous, int type)>;

    CPanelSync(const CPanelControls& panel, WaveFollower followWave);

    /// One view tick.
    void Follow(const CDeviceControl& control);

    /// The wave switch of a wave type (0 for none).
    static int WaveSwitchId(int waveType);

private:
    void FollowFields(const CDeviceControl& control);
    void FollowSwitches(const CDDSDevice& device);

    const CPanelControls& m_panel;
    WaveFollower m_followWave;
    /// Frequency, amplitude, offset and phase of the record as the last tick left them: only a
    /// value that moved since is compared with its field (a knob still turning moves none).
    double m_dSeen[4];
};
