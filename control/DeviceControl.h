#pragma once
#include "control/DeviceSetup.h"
#include "engine/DDSDevice.h"
#include "engine/WaveParameterRules.h"
#include <chrono>

#include <algorithm>
#include <array>
#include <cstdint>

/// What one device may be set to and what must follow. Every way in (the control panel, the
/// wave parameter and sweep dialogs, a remote command) sets the device through here: each
/// setter clamps, stores through the record, queues what the unit must receive and returns
/// what was stored, so a caller can tell a clamp. Queries return the stored values.
class CDeviceControl {
public:
    static constexpr double kMinFrequency = 1.0;
    static constexpr double kMaxSineFrequency = 75000000.0;
    /// Highest frequency of every wave type but Sine.
    static constexpr double kMaxOtherFrequency = 25000000.0;
    static constexpr double kDefaultFrequency = 1000.0;
    static constexpr double kMaxAmplitude = 3.5;
    static constexpr double kMaxOffset = 7.0; ///< Either way from 0 V.
    /// The unit's 12 digital output lines.
    static constexpr unsigned kDigitalOutLines = 0x0FFF;

    explicit CDeviceControl(CDDSDevice& device);

    CDDSDevice& Device() const { return m_device; }
    /// Never the same for two controls made in one run, so that what others keep about a device
    /// cannot pass to a later one made at the same address.
    std::uint64_t Serial() const { return m_nSerial; }

    static bool IsWaveType(int type) { return type >= WAVE_SINE && type <= WAVE_WHITE_NOISE; }
    static constexpr double MaxFrequency(int waveType) {
        return waveType == WAVE_SINE ? kMaxSineFrequency : kMaxOtherFrequency;
    }
    // The clamps alone, in double precision: a value differs from its clamp exactly when a
    // setter would lower or raise it. Inline, so that code using only them (the CSV reader)
    // does not pull in the setters.
    static constexpr double ClampFrequency(double hz, int waveType) {
        return std::clamp(hz, kMinFrequency, MaxFrequency(waveType));
    }
    static constexpr double ClampAmplitude(double volts) {
        return std::clamp(volts, 0.0, kMaxAmplitude);
    }
    static constexpr double ClampOffset(double volts) {
        return std::clamp(volts, -kMaxOffset, kMaxOffset);
    }
    static constexpr double ClampPhase(double fraction) { return std::clamp(fraction, 0.0, 1.0); }

    // --- Frequency: 1 Hz up to the wave type's maximum ---------------------------------------
    /// Typed or sent: programs the unit (the record downloads after it) and becomes the last
    /// frequency entered.
    double SetFrequency(double hz);
    /// Shown while a knob still turns: becomes the last frequency entered, the unit keeps
    /// playing what it plays.
    double RememberFrequency(double hz);
    /// A knob let go: programs the unit, downloads unless Arb, becomes the last entered.
    double TurnFrequency(double hz);
    /// Where a stopped sweep returns the output.
    double LastFrequency() const { return m_dLastFrequency; }
    double ReturnToLastFrequency() { return SetFrequency(m_dLastFrequency); }
    double GetFrequency() const { return m_device.m_dFrequency; }
    /// A sweep that steps the frequency without the record's sweep flag (a logarithmic remote
    /// sweep) marks itself here while it runs.
    void MarkSweep(int on) { m_bMarkedSweep = Flag(on); }
    /// A sweep owns the output frequency: the dialog's or a remote one. The frequency entered
    /// stays where the sweep returns to.
    bool IsSweeping() const { return m_device.m_bSweepOn != 0 || m_bMarkedSweep != 0; }
    /// What the unit plays for the request under the plan it reported last: the plan's periods
    /// in its points, clocked by the master clock over the divider that plan implies.
    double PlayedFrequency() const;
    /// How far the played frequency lies from the request, in parts per million.
    double DeviationPpm() const;
    /// Table points the unit walks in one period under the plan it reported last (1 to the
    /// table's size): an Arb table of this many points plays as one period.
    int PlanPoints() const;
    /// Sets hz when the record holds another frequency and waits, at most `patience`, until
    /// the unit has reported its plan for it; then PlanPoints(). 0 where no unit answers or
    /// the unit did not report in time.
    int PlanPointsFor(double hz, std::chrono::milliseconds patience);

    // --- Amplitude 0..3.5 V, offset -7..7 V, phase 0..1 of a period ---------------------------
    float SetAmplitude(double volts);  ///< Typed or sent; downloads.
    float TurnAmplitude(double volts); ///< A knob let go; downloads unless Arb.
    float GetAmplitude() const { return m_device.m_fAmplitude; }
    double SetOffset(double volts);  ///< Typed or sent; downloads.
    double StepOffset(double volts); ///< A spin arrow; the record's own download only.
    double GetOffset() const { return m_device.m_dOffset; }
    float SetPhase(double fraction); ///< Downloads.
    float GetPhase() const { return m_device.m_fPhase; }
    /// High and low levels of the wave (high >= low), as amplitude and offset together under
    /// their clamps, with one download.
    struct Levels {
        float fAmplitude = 0.0f;
        double dOffset = 0.0;
    };
    Levels SetLevels(double high, double low);

    // --- Wave type ------------------------------------------------------------------------
    /// What a caller must follow up on its side after a wave type was selected.
    struct WaveChange {
        int nPrevious = WAVE_SINE;      ///< Type selected before.
        bool bFrequencyLowered = false; ///< The frequency came down to the new type's maximum.
        bool bPhaseReset = false;       ///< Entering Arb set the phase to 0.
        /// The table no longer comes from a file: the file name shown and saved to is gone.
        bool bForgetFile = false;
    };
    /// Selects a wave type (an unknown type changes nothing). Entering Arb captures the wave on
    /// show into the table unless keepArbTable (points just read from a file). Selecting the
    /// current type again still downloads.
    WaveChange SelectWaveType(int type, bool keepArbTable = false);
    int GetWaveType() const { return m_device.m_nWaveType; }

    // --- Switches: each stores 0 or 1 ------------------------------------------------------
    int SetOutputOn(int on); ///< Downloads: an output switched off plays mid-scale.
    int SetCounterOn(int on);
    int SetMeasureMode(int mode); ///< 1 frequency meter, 0 event counter.
    int SetSingleWave(int on);
    int SetExtTrig(int on);
    int SetTrigEdge(int edge);
    int SetAtten20dB(int on);
    /// A demo device refuses it (the stored value stays); downloads either way.
    int SetPowerOnOutput(int on);
    int GetOutputOn() const { return m_device.m_bOutputOn; }
    int GetCounterOn() const { return m_device.m_bCounterOn; }
    int GetMeasureMode() const { return m_device.m_nMeasureMode; }
    int GetSingleWave() const { return m_device.m_bSingleWave; }
    int GetExtTrig() const { return m_device.m_bExtTrig; }
    int GetTrigEdge() const { return m_device.m_nTrigEdge; }
    int GetAtten20dB() const { return m_device.m_bAtten20dB; }

    // --- Digital lines and display ------------------------------------------------------------
    int SetDIOMode(int mode); ///< 0 pattern generator, 1 programmable output.
    unsigned SetDigitalOut(unsigned word);
    int SetPeriodNumber(long long n);
    int GetDIOMode() const { return m_device.m_nDIOMode; }
    unsigned GetDigitalOut() const { return m_device.m_wDigitalOut; }
    int GetPeriodNumber() const { return m_device.m_nPeriodNumber; }

    // --- Wave parameters: each downloads ---------------------------------------------------
    /// Square: the high share of the period; Ramp: the rising share. 0..1; other types have
    /// no duty (nothing stored, 0 returned).
    float SetDuty(int waveType, double duty);
    float GetDuty(int waveType) const;
    int SetExpFall(int fall); ///< 1 decaying, 0 rising.
    float SetExpTau(double seconds);
    int GetExpFall() const { return m_device.m_bExpFall; }
    float GetExpTau() const { return m_device.m_fExpTau; }
    /// The three trapezium parts in the order of TrapeziaPart, as stored.
    std::array<float, 3> TrapeziaParts() const;
    /// One part, lowered so that it fits into the period beside the other two as given in
    /// parts (a caller that shows them one by one counts those not shown yet as 0).
    float SetTrapezia(CWaveParameterRules::TrapeziaPart part, double value,
                      const std::array<float, 3>& parts);
    float SetTrapezia(CWaveParameterRules::TrapeziaPart part, double value) {
        return SetTrapezia(part, value, TrapeziaParts());
    }
    /// AM/FM settings, applied together with one download.
    struct Modulation {
        int bFM = 0;
        int nCarrier = 10000;  ///< Hz
        int nDeviation = 3000; ///< Hz, FM
        float fDepth = 0.5f;   ///< AM
    };
    Modulation GetModulation() const;
    Modulation SetModulation(const Modulation& modulation);

    /// The state of a newly opened device window (1000 Hz sine, the panel's defaults), sent to
    /// the unit. What the caller must follow up is that of the wave selection.
    WaveChange Reset();

    // --- Setups -------------------------------------------------------------------------------
    /// The record's part of a setup; the window's fields are left as they are.
    void CaptureSetup(CDeviceSetup& setup) const;
    /// Sets every record field a setup holds under the rules above (an unknown wave type is
    /// Sine). The unit is programmed as a new one is, with one download after the new plan.
    /// The caller follows up the wave selection; the file the table came from is gone.
    WaveChange ApplySetup(const CDeviceSetup& setup);

private:
    /// Programs the unit as a newly opened one is (a demo record only downloads).
    void ProgramAsNew();

    static int Flag(int value) { return value != 0 ? 1 : 0; }
    static float ClampFraction(double value) {
        return static_cast<float>(std::clamp(value, 0.0, 1.0));
    }

    CDDSDevice& m_device;
    const std::uint64_t m_nSerial;
    /// Relaxed like the record's fields, for a caller on another thread than the panel's.
    CRelaxed<double> m_dLastFrequency{kDefaultFrequency};
    CRelaxed<int> m_bMarkedSweep{0};
};
