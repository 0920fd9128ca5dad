#include "media/WaveResampler.h"

#include <samplerate.h>

#include <algorithm>
#include <cmath>

namespace {
/// libsamplerate's limits on one conversion's ratio.
constexpr double kMaxRatio = 256.0;
/// Input samples the best converter looks at on each side of an output sample, at ratio 1 and
/// with a margin; a ratio below 1 widens the filter by its inverse.
constexpr double kFilterReach = 512.0;
} // namespace

int CWaveResampler::DefaultPoints(std::size_t samples) {
    return static_cast<int>(std::clamp<std::size_t>(samples, 1, kMaxPoints));
}

bool CWaveResampler::Stage(const std::vector<float>& period, std::size_t points,
                           std::vector<float>& out, std::string& error) {
    const std::size_t length = period.size();
    const double ratio = double(points) / double(length);
    // Whole copies of the period on both sides: the converter sees a periodic signal, and
    // output sample copies x points falls exactly on the first sample of the middle copy.
    const auto copies =
        static_cast<std::size_t>(std::ceil(kFilterReach / std::min(ratio, 1.0) / double(length)));
    std::vector<float> input;
    input.reserve((2 * copies + 1) * length);
    for (std::size_t c = 0; c < 2 * copies + 1; ++c)
        input.insert(input.end(), period.begin(), period.end());
    std::vector<float> output((2 * copies + 1) * points + 16);

    SRC_DATA data{};
    data.data_in = input.data();
    data.data_out = output.data();
    data.input_frames = static_cast<long>(input.size());
    data.output_frames = static_cast<long>(output.size());
    data.end_of_input = 1;
    data.src_ratio = ratio;
    const int result = src_simple(&data, SRC_SINC_BEST_QUALITY, 1);
    if (result != 0) {
        error = std::string("Cannot resample the wave: ") + src_strerror(result);
        return false;
    }
    if (static_cast<std::size_t>(data.output_frames_gen) < (copies + 1) * points) {
        error = "Cannot resample the wave: the converter returned too few samples.";
        return false;
    }
    const auto first = output.begin() + static_cast<std::ptrdiff_t>(copies * points);
    out.assign(first, first + static_cast<std::ptrdiff_t>(points));
    return true;
}

bool CWaveResampler::Resample(const std::vector<double>& values, int points,
                              std::vector<double>& table, std::string& error) {
    const auto target = static_cast<std::size_t>(std::clamp(points, 1, kMaxPoints));
    if (values.size() <= 1 || values.size() == target) {
        // Nothing to convert: one value is a level, equal sizes are the table itself.
        table = values.size() == target
                    ? values
                    : std::vector<double>(target, values.empty() ? 0.0 : values[0]);
        return true;
    }
    // The converter works in float: it gets the values as shares of their peak, so that a file
    // of huge numbers neither overflows to infinity nor comes back as NaN.
    double peak = 0.0;
    for (double value : values)
        peak = std::max(peak, std::fabs(value));
    if (peak == 0.0)
        peak = 1.0;
    std::vector<float> current(values.size());
    std::transform(values.begin(), values.end(), current.begin(),
                   [peak](double value) { return static_cast<float>(value / peak); });
    // Ratios beyond the converter's range go in steps; each step keeps whole periods.
    while (current.size() != target) {
        const double ratio = double(target) / double(current.size());
        std::size_t next = target;
        if (ratio > kMaxRatio)
            next = current.size() * static_cast<std::size_t>(kMaxRatio);
        else if (ratio < 1.0 / kMaxRatio)
            next = static_cast<std::size_t>(std::ceil(double(current.size()) / kMaxRatio));
        std::vector<float> converted;
        if (!Stage(current, next, converted, error))
            return false;
        current.swap(converted);
    }
    table.resize(current.size());
    std::transform(current.begin(), current.end(), table.begin(),
                   [peak](float share) { return double(share) * peak; });
    return true;
}

double CWaveResampler::Factor(const std::vector<double>& table, int scaling, double amplitude) {
    if (scaling != SCALE_FIT_AMPLITUDE)
        return 1.0;
    double peak = 0.0;
    for (double value : table)
        peak = std::max(peak, std::fabs(value));
    return peak > 0.0 ? amplitude / peak : 1.0;
}

std::vector<float> CWaveResampler::Scale(const std::vector<double>& table, int scaling,
                                         double amplitude, bool clip) {
    const double factor = Factor(table, scaling, amplitude);
    // Unclipped, a value still has to fit a float.
    const double limit = clip ? kOutputLimit : 1e30;
    std::vector<float> volts(table.size());
    for (std::size_t i = 0; i < table.size(); ++i)
        volts[i] = static_cast<float>(std::clamp(table[i] * factor, -limit, limit));
    return volts;
}

int CWaveResampler::CountClipped(const std::vector<double>& table, int scaling, double amplitude) {
    // Counted on the values as stored, so the count and the red part of a preview agree.
    const std::vector<float> volts = Scale(table, scaling, amplitude, false);
    return static_cast<int>(std::count_if(volts.begin(), volts.end(), [](float value) {
        return std::fabs(double(value)) > kOutputLimit;
    }));
}
