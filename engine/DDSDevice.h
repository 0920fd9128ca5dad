#pragma once
#include "Relaxed.h"
#include "WakeFlag.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

/// The wave a device plays (value of m_nWaveType).
enum WaveType {
    WAVE_SINE = 0,
    WAVE_RAMP = 1,
    WAVE_SQUARE = 2,
    WAVE_EXPONENT = 3,
    WAVE_ARB = 4,
    WAVE_TRAPEZIA = 5,
    WAVE_AMFM = 6,
    WAVE_GAUSS_NOISE = 7,
    WAVE_WHITE_NOISE = 8,
};

/// Hardware work queued by the user-interface thread for the device worker.
enum DeviceCommand {
    CMD_DOWNLOAD = 1,
    CMD_SET_FREQUENCY = 2,
    CMD_SET_DIO_MODE = 3,
    CMD_SET_TRIGGER = 4,
    CMD_SET_SINGLE_WAVE = 5,
    CMD_SET_POWER_ON_OUTPUT = 6,
};

/// Size of the generator's waveform buffer and of the arbitrary table.
constexpr int kMaxPoints = 4096;
/// The generator's master clock in samples per second.
constexpr double kMasterClock = 200000000.0;

/// Everything the program knows and wants about one signal generator. Fields read by both the
/// user-interface thread and the device worker are CRelaxed; the command queue has its own lock.
class CDDSDevice {
public:
    CDDSDevice();
    virtual ~CDDSDevice();

    CDDSDevice(const CDDSDevice&) = delete;
    CDDSDevice& operator=(const CDDSDevice&) = delete;

    std::deque<float> m_freqHistory; ///< Last meter readings, oldest first; worker only.
    CRelaxed<int> m_bDemo{1};
    CRelaxed<int> m_nDevice{-1};
    CRelaxed<int> m_bPowerOnOutput{1};
    CRelaxed<int> m_bCounterOn{1};
    CRelaxed<int> m_nMeasureMode{1}; ///< 1 frequency meter, 0 event counter.
    CRelaxed<int> m_bSingleWave{0};
    CRelaxed<int> m_bExtTrig{0};
    CRelaxed<int> m_bAtten20dB{0};
    CRelaxed<double> m_dOffset{0.0};
    CRelaxed<double> m_dFrequency{1000.0};
    CRelaxed<float> m_fAmplitude{2.0f};
    CRelaxed<int> m_nTrigEdge{0};
    CRelaxed<int> m_nPoints{1000};
    CRelaxed<std::int16_t> m_nPeriodNumber{3};
    CRelaxed<int> m_bOutputOn{1};
    CRelaxed<int> m_nCount{0};
    CRelaxed<double> m_dMeasuredFreq{0.0};
    CRelaxed<int> m_bResetCounter{0};
    CRelaxed<std::uint16_t> m_wDigitalOut{0};
    CRelaxed<std::uint16_t> m_wDigitalIn{0};
    CRelaxed<int> m_nDIOMode{0};
    CRelaxed<int> m_nSweepSpeed{100};
    CRelaxed<int> m_bSweepOn{0};
    CRelaxed<int> m_nSweepPoints{100};
    CRelaxed<int> m_nPeriods{1};
    CRelaxed<float> m_fPhase{0.0f};
    CRelaxed<int> m_bLost{0};
    CRelaxed<double> m_dSweepStart{1000.0};
    CRelaxed<double> m_dSweepEnd{100000.0};
    CRelaxed<int> m_nWaveType{WAVE_SINE};
    CRelaxed<float> m_fSquareDuty{0.5f};
    CRelaxed<float> m_fRampDuty{0.5f};
    CRelaxed<int> m_bExpFall{1};
    CRelaxed<float> m_fExpTau{0.001f};
    CRelaxed<float> m_fTrapRise{0.2f};
    CRelaxed<float> m_fTrapHigh{0.4f};
    CRelaxed<float> m_fTrapFall{0.2f};
    CRelaxed<float> m_fAmDepth{0.5f};
    CRelaxed<int> m_nModCarrier{10000};
    CRelaxed<int> m_nFmDeviation{3000};
    CRelaxed<int> m_bFM{0};
    CRelaxed<float> m_fSampleRate{1000.0f};
    CRelaxed<int> m_nPointsPerPeriod{1000};
    std::array<CRelaxed<float>, kMaxPoints> m_fArb{}; ///< Arbitrary wave in volts.
    CRelaxed<int> m_nArbPoints{250};
    CRelaxed<float> m_fViewPos{0.0f};
    CRelaxed<int> m_nViewFirst{0};
    CRelaxed<int> m_nViewLast{999};
    CRelaxed<int> m_nZoom{0};
    CRelaxed<float> m_fPixelsPerPoint{0.0f};
    CRelaxed<double> m_dSweepStep{1.0};
    CRelaxed<double> m_dSweepFreq{0.0};
    /// Readings of the meter or counter taken so far, raised by the worker after each one is
    /// stored (release), so that whoever sees the count (acquire) sees that reading too: a
    /// remote measurement waits for readings taken after its change reached the unit.
    std::atomic<unsigned> m_nReadings{0};
    /// Meter readings that must agree before one is shown (m_freqHistory's length).
    static constexpr unsigned kMeterWindow = 5;

    // Command queue: the only lock of the record, held for one queue operation.
    void QueueCommand(int code);
    int TakeCommand();        ///< Oldest entry, or 0 when empty; marks it running.
    void CommandCarriedOut(); ///< The command last taken has been sent to the unit.
    void RequestDownload();
    std::vector<int> PendingCommands() const; ///< Snapshot, oldest first (tests, status).
    /// Whether the next step would carry out a queued command: bound, present, queue not empty.
    bool CommandWaiting() const;
    /// The worker's pause: at most `pause`, cut short by a command queued since the last pause
    /// (also one queued while the worker was stepping) or by WakeWorker.
    void PauseWorker(std::chrono::microseconds pause);
    void WakeWorker(); ///< Ends the current or the next PauseWorker at once (a stop request).
    /// Every queued command has reached the unit: the queue is empty and the worker is not
    /// carrying one out.
    bool CommandsDone() const;
    /// No frequency command waits or runs: m_nPoints and m_nPeriods are the unit's plan for
    /// the frequency last set.
    bool PlanSettled() const;

    /// While one lives, the worker takes no command from the queue, so that changes made
    /// together on the user-interface thread are carried out as a whole: a file's frequency
    /// command then always finds the switch to Arb that follows it.
    class CCommandHold {
    public:
        explicit CCommandHold(CDDSDevice& device);
        ~CCommandHold();
        CCommandHold(const CCommandHold&) = delete;
        CCommandHold& operator=(const CCommandHold&) = delete;

    private:
        CDDSDevice& m_device;
    };

    // Setters; each stores its argument and queues what the unit must receive.
    void SetMeasureMode(int mode);
    void SetCounterOn(int on);
    void SetSingleWave(int on);
    void SetExtTrig(int on);
    void SetTrigEdge(int edge);
    void SetAtten20dB(int on);
    void SetOffset(double volts);
    void SetFrequency(double hz);
    void SetAmplitude(float volts);
    void SetPeriodNumber(int n);
    void SetOutputOn(int on);
    void SetDIOMode(int mode);
    void SetWaveType(int type);
    int SetPowerOnOutput(int on); ///< 0 (refused) for a demo record, else 1.

    /// What binding needs from its caller, so the engine knows nothing of windows.
    struct BindContext {
        int foundDevices = 0;         ///< Units counted at start-up.
        std::vector<int> usedIndices; ///< m_nDevice of every open record.
        /// Asked when several units are free; returns the chosen index or -1 (cancel).
        std::function<int(const std::vector<int>& freeIndices)> chooseDevice;
        /// Shows message 2012 (no free unit: demo mode).
        std::function<void()> showDemoMessage;
    };
    void BindHardware(const BindContext& context);

    /// One normalised sample (1.0 = 3.5 V) at buffer position t in [0, 1).
    double SampleAt(double t, bool forDisplay) const;
    /// Sample-clock divider of the 200 MHz master clock for a frequency.
    static int ClockDivider(double frequency);
    /// Captures one period of the current wave into m_fArb (entering Arb without a file).
    void CaptureToArb();

    void ApplyFrequency();   ///< Programs m_dFrequency at once and requests a download.
    void DownloadWaveform(); ///< Synthesises and loads the buffer.
    /// The buffer DownloadWaveform sends, built into codes (kMaxPoints entries); returns the
    /// sample count to send.
    int BuildWaveform(unsigned short* codes) const;
    /// One worker step; skipped (false) while another step runs.
    bool DeviceStep();
    void SweepTick(); ///< One sweep step; skipped while another sweep step runs.

private:
    void ProgramFrequency();     ///< DDSSetFrequency with m_dFrequency; keeps the reported plan.
    void FrequencyCommand();     ///< The worker's CMD_SET_FREQUENCY.
    bool DownloadQueued() const; ///< A CMD_DOWNLOAD waits anywhere in the queue.
    void Measure();              ///< Meter or counter reading of one step.
    void CarryOut(int command);

    mutable std::mutex m_commandLock;
    std::deque<int> m_commands;
    CWakeFlag m_commandQueued;
    /// A command taken from the queue is still being carried out; under m_commandLock, so
    /// whoever sees it cleared also sees what the command sent.
    int m_bCommandRunning = 0;
    int m_nRunningCommand = 0; ///< Its code; under m_commandLock.
    int m_nCommandHolds = 0;   ///< Live CCommandHolds; under m_commandLock.
};
