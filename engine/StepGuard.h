#pragma once

/// The program-wide guard that keeps the steps of all devices apart, and the step counter
/// that paces the frequency meter of every device.
class CStepGuard {
public:
    /// Takes the guard and counts the step; false (nothing counted) while another step runs.
    static bool TryEnter() noexcept;
    static void Leave() noexcept;
    /// Steps counted since the last frequency measurement.
    static int Count() noexcept;
    /// Starts the count over after a frequency measurement.
    static void ResetCount() noexcept;
};
