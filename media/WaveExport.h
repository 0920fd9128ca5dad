#pragma once
#include <cstdint>
#include <string>
#include <vector>

class CDDSDevice;

/// The wave a device plays, written for other programs: a WAV file (16-bit, full scale ±3.5 V,
/// the output's limits) or a CSV file of time and volts for spreadsheets.
class CWaveExport {
public:
    enum Format { FORMAT_WAV = 0, FORMAT_CSV = 1 };

    static constexpr double kMinSampleRate = 1.0;
    static constexpr double kMaxSampleRate = 200000000.0; ///< The generator's own clock.
    static constexpr int kMaxPeriods = 1000000;
    static constexpr std::int64_t kMaxSamples = std::int64_t(1) << 22;

    /// Samples per second that write one period as the device holds it: for Arb one sample
    /// per table point, else the points per period of the current plan.
    static double DefaultSampleRate(const CDDSDevice& device);
    /// How many samples periods whole periods at sampleRate make; more than kMaxSamples are
    /// refused.
    static double SampleCount(const CDDSDevice& device, int periods, double sampleRate);
    /// periods whole periods of the current wave at sampleRate, in volts: Arb from its table,
    /// every other wave as the display draws it. Empty when that would pass kMaxSamples.
    static std::vector<float> Samples(const CDDSDevice& device, int periods, double sampleRate);
    /// The file's bytes; a WAV rate is whole samples per second.
    static std::string WavBytes(const std::vector<float>& volts, double sampleRate);
    static std::string CsvText(const std::vector<float>& volts, double sampleRate);
    /// Writes the device's wave to path (replaced only once complete); false with the message.
    static bool Write(const CDDSDevice& device, int format, int periods, double sampleRate,
                      const std::string& path, std::string& error);
};
