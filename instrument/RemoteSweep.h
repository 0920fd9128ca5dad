#pragma once
#include <chrono>

class CDeviceControl;

/// One device's remote sweep. Linear sweeps are the Sweep dialog's (the record's start, end,
/// step and SweepTick); logarithmic ones step from the record's start to its end by a constant
/// ratio, pointsPerDecade steps a decade. Both start over after the end, wait the record's
/// speed between steps and return to the last frequency entered when stopped.
class CRemoteSweep {
public:
    using Clock = std::chrono::steady_clock;
    enum Spacing { LINEAR = 0, LOGARITHMIC = 1 };
    static constexpr int kMinPointsPerDecade = 1;
    static constexpr int kMaxPointsPerDecade = 1000;
    static constexpr int kDefaultPointsPerDecade = 10;

    static int ClampPointsPerDecade(double points);

    // Settings; a running sweep takes them at its next start.
    void SetSpacing(Spacing spacing) { m_eSpacing = spacing; }
    Spacing GetSpacing() const { return m_eSpacing; }
    int SetPointsPerDecade(double points) {
        return m_nPointsPerDecade = ClampPointsPerDecade(points);
    }
    int GetPointsPerDecade() const { return m_nPointsPerDecade; }

    /// Starts (or restarts) on control's device; the first step is due at once.
    void Start(CDeviceControl& control, Clock::time_point now);
    /// Returns the output to the last frequency entered.
    void Stop();
    /// Forgets the sweep without touching the device (it was reset or has gone).
    void Drop() { m_pControl = nullptr; }
    /// Takes the step that is due at now, if any.
    void Tick(Clock::time_point now);
    bool Running() const;
    CDeviceControl* Control() const { return m_pControl; }

private:
    void Step();

    CDeviceControl* m_pControl = nullptr;
    Spacing m_eSpacing = LINEAR;
    int m_nPointsPerDecade = kDefaultPointsPerDecade;
    Spacing m_eRunning = LINEAR;
    int m_nRunningPoints = kDefaultPointsPerDecade;
    int m_nLogStep = 0;
    Clock::time_point m_due;
};
