#pragma once
#include <string>
#include <vector>

/// Turns samples taken as one period of a wave into a table of a chosen number of points, with
/// libsamplerate's best converter, and applies the scaling choice of an import.
class CWaveResampler {
public:
    static constexpr int kMaxPoints = 4096;     ///< Size of the device's table.
    static constexpr double kOutputLimit = 3.5; ///< Volts either way the output can reach.

    enum Scaling {
        SCALE_KEEP_VOLTS = 0,   ///< The values are volts as they are.
        SCALE_FIT_AMPLITUDE = 1 ///< Scaled so that the largest magnitude is the amplitude.
    };

    /// min(samples, kMaxPoints), at least 1.
    static int DefaultPoints(std::size_t samples);
    /// One period of values resampled to points (1 to kMaxPoints) as a periodic signal: the
    /// end joins the beginning, so a table of it plays without a seam. False with the
    /// converter's message only if libsamplerate fails.
    static bool Resample(const std::vector<double>& values, int points, std::vector<double>& table,
                         std::string& error);
    /// The table in volts as it will play: scaled, then (with clip) held within ±kOutputLimit.
    static std::vector<float> Scale(const std::vector<double>& table, int scaling, double amplitude,
                                    bool clip = true);
    /// How many values Scale holds at the output's limits.
    static int CountClipped(const std::vector<double>& table, int scaling, double amplitude);

private:
    /// One pass whose ratio libsamplerate accepts (1/256 to 256).
    static bool Stage(const std::vector<float>& period, std::size_t points, std::vector<float>& out,
                      std::string& error);
    static double Factor(const std::vector<double>& table, int scaling, double amplitude);
};
